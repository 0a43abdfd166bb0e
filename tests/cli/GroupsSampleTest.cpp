// The groups report and colours per group on the sample workbook, run as a
// user runs them: the report read back beside the saved copy's fills.
#include "BatchProcess.h"
#include "CliFixture.h"
#include "dupes/GroupPalette.h"

#include <gtest/gtest.h>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace {

using RowLists = std::vector<std::vector<int>>;

// The "Sheet rows" of every group of a CSV report, in report order.
RowLists SheetRowsOf(const std::string& csv) {
    RowLists groups;
    std::istringstream lines(csv);
    std::string line;
    std::getline(lines, line); // the header
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string number, count, rows;
        std::getline(fields, number, ',');
        std::getline(fields, count, ',');
        std::getline(fields, rows, ',');
        std::istringstream each(rows);
        std::vector<int>& group = groups.emplace_back();
        for (int row = 0; each >> row;) {
            group.push_back(row);
        }
        EXPECT_EQ(std::stoul(number), groups.size());
        EXPECT_EQ(std::stoul(count), group.size());
    }
    return groups;
}

// Name and City of the sample compared exactly: its near-repeats (rows 6 and
// 12, "ann lee" and "Rome ") stay apart.
const RowLists kExactGroups{{2, 4, 9}, {3, 7}, {5, 11}, {8, 15}, {13, 21}, {14, 19}};

TEST(GroupsOnTheSample, ReportAndPerGroupColoursAgreeInTheSavedCopy) {
    const fs::path folder = Scratch();
    const std::string copy = (folder / "copy.xlsx").string();
    const std::string report = (folder / "groups.csv").string();
    const BatchResult result =
        RunBatch({"highlight", Workbooks().sample, "--block", kSampleBlock, "--columns",
                  "Name,City", "--colour", "per-group", "--output", copy, "--groups", report});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("Colours used:      6\n"), std::string::npos) << result.out;

    const RowLists groups = SheetRowsOf(Bytes(report));
    EXPECT_EQ(groups, kExactGroups);
    const Fills fills = FillsInFile(copy, kSampleBlock);
    std::set<int> reported;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        for (const int row : groups[g]) {
            reported.insert(row);
            for (const int column : {1, 2}) {
                EXPECT_EQ(fills.at({row, column}), dupes::GroupFill(static_cast<int>(g) + 1))
                    << "row " << row << " column " << column;
            }
        }
    }
    for (const auto& [cell, fill] : fills) {
        if (fill && !reported.contains(cell.first)) {
            ADD_FAILURE() << "row " << cell.first << " is coloured but in no group";
        }
    }
    ExpectInputsUnchanged();
}

struct Matching {
    const char* name;
    std::vector<std::string> flags;
    RowLists groups;
};

class GroupsOnTheSampleBy : public ::testing::TestWithParam<Matching> {};

TEST_P(GroupsOnTheSampleBy, ReportOnly) {
    const fs::path report = Scratch() / "groups.csv";
    std::vector<std::string> arguments{"highlight",     Workbooks().sample, "--block",
                                       kSampleBlock,    "--columns",        "Name,City",
                                       "--report-only", "--groups",         report.string()};
    arguments.insert(arguments.end(), GetParam().flags.begin(), GetParam().flags.end());
    const BatchResult result = RunBatch(arguments);
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(SheetRowsOf(Bytes(report)), GetParam().groups);
    // Only the report: no copy of the workbook anywhere near it.
    EXPECT_EQ(std::distance(fs::directory_iterator(report.parent_path()), fs::directory_iterator()),
              1);
}

INSTANTIATE_TEST_SUITE_P(
    Batch, GroupsOnTheSampleBy,
    ::testing::Values(Matching{"Exact", {}, kExactGroups},
                      Matching{"IgnoringCaseAndBlanks",
                               {"--ignore-case", "--trim"},
                               {{2, 4, 6, 9}, {3, 7, 12}, {5, 11}, {8, 15}, {13, 21}, {14, 19}}}),
    [](const auto& param) { return std::string(param.param.name); });

struct BadValue {
    const char* name;
    std::vector<std::string> flags; // REPORT: a report path in the test's folder
    const char* reason;
};

class GroupsRefusedBy : public ::testing::TestWithParam<BadValue> {};

TEST_P(GroupsRefusedBy, ExitStatusTwo) {
    const fs::path folder = Scratch();
    std::vector<std::string> arguments{"highlight",  Workbooks().sample, "--block",
                                       kSampleBlock, "--columns",        "Name,City"};
    for (std::string flag : GetParam().flags) {
        if (const auto at = flag.find("REPORT"); at != std::string::npos) {
            flag.replace(at, 6, folder.string());
        }
        arguments.push_back(flag);
    }
    const BatchResult result = RunBatch(arguments);
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err.rfind(std::string("vantrelo: ") + GetParam().reason, 0), 0u) << result.err;
    EXPECT_TRUE(fs::is_empty(folder));
}

INSTANTIATE_TEST_SUITE_P(
    Batch, GroupsRefusedBy,
    ::testing::Values(BadValue{"UnknownColour",
                               {"--colour", "rainbow", "--output", "REPORT/o.xlsx"},
                               "--colour \"rainbow\" is not a colour of the list"},
                      BadValue{"ReportInAMissingFolder",
                               {"--groups", "REPORT/missing/g.csv", "--output", "REPORT/o.xlsx"},
                               "the folder \""},
                      BadValue{
                          "ReportOnlyWithoutGroups",
                          {"--report-only"},
                          "--report-only writes the groups report instead of a coloured copy"}),
    [](const auto& param) { return std::string(param.param.name); });

} // namespace
