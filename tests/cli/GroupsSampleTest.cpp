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
    const Fills fills = ReadCopy(copy, kSampleBlock).fills;
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

// Forgiving case and blanks joins rows 6 and 12 to their groups.
TEST(GroupsOnTheSample, IgnoringCaseAndBlanksJoinsTheNearRepeats) {
    const fs::path report = Scratch() / "groups.csv";
    const BatchResult result = RunBatch({"highlight", Workbooks().sample, "--block", kSampleBlock,
                                         "--columns", "Name,City", "--ignore-case", "--trim",
                                         "--report-only", "--groups", report.string()});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(SheetRowsOf(Bytes(report)),
              (RowLists{{2, 4, 6, 9}, {3, 7, 12}, {5, 11}, {8, 15}, {13, 21}, {14, 19}}));
    // Only the report: no copy of the workbook anywhere near it.
    EXPECT_EQ(std::distance(fs::directory_iterator(report.parent_path()), fs::directory_iterator()),
              1);
}

} // namespace
