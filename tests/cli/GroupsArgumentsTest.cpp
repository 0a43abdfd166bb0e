// The options for groups, colours per group and forgiving matching, as the
// command line gives them.
#include "cli/Arguments.h"

#include <gtest/gtest.h>

namespace {

struct Given {
    const char* name;
    std::vector<std::string> extra; // besides workbook, --block and --columns
    // What was understood, or the refusal's message when `refusal` is set.
    std::function<void(const cli::HighlightCommand&)> check;
    const char* refusal = nullptr;

    friend void PrintTo(const Given& given, std::ostream* out) { *out << given.name; }
};

class GroupOptions : public ::testing::TestWithParam<Given> {};

TEST_P(GroupOptions, AreReadOrRefusedInWords) {
    std::vector<std::string> arguments{"highlight", "in.xlsx",   "--block",
                                       "A1:C9",     "--columns", "1"};
    arguments.insert(arguments.end(), GetParam().extra.begin(), GetParam().extra.end());
    if (GetParam().refusal != nullptr) {
        try {
            cli::ParseArguments(arguments);
            ADD_FAILURE() << "accepted";
        } catch (const cli::UsageError& e) {
            EXPECT_EQ(std::string(e.what()), GetParam().refusal);
        }
        return;
    }
    GetParam().check(std::get<cli::HighlightCommand>(cli::ParseArguments(arguments)));
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, GroupOptions,
    ::testing::Values(
        Given{"EverythingAtOnce",
              {"--colour", "PER-GROUP", "--ignore-case", "--trim", "--groups=g.CSV", "--output",
               "o.xlsx"},
              [](const cli::HighlightCommand& c) {
                  EXPECT_TRUE(c.colourPerGroup && c.matching.ignoreCase && c.matching.trimBlanks);
                  EXPECT_EQ(c.groups, "g.CSV");
                  EXPECT_EQ(c.output, "o.xlsx");
              }},
        Given{"ReportOnlyNeedsNoOutput",
              {"--report-only", "--groups", "g.json"},
              [](const cli::HighlightCommand& c) {
                  EXPECT_TRUE(c.reportOnly);
                  EXPECT_EQ(c.output, "");
              }},
        Given{"UnknownColour",
              {"--colour", "pergroup", "--output", "o.xlsx"},
              {},
              "--colour \"pergroup\" is not a colour of the list: Yellow, Red, Blue or Green, or "
              "per-group for a colour per group"},
        Given{"ReportOnlyWithoutGroups",
              {"--report-only"},
              {},
              "--report-only writes the groups report instead of a coloured copy, so it needs "
              "--groups FILE"},
        Given{"ReportOnlyWithAnOutput",
              {"--report-only", "--groups", "g.csv", "--output", "o.xlsx"},
              {},
              "--report-only saves no coloured copy; leave out --output or --report-only"},
        Given{"ReportOfNoKnownFormat",
              {"--groups", "g.txt", "--output", "o.xlsx"},
              {},
              "--groups \"g.txt\" names no report format; choose a name ending in .csv or .json"}),
    [](const auto& param) { return std::string(param.param.name); });

} // namespace
