#include "sheet/HighlightBlock.h"
#include "Fills.h"
#include "OfficeFixture.h"
#include "sheet/OpenExcelWorkbook.h"
#include "sheet/SheetError.h"

#include <gtest/gtest.h>
#include <map>
#include <set>

using dupes::RunKind;

namespace {

// The block People!B2:E10 compares Name and City (B and C). Its repeats:
// Ann/Oslo in rows 3, 5 and 9, Bob/Rome in 4 and 8, the header row 2 again
// in row 10; "ann" (row 6) and "Ann " (row 7) differ. Row 11 lies outside.
const std::set<int> kAllDuplicates{2, 3, 4, 5, 8, 9, 10};
const std::set<int> kExceptFirst{5, 8, 9};
const std::map<std::pair<int, int>, std::uint32_t> kFillsInFile{
    {{1, 1}, 0x0000FF}, {{3, 3}, 0x00FF00}, {{5, 6}, 0xFF0000}};

struct Case {
    const char* name;
    RunKind kind;
    bool entireRow;
    dupes::HighlightColour colour;
    std::uint32_t value; // the fill expected, as the office stores it back
};

class HighlightOnRealWorkbook : public ::testing::TestWithParam<Case> {};

} // namespace

TEST_P(HighlightOnRealWorkbook, ColoursExactlyTheRepeatedRows) {
    const Case& c = GetParam();
    auto office = sheet::libreoffice::MakeLibreOffice(HeadlessOptions());
    const auto workbook = sheet::OpenExcelWorkbook(*office, Workbooks().people);
    const sheet::Block block = workbook->findBlock("People!$B$2:$E$10");
    const dupes::RunSummary summary = sheet::HighlightBlock(
        *workbook, block, {c.kind, {true, true, false, false}, c.colour, c.entireRow});
    const auto& rows = c.kind == RunKind::AllDuplicates ? kAllDuplicates : kExceptFirst;

    // Every cell of the block and of a border of one cell around it.
    for (int row = 1; row <= 11; ++row) {
        for (int column = 1; column <= 6; ++column) {
            const bool inColouredColumns =
                c.entireRow ? column >= 2 && column <= 5 : column == 2 || column == 3;
            std::optional<std::uint32_t> expected;
            if (const auto it = kFillsInFile.find({row, column}); it != kFillsInFile.end()) {
                expected = it->second;
            }
            if (rows.count(row) != 0 && inColouredColumns) {
                expected = c.value;
            }
            EXPECT_EQ(FillOf(*workbook, block, row, column), expected)
                << "row " << row << ", column " << column;
        }
    }
    EXPECT_EQ(summary.rowsColoured, static_cast<std::int64_t>(rows.size()));
}

// Each colour once, so the office's own byte order is checked for all four.
INSTANTIATE_TEST_SUITE_P(Runs, HighlightOnRealWorkbook,
                         ::testing::Values(Case{"AllComparedYellow", RunKind::AllDuplicates, false,
                                                dupes::HighlightColour::Yellow, 0x00FFFF},
                                           Case{"AllEntireRowBlue", RunKind::AllDuplicates, true,
                                                dupes::HighlightColour::Blue, 0xFF0000},
                                           Case{"ExceptFirstComparedGreen", RunKind::ExceptFirst,
                                                false, dupes::HighlightColour::Green, 0x00FF00},
                                           Case{"ExceptFirstEntireRowRed", RunKind::ExceptFirst,
                                                true, dupes::HighlightColour::Red, 0x0000FF}),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(HighlightFailure, SaysWhyAndEndsTheInstance) {
    auto office = sheet::libreoffice::MakeLibreOffice(HeadlessOptions());
    {
        const auto workbook = sheet::OpenExcelWorkbook(*office, Workbooks().people);
        const sheet::Block block = workbook->findBlock("People!$B$2:$E$10");
        EXPECT_THROW(
            sheet::HighlightBlock(*workbook, block, {RunKind::AllDuplicates, {true, true}}),
            dupes::RunError);
        EXPECT_THROW(workbook->findBlock("Nobody!$B$2:$E$10"), sheet::SheetError);
    }
    // The fixture checks after each test that no office is left running.
}
