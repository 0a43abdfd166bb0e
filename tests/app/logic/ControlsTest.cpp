// The button rule, the column list's bulk selection, the workbook file
// button and the hover rule.
#include "WindowFixture.h"

#include "app/WindowPointer.h"

using Control = Form1Layout::Control;
using Strings = std::vector<std::string>;

namespace {

class ControlsTest : public WindowFixture {
protected:
    // The user's press: the value toggles, then Click is raised.
    void press(Control button, void (Form1::*click)()) {
        face_.setValue(button, face_.value(button) == 1 ? 0 : 1);
        (form_.get()->*click)();
    }

    void list(std::vector<bool> selected) {
        face_.columns.clear();
        for (std::size_t i = 0; i < selected.size(); ++i)
            face_.columns.emplace_back("Column " + std::to_string(i), selected[i]);
    }
};

TEST_F(ControlsTest, EachPressRunsItsActionOnceWithTheButtonUp) {
    Form1& form = started();
    face_.dialogAnswers = {"/data/a.xlsx"};
    face_.texts[Control::txtExcelFile] = "/old/book.xls";
    press(Control::Check4, &Form1::Check4_Click);
    EXPECT_EQ(face_.check4AtDialog, std::vector<int>{0});
    EXPECT_EQ(face_.value(Control::Check4), 0);
    EXPECT_EQ(face_.dialogPaths, Strings{"/old/book.xls"});
    // A Click while the value is 0 (the nested one of a reset) does nothing.
    form.Check4_Click();
    EXPECT_EQ(face_.dialogPaths.size(), 1u);
    EXPECT_EQ(face_.text(Control::txtExcelFile), "/data/a.xlsx");
}

TEST_F(ControlsTest, CancelledFileDialogChangesNothing) {
    started();
    face_.texts = {{Control::txtExcelFile, "/old/book.xls"}, {Control::txtSelection, "D!$A$1"}};
    list({true});
    face_.dialogAnswers = {""};
    press(Control::Check4, &Form1::Check4_Click);
    EXPECT_EQ(face_.text(Control::txtExcelFile), "/old/book.xls");
    EXPECT_EQ(face_.text(Control::txtSelection), "D!$A$1");
    EXPECT_EQ(face_.columnCount(), 1);
}

TEST_F(ControlsTest, SelectAllAndUnselectAllReachEveryEntry) {
    started();
    for (const std::size_t count : {0u, 3u}) {
        std::vector<bool> mixed(count, false);
        if (count > 1)
            mixed[1] = true;
        list(mixed);
        press(Control::Check1, &Form1::Check1_Click);
        EXPECT_EQ(face_.selected(), std::vector<bool>(count, true));
        press(Control::Check1, &Form1::Check1_Click);
        EXPECT_EQ(face_.selected(), std::vector<bool>(count, true));
        press(Control::Check3, &Form1::Check3_Click);
        EXPECT_EQ(face_.selected(), std::vector<bool>(count, false));
        EXPECT_EQ(face_.columnCount(), static_cast<int>(count));
        EXPECT_EQ(face_.value(Control::Check1) + face_.value(Control::Check3), 0);
    }
    EXPECT_EQ(settings_.writes, 0);
}

struct Hover {
    const char* name;
    void (Form1::*move)();
    int before;
    int after;
};

class HoverTest : public WindowFixture, public ::testing::WithParamInterface<Hover> {};

TEST_P(HoverTest, FollowsTheHoverRule) {
    const Hover& row = GetParam();
    Form1& form = started();
    form.setMousePointer(row.before);
    (form.*row.move)();
    EXPECT_EQ(form.mousePointer(), row.after);
    EXPECT_EQ(face_.pointers.back(), row.after);
}

constexpr int Default = WindowPointer::Default, Hourglass = WindowPointer::Hourglass,
              Custom = WindowPointer::Custom;

INSTANTIATE_TEST_SUITE_P(
    Moves, HoverTest,
    ::testing::Values(
        Hover{"Check1", &Form1::Check1_MouseMove, Default, Custom},
        Hover{"Check2", &Form1::Check2_MouseMove, Default, Custom},
        Hover{"Check3", &Form1::Check3_MouseMove, Default, Custom},
        Hover{"Check4", &Form1::Check4_MouseMove, Default, Custom},
        Hover{"Check5", &Form1::Check5_MouseMove, Default, Custom},
        Hover{"Check6", &Form1::Check6_MouseMove, Default, Custom},
        Hover{"Check6_keeps_hourglass", &Form1::Check6_MouseMove, Hourglass, Hourglass},
        Hover{"List1", &Form1::List1_MouseMove, Default, Custom},
        Hover{"List1_keeps_hourglass", &Form1::List1_MouseMove, Hourglass, Hourglass},
        Hover{"background", &Form1::Form_MouseMove, Custom, Default},
        Hover{"background_keeps_hourglass", &Form1::Form_MouseMove, Hourglass, Hourglass},
        Hover{"Frame1", &Form1::Frame1_MouseMove, Custom, Default},
        Hover{"Frame1_keeps_hourglass", &Form1::Frame1_MouseMove, Hourglass, Hourglass}),
    RowName());

} // namespace
