// The two office actions over the spreadsheet held in memory: what each
// shows, what it leaves the user, the bar, and every way it can fail.
#include "WindowFixture.h"

#include "sheet/SheetError.h"

#include <algorithm>
#include <atomic>
#include <fstream>

using Control = Form1Layout::Control;
using Strings = std::vector<std::string>;

namespace {

enum class Fault { None, Cancel, OpenFails, BlockRefused, ReadFails, ColourRefused, ShortList };

class ActionsTest : public WindowFixture {
protected:
    void apply(Fault fault) {
        switch (fault) {
        case Fault::None:
        case Fault::ShortList:
            break;
        case Fault::Cancel:
            memory_.answerBlockChoice = [](const std::string&) { return std::nullopt; };
            break;
        case Fault::OpenFails:
            memory_.faults.openFails = "The workbook cannot be opened: it is damaged.";
            break;
        case Fault::BlockRefused:
            memory_.faults.blockRefused = "The block cannot be used: no such sheet.";
            break;
        case Fault::ReadFails:
            memory_.faults.readFailsAfterRows = 0;
            break;
        case Fault::ColourRefused:
            memory_.faults.colourRefused =
                "The office refused the colours: the sheet is protected.";
            break;
        }
    }

    void press(Control button, void (Form1::*click)()) {
        face_.setValue(button, 1);
        (form_.get()->*click)();
    }

    // The window as the user leaves it before a run: Name compared, in Blue.
    void readyToRun(std::size_t entries = 3) {
        face_.texts = {{Control::txtExcelFile, book_}, {Control::txtSelection, "Data!$C$5:$E$8"}};
        const Strings names = {"Name", "<Blank Column 2>", "City"};
        face_.setColumns(Strings(names.begin(), names.begin() + static_cast<long>(entries)));
        face_.selectColumn(0, true);
        face_.chooseColourAt(2);
    }

    // The bar never moved back during the action, and ended empty.
    void expectBarForwardThenEmpty() const {
        ASSERT_FALSE(face_.progress.empty());
        EXPECT_EQ(face_.progress.back(), 0);
        EXPECT_TRUE(std::is_sorted(face_.progress.begin(), face_.progress.end() - 1));
    }
};

struct Choice {
    const char* name;
    Fault fault;
    std::string message; // "" when none is shown
};

class BlockChoiceTest : public ActionsTest, public ::testing::WithParamInterface<Choice> {};

TEST_P(BlockChoiceTest, ListsTheColumnsOrSaysWhy) {
    const Choice& row = GetParam();
    apply(row.fault);
    Form1& form = started();
    face_.texts = {{Control::txtExcelFile, book_}, {Control::txtSelection, "Data!$C$5"}};
    face_.setColumns({"old"});
    face_.selectColumn(0, true);
    press(Control::Check2, &Form1::Check2_Click);

    const bool chosen = row.fault == Fault::None;
    EXPECT_EQ(face_.text(Control::txtSelection), chosen ? "Data!$C$5:$E$8" : "");
    EXPECT_EQ(face_.columnTexts(),
              (chosen ? Strings{"Name", "<Blank Column 2>", "City"} : Strings{"old"}));
    EXPECT_EQ(face_.selected(), std::vector<bool>(chosen ? 3u : 1u, !chosen));
    EXPECT_EQ(face_.messages,
              (row.message.empty() ? Strings{} : Strings{"Vantrelo: " + row.message}));
    // The hourglass while it worked, the default after.
    EXPECT_EQ(face_.pointers, (std::vector<int>{11, 0}));
    EXPECT_EQ(form.mousePointer(), 0);
    // Whatever happened, the instance the action started has ended.
    const auto& record = memory_.record();
    EXPECT_EQ(record.handedOver, 0);
    EXPECT_EQ(record.closed, record.opened);
    if (row.fault != Fault::OpenFails) {
        EXPECT_EQ(record.offeredDefaults, Strings{"Data!$C$5"});
    }
    expectBarForwardThenEmpty();
    // A chosen block fills the bar before it empties.
    EXPECT_EQ(face_.progress.size() > 1 && face_.progress.end()[-2] == 100, chosen);
}

INSTANTIATE_TEST_SUITE_P(Faults, BlockChoiceTest,
                         ::testing::Values(Choice{"chosen", Fault::None, ""},
                                           Choice{"cancel_is_silent", Fault::Cancel, ""},
                                           Choice{"unopenable_workbook", Fault::OpenFails,
                                                  "The workbook cannot be opened: it is damaged."},
                                           Choice{"block_refused", Fault::BlockRefused,
                                                  "The block cannot be used: no such sheet."}),
                         RowName());

struct Mistake {
    const char* name;
    const char* path; // "FOLDER/..." in the test's folder
    const char* message;
};

class InputMistakeTest : public ActionsTest, public ::testing::WithParamInterface<Mistake> {};

TEST_P(InputMistakeTest, IsToldAndStartsNoOffice) {
    const Mistake& row = GetParam();
    std::ofstream(folder_ / ".hidden.xlsx") << "hidden";
    Form1& form = started();
    std::string path = row.path;
    if (path.starts_with("FOLDER"))
        path = folder_.string() + path.substr(6);
    face_.texts = {{Control::txtExcelFile, path}, {Control::txtSelection, "Data!$A$1"}};
    face_.setColumns({"kept"});
    press(Control::Check2, &Form1::Check2_Click);
    EXPECT_EQ(face_.messages, Strings{std::string("Vantrelo: ") + row.message});
    EXPECT_EQ(face_.text(Control::txtSelection), "");
    EXPECT_EQ(face_.columnTexts(), Strings{"kept"});
    EXPECT_TRUE(face_.pointers.empty());
    EXPECT_EQ(form.mousePointer(), 0);
    EXPECT_TRUE(memory_.record().calls.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Paths, InputMistakeTest,
    ::testing::Values(Mistake{"empty_path", "", "You forgot to input excel file"},
                      Mistake{"missing_file", "FOLDER/nothing.xlsx", "Excel not found"},
                      Mistake{"folder", "FOLDER", "Excel not found"},
                      Mistake{"hidden_file", "FOLDER/.hidden.xlsx", "Excel not found"}),
    RowName());

struct Highlighting {
    const char* name;
    Fault fault;
    std::string message;
};

class HighlightTest : public ActionsTest, public ::testing::WithParamInterface<Highlighting> {};

TEST_P(HighlightTest, ColoursAndHandsOverOrSaysWhy) {
    const Highlighting& row = GetParam();
    apply(row.fault);
    started();
    readyToRun(row.fault == Fault::ShortList ? 2 : 3);
    press(Control::Check6, &Form1::Check6_Click);

    const auto& record = memory_.record();
    if (row.fault == Fault::None) {
        EXPECT_TRUE(face_.messages.empty());
        EXPECT_EQ(record.handedOver, 1);
        EXPECT_EQ(record.shown, 1);
        // Blue, taken from the chosen entry's value.
        const std::map<memory_sheet::Cell, std::uint32_t> blue = {{{6, 3}, 0xFF0000u},
                                                                  {{8, 3}, 0xFF0000u}};
        EXPECT_EQ(record.fills.at("Data"), blue);
        EXPECT_EQ(face_.progress.end()[-2], 100);
    } else {
        // Said, and nothing left to the user as if it had worked.
        ASSERT_EQ(face_.messages.size(), 1u);
        EXPECT_NE(face_.messages[0].find(row.message), std::string::npos) << face_.messages[0];
        EXPECT_EQ(record.handedOver, 0);
        EXPECT_EQ(record.closed, record.opened);
        EXPECT_TRUE(std::find(face_.progress.begin(), face_.progress.end(), 100) ==
                    face_.progress.end());
    }
    expectBarForwardThenEmpty();
    // A run leaves the pointer alone.
    EXPECT_TRUE(face_.pointers.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Faults, HighlightTest,
    ::testing::Values(Highlighting{"coloured_and_handed_over", Fault::None, ""},
                      Highlighting{"unopenable_workbook", Fault::OpenFails,
                                   "The workbook cannot be opened: it is damaged."},
                      Highlighting{"block_refused", Fault::BlockRefused,
                                   "The block cannot be used: no such sheet."},
                      Highlighting{"read_fails_mid_run", Fault::ReadFails,
                                   "The spreadsheet stopped answering while the rows were read."},
                      Highlighting{"colours_refused", Fault::ColourRefused,
                                   "The office refused the colours: the sheet is protected."},
                      Highlighting{"list_shorter_than_the_block", Fault::ShortList, "3 columns"}),
    RowName());

TEST_F(ActionsTest, ExceptFirstSparesTheFirstOccurrence) {
    started();
    readyToRun();
    press(Control::Check5, &Form1::Check5_Click);
    const std::map<memory_sheet::Cell, std::uint32_t> blue = {{{8, 3}, 0xFF0000u}};
    EXPECT_EQ(memory_.record().fills.at("Data"), blue);
}

// A call held for good stands for an office that froze or a range box nobody
// answers: closing the window must still end the action, its instance and
// the window, with nothing to click away.
struct Close {
    const char* name;
    Control button;
    void (Form1::*click)();
    const char* heldCall;
};

class CloseTest : public ActionsTest, public ::testing::WithParamInterface<Close> {};

TEST_P(CloseTest, ClosingTheWindowEndsTheActionThenTheWindow) {
    const Close& row = GetParam();
    started();
    readyToRun();
    std::atomic<bool> held = false;
    memory_.onCall = [&](const std::string& call) {
        if (call != row.heldCall)
            return;
        held = true;
        memory_sheet::HoldCall([] { return false; });
    };
    face_.onWait = [&held](FakeFace& face) {
        if (held) {
            // Twice: the second request must do no harm.
            face.askToClose();
            face.askToClose();
        }
    };
    press(row.button, row.click);

    EXPECT_EQ(face_.closes, 1);
    EXPECT_TRUE(face_.messages.empty());
    const auto& record = memory_.record();
    EXPECT_EQ(record.calls.back(), row.heldCall);
    EXPECT_EQ(record.handedOver, 0);
    EXPECT_EQ(record.closed, record.opened);
    EXPECT_EQ(form_->mousePointer(), 0);
}

INSTANTIATE_TEST_SUITE_P(Held, CloseTest,
                         ::testing::Values(Close{"range_box_waiting", Control::Check2,
                                                 &Form1::Check2_Click, "askForBlock"},
                                           Close{"choice_office_frozen_at_start", Control::Check2,
                                                 &Form1::Check2_Click, "openWorkbook"},
                                           Close{"run_office_frozen_mid_read", Control::Check6,
                                                 &Form1::Check6_Click, "readTexts"},
                                           Close{"run_office_frozen_colouring", Control::Check5,
                                                 &Form1::Check5_Click, "colourSpans"}),
                         RowName());

// The office says nothing while it loads: the bar still moves, by time,
// within the load's stretch; then, on the block choice, it stands while the
// user marks the block.
TEST_F(ActionsTest, BarMovesByTimeThroughTheBlockChoiceStages) {
    started();
    face_.texts[Control::txtExcelFile] = book_;
    std::atomic<bool> loaded = false;
    std::atomic<bool> marked = false;
    std::atomic<bool> asking = false;
    std::vector<int> whileLoading;
    std::vector<int> whileAsking;
    memory_.onCall = [&](const std::string& call) {
        if (call == "openWorkbook")
            memory_sheet::HoldCall([&] { return loaded.load(); });
        if (call == "askForBlock") {
            asking = true;
            memory_sheet::HoldCall([&] { return marked.load(); });
        }
    };
    int turns = 0;
    face_.onWait = [&](FakeFace& face) {
        if (face.progress.empty())
            return;
        ++turns;
        if (!loaded) {
            whileLoading.push_back(face.progress.back());
            loaded = turns == 30;
        } else if (asking && !marked) {
            whileAsking.push_back(face.progress.back());
            marked = whileAsking.size() == 10;
        }
    };
    press(Control::Check2, &Form1::Check2_Click);

    ASSERT_GE(whileLoading.size(), 30u);
    EXPECT_LT(whileLoading.front(), whileLoading.back());
    EXPECT_LT(whileLoading.back(), ProgressBarValue::blockChoiceAsking.from);
    ASSERT_FALSE(whileAsking.empty());
    EXPECT_EQ(whileAsking.back(), ProgressBarValue::blockChoiceAsking.from);
    expectBarForwardThenEmpty();
    EXPECT_EQ(face_.progress.end()[-2], 100);
}

} // namespace
