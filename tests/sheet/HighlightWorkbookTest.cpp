#include "sheet/HighlightWorkbook.h"
#include "OfficeFixture.h"
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
    std::string colour;
    std::optional<std::uint32_t> value;
};

class HighlightOnRealWorkbook : public ::testing::TestWithParam<Case> {};

} // namespace

TEST_P(HighlightOnRealWorkbook, ColoursExactlyTheRepeatedRows) {
    const Case& c = GetParam();
    auto office = sheet::libreoffice::MakeLibreOffice(HeadlessOptions());
    sheet::HighlightRequest request{Workbooks().people,
                                    "People!$B$2:$E$10",
                                    {c.kind, {true, true, false, false}, c.colour, c.entireRow}};
    auto result = sheet::HighlightWorkbook(*office, request);
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
            if (c.value && rows.count(row) != 0 && inColouredColumns) {
                expected = c.value;
            }
            EXPECT_EQ(result.workbook->fillOf(result.block, row, column), expected)
                << "row " << row << ", column " << column;
        }
    }
    EXPECT_EQ(result.summary.rowsColoured, c.value ? static_cast<std::int64_t>(rows.size()) : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, HighlightOnRealWorkbook,
    ::testing::Values(Case{"AllCompared", RunKind::AllDuplicates, false, "Yellow", 0x00FFFF},
                      Case{"AllEntireRow", RunKind::AllDuplicates, true, "Yellow", 0x00FFFF},
                      Case{"ExceptFirstCompared", RunKind::ExceptFirst, false, "Yellow", 0x00FFFF},
                      Case{"ExceptFirstEntireRow", RunKind::ExceptFirst, true, "Red", 0x0000FF},
                      Case{"Blue", RunKind::AllDuplicates, false, "Blue", 0xFF0000},
                      Case{"Green", RunKind::ExceptFirst, true, "Green", 0x00FF00},
                      Case{"NameOutsideTheTable", RunKind::AllDuplicates, true, "yellow",
                           std::nullopt}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(HighlightFailure, EndsTheInstanceAndSaysWhy) {
    auto office = sheet::libreoffice::MakeLibreOffice(HeadlessOptions());
    sheet::HighlightRequest tooNarrow{Workbooks().people,
                                      "People!$B$2:$E$10",
                                      {RunKind::AllDuplicates, {true, true}, "Yellow", false}};
    EXPECT_THROW(sheet::HighlightWorkbook(*office, tooNarrow), dupes::RunError);

    sheet::HighlightRequest badBlock{
        Workbooks().people, "Nobody!$B$2:$E$10", {RunKind::AllDuplicates, {true}, "Yellow", false}};
    EXPECT_THROW(sheet::HighlightWorkbook(*office, badBlock), sheet::SheetError);
    // The fixture checks after each test that no office is left running.
}
