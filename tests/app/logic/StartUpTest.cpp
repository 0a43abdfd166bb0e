// The window's start-up sequence and its stored option.
#include "WindowFixture.h"

#include "app/HomePageChance.h"
#include "app/LeadingNumber.h"

#include <fstream>

using Control = Form1Layout::Control;
using Strings = std::vector<std::string>;

namespace {

class StartUpTest : public WindowFixture {};

TEST_F(StartUpTest, StepsRunInOrderAndFillTheColourList) {
    std::ofstream(folder_ / "HAND-M.CUR") << "a pointer";
    draw_ = 0.065; // n = 7
    settings_.entries["Kestravon/Vantrelo/Highlight Entire Row"] = "1";
    started();
    EXPECT_EQ(face_.startUp, (Strings{"centre", "pointer HAND-M.CUR", "home page",
                                      "caption Vantrelo", "white bar", "colours", "Check7 1"}));
    EXPECT_EQ(opened_, Strings{"https://kestravon.example/vantrelo"});
    Strings names;
    for (const auto& [name, colour] : face_.colours) {
        names.push_back(name);
        EXPECT_EQ(dupes::ColourName(colour), name);
    }
    EXPECT_EQ(names, (Strings{"Yellow", "Red", "Blue", "Green"}));
    EXPECT_EQ(face_.chosenColour(), dupes::HighlightColour::Yellow);
    EXPECT_EQ(form_->mousePointer(), 0);
}

TEST_F(StartUpTest, WithoutAPointerFileThereIsNoCustomPointer) {
    started();
    EXPECT_EQ(face_.startUp, (Strings{"centre", "caption Vantrelo", "white bar", "colours"}));
    EXPECT_TRUE(opened_.empty());
}

struct Restore {
    const char* name;
    std::optional<std::string> stored;
    int ticked;
    std::string storedAfter;
};

class RestoreTest : public WindowFixture, public ::testing::WithParamInterface<Restore> {};

TEST_P(RestoreTest, EntireRowIsRestoredFromItsLeadingNumber) {
    const Restore& row = GetParam();
    if (row.stored)
        settings_.entries["Kestravon/Vantrelo/Highlight Entire Row"] = *row.stored;
    started();
    EXPECT_EQ(face_.value(Control::Check7), row.ticked);
    // A restored 1 is written straight back; nothing else is written.
    EXPECT_EQ(settings_.writes, row.ticked);
    EXPECT_EQ(storedEntireRow(), row.storedAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Stored, RestoreTest,
    ::testing::Values(Restore{"one", "1", 1, "1"}, Restore{"one_point_nought", "1.0", 1, "1"},
                      Restore{"blank_then_one", " 1", 1, "1"}, Restore{"one_abc", "1abc", 1, "1"},
                      Restore{"nought", "0", 0, "0"}, Restore{"empty", "", 0, ""},
                      Restore{"word", "abc", 0, "abc"}, Restore{"two", "2", 0, "2"},
                      Restore{"minus_one", "-1", 0, "-1"},
                      Restore{"missing_is_not_created", std::nullopt, 0, "(none)"}),
    RowName());

TEST_F(StartUpTest, EveryClickOfTheOptionWrites) {
    settings_.entries["Kestravon/Vantrelo/Highlight Entire Row"] = "abc";
    Form1& form = started();
    for (const auto& [value, text] : {std::pair{1, "1"}, {0, "0"}}) {
        face_.setValue(Control::Check7, value);
        form.Check7_Click();
        EXPECT_EQ(storedEntireRow(), text);
    }
    EXPECT_EQ(settings_.writes, 2);
}

TEST(LeadingNumber, IsTheLongestLeadingDecimal) {
    const std::pair<const char*, double> rows[] = {
        {"1", 1},     {" \t 1", 1}, {"1abc", 1}, {"1.0", 1}, {"1.", 1},  {".5x", 0.5},
        {"2e1x", 20}, {"10E-1", 1}, {"1e", 1},   {"+1", 1},  {"-1", -1}, {"", 0},
        {"abc", 0},   {"-x", 0},    {".", 0},    {"1 2", 1}, {"+-1", 0},
    };
    for (const auto& [text, number] : rows)
        EXPECT_EQ(LeadingNumber(text), number) << '"' << text << '"';
}

TEST(HomePageChance, OpensOnlyOnSeven) {
    const std::pair<double, int> rows[] = {{0.0, 1},    {0.0599, 6}, {0.06, 7},
                                           {0.0699, 7}, {0.07, 8},   {0.99999, 100}};
    for (const auto& [r, n] : rows) {
        EXPECT_EQ(ChanceNumber(r), n) << r;
        int opened = 0;
        HomePageChance([r = r] { return r; }, [&opened](const std::string&) { ++opened; });
        EXPECT_EQ(opened, n == 7 ? 1 : 0) << r;
    }
}

TEST(HomePageChance, SeededDrawIsRepeatableAndAboutOneInAHundred) {
    EXPECT_EQ(DrawWithSeed(12345), DrawWithSeed(12345));
    int sevens = 0;
    for (std::uint32_t second = 0; second < 86400; ++second) {
        const double r = DrawWithSeed(second);
        ASSERT_TRUE(r >= 0.0 && r < 1.0);
        sevens += ChanceNumber(r) == 7 ? 1 : 0;
    }
    EXPECT_GT(sevens, 600);
    EXPECT_LT(sevens, 1100);
}

} // namespace
