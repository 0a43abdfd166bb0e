// HighlightBlock over the spreadsheet held in memory: which cells each run
// colours, and what a failing run leaves. What the office makes of the
// colours is in the contract cases and GatewayTest.
#include "sheet/HighlightBlock.h"
#include "Fills.h"
#include "MemorySpreadsheet.h"
#include "sheet/SheetError.h"

#include <gtest/gtest.h>
#include <set>

using dupes::RunKind;

namespace {

// The block People!B2:E10 compares Name and City (B and C). Its repeats:
// Ann/Oslo in rows 3, 5 and 9, Bob/Rome in 4 and 8, the header row 2 again
// in row 10; "ann" (row 6) and "Ann " (row 7) differ. Row 11 lies outside.
const std::set<int> kAllDuplicates{2, 3, 4, 5, 8, 9, 10};
const std::set<int> kExceptFirst{5, 8, 9};

memory_sheet::Book People() {
    memory_sheet::Book book;
    book.sheets.push_back({"Intro", {}});
    book.sheets.back().place(1, 1, {{"The data is on the next sheet."}});
    book.sheets.push_back({"People", {}});
    book.sheets.back()
        .place(2, 2,
               {{"Name", "City", "Age", "Note"},
                {"Ann", "Oslo", "30", "x"},
                {"Bob", "Rome", "41", "y"},
                {"Ann", "Oslo", "31", "z"},
                {"ann", "Oslo", "30", "x"},
                {"Ann ", "Oslo", "30", "x"},
                {"Bob", "Rome", "41", "w"},
                {"Ann", "Oslo", "30", "q"},
                {"Name", "City", "5", "n"}})
        .place(11, 2, {{"Ann", "Oslo"}});
    return book;
}

struct Case {
    const char* name;
    RunKind kind;
    bool entireRow;
    dupes::HighlightColour colour;
    std::uint32_t value;
};

class HighlightBlockRun : public ::testing::TestWithParam<Case> {
protected:
    HighlightBlockRun() { memory_.files["people.xlsx"] = People(); }
    memory_sheet::MemorySpreadsheet memory_;
};

} // namespace

TEST_P(HighlightBlockRun, ColoursExactlyTheRepeatedRows) {
    const Case& c = GetParam();
    const auto workbook = memory_.openWorkbook("people.xlsx");
    const sheet::Block block = workbook->findBlock("People!$B$2:$E$10");
    const dupes::RunSummary summary = sheet::HighlightBlock(
        *workbook, block, {c.kind, {true, true, false, false}, c.colour, c.entireRow});
    const auto& rows = c.kind == RunKind::AllDuplicates ? kAllDuplicates : kExceptFirst;

    // Every cell of the block and of a border of one cell around it.
    for (int row = 1; row <= 11; ++row) {
        for (int column = 1; column <= 6; ++column) {
            const bool inColouredColumns =
                c.entireRow ? column >= 2 && column <= 5 : column == 2 || column == 3;
            const bool coloured = rows.count(row) != 0 && inColouredColumns;
            EXPECT_EQ(FillOf(*workbook, block, row, column),
                      coloured ? std::optional<std::uint32_t>(c.value) : std::nullopt)
                << "row " << row << ", column " << column;
        }
    }
    EXPECT_EQ(summary.rowsColoured, static_cast<std::int64_t>(rows.size()));
}

INSTANTIATE_TEST_SUITE_P(Runs, HighlightBlockRun,
                         ::testing::Values(Case{"AllComparedYellow", RunKind::AllDuplicates, false,
                                                dupes::HighlightColour::Yellow, 0x00FFFF},
                                           Case{"AllEntireRowBlue", RunKind::AllDuplicates, true,
                                                dupes::HighlightColour::Blue, 0xFF0000},
                                           Case{"ExceptFirstComparedGreen", RunKind::ExceptFirst,
                                                false, dupes::HighlightColour::Green, 0x00FF00},
                                           Case{"ExceptFirstEntireRowRed", RunKind::ExceptFirst,
                                                true, dupes::HighlightColour::Red, 0x0000FF}),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(HighlightBlockFailure, SaysWhyAndEndsTheInstance) {
    memory_sheet::MemorySpreadsheet memory;
    memory.files["people.xlsx"] = People();
    {
        const auto workbook = memory.openWorkbook("people.xlsx");
        const sheet::Block block = workbook->findBlock("People!$B$2:$E$10");
        EXPECT_THROW(
            sheet::HighlightBlock(*workbook, block, {RunKind::AllDuplicates, {true, true}}),
            dupes::RunError);
        EXPECT_THROW(workbook->findBlock("Nobody!$B$2:$E$10"), sheet::SheetError);
        EXPECT_TRUE(memory.record().fills.at("People").empty());
    }
    EXPECT_EQ(memory.record().closed, 1);
}
