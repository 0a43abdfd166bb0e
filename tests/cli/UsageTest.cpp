// The command line as a user types it, where nothing needs an office.
#include "BatchProcess.h"
#include "CliFixture.h"

#include <gtest/gtest.h>

namespace {

bool StartsWith(const std::string& text, const std::string& start) {
    return text.rfind(start, 0) == 0;
}

struct Misuse {
    const char* name;
    std::vector<std::string> arguments;
    const char* reason;
};

class UsageErrors : public ::testing::TestWithParam<Misuse> {};

// BOOK stands for the test workbook and OUT for an output path, both known
// only once the tests run.
std::vector<std::string> Highlight(std::vector<std::string> extra) {
    std::vector<std::string> arguments{"highlight", "BOOK", "--block", kPeopleBlock};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    return arguments;
}

} // namespace

TEST_P(UsageErrors, ExitWithTwoTheReasonAndTheUsage) {
    const auto output = Scratch() / "out.xlsx";
    std::vector<std::string> arguments = GetParam().arguments;
    for (auto& argument : arguments) {
        if (argument == "OUT") {
            argument = output.string();
        } else if (argument == "BOOK") {
            argument = Workbooks().book;
        }
    }
    const BatchResult result = RunBatch(arguments);
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_TRUE(
        StartsWith(result.err, std::string("vantrelo: ") + GetParam().reason + "\n\nUsage:\n"))
        << result.err;
    EXPECT_FALSE(std::filesystem::exists(output));
}

INSTANTIATE_TEST_SUITE_P(
    Batch, UsageErrors,
    ::testing::Values(
        Misuse{"NoArguments", {}, "no command given"},
        Misuse{"UnknownCommand",
               {"colour", "x"},
               "unknown command \"colour\"; the commands are highlight and columns"},
        Misuse{"NoWorkbook",
               {"highlight", "--block", "A1:B2", "--columns", "1", "--output", "OUT"},
               "highlight needs a WORKBOOK"},
        Misuse{"NoBlock",
               {"highlight", "w.xlsx", "--columns", "1", "--output", "OUT"},
               "highlight needs --block"},
        Misuse{"NoColumns", Highlight({"--output", "OUT"}), "highlight needs --columns"},
        Misuse{"NoOutput", Highlight({"--columns", "1"}), "highlight needs --output"},
        Misuse{"EmptyColumns", Highlight({"--columns=", "--output", "OUT"}),
               "--columns needs a value"},
        Misuse{"EmptyColumnItem", Highlight({"--columns", "1,,2", "--output", "OUT"}),
               "--columns \"1,,2\" has an empty item; separate columns by single commas"},
        Misuse{"ColumnZero", Highlight({"--columns", "0", "--output", "OUT"}),
               "--columns: column numbers count from 1, so 0 names no column"},
        Misuse{"UnknownColour",
               Highlight({"--columns", "1", "--colour", "Purple", "--output", "OUT"}),
               "--colour \"Purple\" is not a colour of the list: Yellow, Red, Blue or Green, or "
               "per-group for a colour per group"},
        Misuse{"UnknownOption", Highlight({"--columns", "1", "--sort", "--output", "OUT"}),
               "highlight has no option --sort"},
        Misuse{"OptionTwice", Highlight({"--columns", "1", "--columns", "2", "--output", "OUT"}),
               "--columns is given more than once"},
        Misuse{"TwoWorkbooks", Highlight({"other.xlsx", "--columns", "1", "--output", "OUT"}),
               "highlight takes one workbook, but \"other.xlsx\" is a second"},
        Misuse{"FlagWithValue", Highlight({"--columns", "1", "--entire-row=no", "--output", "OUT"}),
               "--entire-row takes no value"},
        Misuse{"ValueMissingAtTheEnd", Highlight({"--columns", "1", "--output"}),
               "--output needs a value"},
        Misuse{"ColumnsWithOutput",
               {"columns", "w.xlsx", "--block", "A1", "--output", "OUT"},
               "columns has no option --output"},
        Misuse{"ColumnsWithoutBlock", {"columns", "w.xlsx"}, "columns needs --block"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(Batch, HelpGoesToStandardOutput) {
    for (const std::vector<std::string>& arguments : {std::vector<std::string>{"--help"},
                                                      {"-h"},
                                                      {"highlight", "--help"},
                                                      {"columns", "x", "-h"}}) {
        const BatchResult result = RunBatch(arguments);
        EXPECT_EQ(result.status, 0);
        EXPECT_TRUE(StartsWith(result.out,
                               "Usage:\n  vantrelo-batch highlight WORKBOOK --block TEXT "
                               "--columns LIST --output FILE [options]\n"))
            << result.out;
        EXPECT_NE(result.out.find("Exit status: 0 done, 1 failure"), std::string::npos);
        EXPECT_EQ(result.err, "");
    }
}

TEST(Batch, VersionComesFromTheProject) {
    const BatchResult result = RunBatch({"--version"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, std::string("vantrelo ") + EXPECTED_VERSION + "\n");
    EXPECT_EQ(result.err, "");
}
