// How the command line is read. Its refusals are checked with their
// messages in UsageTest, as a user meets them.
#include "cli/Arguments.h"

#include <gtest/gtest.h>
#include <stdexcept>

using cli::ColumnItem;
using cli::ParseArguments;
using cli::ParseColumnChoice;
using cli::SelectColumns;
using cli::UsageError;

namespace {

cli::HighlightCommand Highlight(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "highlight");
    return std::get<cli::HighlightCommand>(ParseArguments(arguments));
}

const std::vector<std::string> kList{"Name", "City",        "<Blank Column 3>",
                                     "5",    "Last, First", "Note"};

} // namespace

TEST(Arguments, TakeOptionsInAnyOrderAndBothSpellings) {
    const auto c =
        Highlight({"--output=out.ods", "--except-first", "in.xlsx", "--block", "Data!$B$2:$E$40",
                   "--columns=1,3", "--colour", "green", "--entire-row", "--force", "--json"});
    EXPECT_EQ(c.workbook, "in.xlsx");
    EXPECT_EQ(c.block, "Data!$B$2:$E$40");
    EXPECT_EQ(c.columns.items, (std::vector<ColumnItem>{{1, ""}, {3, ""}}));
    EXPECT_EQ(c.colour, dupes::HighlightColour::Green); // any letter case
    EXPECT_EQ(c.output, "out.ods");
    EXPECT_TRUE(c.exceptFirst && c.entireRow && c.force && c.json);
}

TEST(Arguments, DefaultToYellowAndTheAllDuplicatesRun) {
    const auto c =
        Highlight({"in.xlsx", "--block", "A1:B5", "--columns", "all", "--output", "o.xlsx"});
    EXPECT_EQ(c.colour, dupes::HighlightColour::Yellow);
    EXPECT_TRUE(c.columns.all);
    EXPECT_FALSE(c.exceptFirst || c.entireRow || c.force || c.json);
}

TEST(Arguments, DoubleDashLetsAWorkbookNameStartWithADash) {
    const auto c =
        Highlight({"--block", "A1:B5", "--columns", "1", "--output", "o.xlsx", "--", "-book.xlsx"});
    EXPECT_EQ(c.workbook, "-book.xlsx");
}

TEST(Arguments, HelpAndVersion) {
    EXPECT_TRUE(std::holds_alternative<cli::HelpCommand>(ParseArguments({"--help"})));
    EXPECT_TRUE(std::holds_alternative<cli::HelpCommand>(ParseArguments({"-h"})));
    EXPECT_TRUE(std::holds_alternative<cli::HelpCommand>(
        ParseArguments({"highlight", "--colour", "x", "--help"})));
    EXPECT_TRUE(std::holds_alternative<cli::VersionCommand>(ParseArguments({"--version"})));
    const auto columns = std::get<cli::ColumnsCommand>(
        ParseArguments({"columns", "b.ods", "--block=A1:C1", "--json"}));
    EXPECT_EQ(columns.workbook, "b.ods");
    EXPECT_EQ(columns.block, "A1:C1");
    EXPECT_TRUE(columns.json);
}

TEST(ColumnChoice, SplitsNumbersAndNames) {
    EXPECT_EQ(ParseColumnChoice("2, 4 ,Name").items,
              (std::vector<ColumnItem>{{2, ""}, {4, ""}, {0, "Name"}}));
    // Names are kept as written, blanks and all: texts match exactly.
    EXPECT_EQ(ParseColumnChoice(" City ").items, (std::vector<ColumnItem>{{0, " City "}}));
    EXPECT_EQ(ParseColumnChoice("Last\\, First,C:\\data,a\\\\").items,
              (std::vector<ColumnItem>{{0, "Last, First"}, {0, "C:\\data"}, {0, "a\\"}}));
    // An escape makes an item a name even when it is otherwise digits.
    EXPECT_EQ(ParseColumnChoice("1\\,5").items, (std::vector<ColumnItem>{{0, "1,5"}}));
    EXPECT_TRUE(ParseColumnChoice("all").all);
    EXPECT_FALSE(ParseColumnChoice("All").all);
}

TEST(ColumnChoice, RefusesEmptyItemsAndImpossibleNumbers) {
    for (const char* text : {"", " ", ",", "1,", ",1", "1,,2", "0", "2,0", "99999999999"}) {
        EXPECT_THROW(ParseColumnChoice(text), UsageError) << '"' << text << '"';
    }
}

TEST(ColumnChoice, SelectsByNumberNameBlankEntryOrAll) {
    EXPECT_EQ(SelectColumns(ParseColumnChoice("1,Last\\, First"), kList, "B"),
              (std::vector<bool>{true, false, false, false, true, false}));
    EXPECT_EQ(SelectColumns(ParseColumnChoice("<Blank Column 3>,Note"), kList, "B"),
              (std::vector<bool>{false, false, true, false, false, true}));
    // "5" is a number, so it takes the fifth column, not the one named 5.
    EXPECT_EQ(SelectColumns(ParseColumnChoice("5"), kList, "B"),
              (std::vector<bool>{false, false, false, false, true, false}));
    EXPECT_EQ(SelectColumns(ParseColumnChoice("all"), kList, "B"), std::vector<bool>(6, true));
    EXPECT_EQ(SelectColumns(ParseColumnChoice("2,2,City"), kList, "B"),
              (std::vector<bool>{false, true, false, false, false, false}));
}

TEST(ColumnChoice, SaysWhyAColumnIsNotThere) {
    const auto message = [](const char* text, const std::vector<std::string>& list) {
        try {
            SelectColumns(ParseColumnChoice(text), list, "Data!$B$2:$G$11");
        } catch (const std::runtime_error& e) {
            return std::string(e.what());
        }
        return std::string("accepted");
    };
    EXPECT_EQ(message("7", kList),
              "the block Data!$B$2:$G$11 has 6 columns, so it has no column 7");
    EXPECT_EQ(
        message("name", kList),
        "the block Data!$B$2:$G$11 has no column named \"name\"; its columns are: Name, City, "
        "<Blank Column 3>, 5, Last, First, Note");
    EXPECT_EQ(message("Name", {"Name", "City", "Name"}),
              "the name \"Name\" stands for columns 1 and 3 of the block Data!$B$2:$G$11; give the "
              "number of the one you mean");
    const std::vector<std::string> wide(40, "x");
    EXPECT_NE(message("y", wide).find(", ... (40 in all)"), std::string::npos);
}
