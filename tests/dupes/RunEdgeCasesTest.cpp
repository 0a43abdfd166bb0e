// The rules of both runs on small blocks, each case drawn as the block's texts
// and the picture of the cells expected to be filled. Every case runs under
// every run flavour, with copies of the block's texts just outside it so that
// reading or filling past its edges shows.
#include "RunSupport.h"
#include "dupes/ColourTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

namespace dupes_test {
namespace {

using dupes::RunKind;

struct EdgeCase {
    std::string name;
    RunKind kind;
    Rows rows;
    std::string selected; // as for Selection()
    std::vector<std::string> expectedFills;
    std::int64_t rowsExamined;
    std::int64_t duplicateGroups;
    bool entireRow = false;
    dupes::HighlightColour colour = dupes::HighlightColour::Yellow;
    std::int32_t topRow = 1;
    std::int32_t leftColumn = 1;

    friend void PrintTo(const EdgeCase& edge, std::ostream* out) { *out << edge.name; }
};

constexpr RunKind kAll = RunKind::AllDuplicates;
constexpr RunKind kExceptFirst = RunKind::ExceptFirst;
constexpr auto kRed = dupes::HighlightColour::Red;
constexpr auto kGreen = dupes::HighlightColour::Green;
constexpr auto kBlue = dupes::HighlightColour::Blue;

const std::vector<EdgeCase>& EdgeCases() {
    // Fields: name, kind, block texts, compared columns, expected fills,
    // rows examined, duplicate groups, then entire row, colour, top row and
    // left column where they differ from false, Yellow, 1, 1.
    // clang-format off
    static const std::vector<EdgeCase> cases{
        {"AllTwoEqualRowsBothFilled", kAll, {{"a", "1"}, {"b", "2"}, {"a", "1"}}, "xx",
         {"##", "..", "##"}, 3, 1},
        {"AllThreeEqualRowsAllFilled", kAll, {{"a"}, {"a"}, {"b"}, {"a"}}, "x",
         {"#", "#", ".", "#"}, 4, 1},
        {"AllFirstRowTakesPart", kAll, {{"Name"}, {"x"}, {"Name"}}, "x",
         {"#", ".", "#"}, 3, 1},
        {"AllInterleavedPairs", kAll, {{"h"}, {"a"}, {"b"}, {"a"}, {"b"}}, "x",
         {".", "#", "#", "#", "#"}, 5, 2},
        {"AllOneRowBlock", kAll, {{"a", "a"}}, "xx",
         {".."}, 1, 0},
        {"AllTwoEqualRows", kAll, {{"a"}, {"a"}}, "x",
         {"#", "#"}, 2, 1},
        {"AllUnselectedColumnsIgnored", kAll, {{"a", "1", "z"}, {"a", "2", "z"}, {"b", "1", "z"}}, "x.x",
         {"#.#", "#.#", "..."}, 3, 1},
        {"AllCaseAndOuterBlanksDiffer", kAll, {{"a"}, {"A"}, {"a "}, {" a"}, {"b"}}, "x",
         {".", ".", ".", ".", "."}, 5, 0},
        {"AllEmptyRowsEqual", kAll, {{"", ""}, {"x", ""}, {"", ""}}, "xx",
         {"##", "..", "##"}, 3, 1},
        {"AllEntireRowAcrossBlockOnly", kAll, {{"a", "1", "p"}, {"b", "2", "q"}, {"a", "3", "r"}}, "x..",
         {"###", "...", "###"}, 3, 1, true},
        {"AllNoColumnSelected", kAll, {{"a"}, {"a"}, {"a"}}, ".",
         {".", ".", "."}, 3, 1},
        {"AllNoColumnSelectedEntireRow", kAll, {{"a"}, {"a"}}, ".",
         {".", "."}, 2, 1, true},
        {"AllSeparatorInsideTextDoesNotMatch", kAll, {{"a|Kestravon_1|", "b"}, {"a", "|Kestravon_1|b"}}, "xx",
         {"..", ".."}, 2, 0},
        {"AllEntriesBeyondBlockIgnored", kAll, {{"a", "1"}, {"a", "2"}}, "x.x",
         {"#.", "#."}, 2, 1},
        {"AllBlockAwayFromA1", kAll, {{"a", "1"}, {"b", "2"}, {"c", "1"}}, ".x",
         {".#", "..", ".#"}, 3, 1, false, kRed, 7, 4},
        {"ExceptFirstOneRowBlock", kExceptFirst, {{"a"}}, "x",
         {"."}, 0, 0},
        {"ExceptFirstTwoRowBlock", kExceptFirst, {{"a"}, {"a"}}, "x",
         {".", "."}, 1, 0},
        {"ExceptFirstThreeEqualRows", kExceptFirst, {{"h"}, {"a"}, {"a"}, {"a"}}, "x",
         {".", ".", "#", "#"}, 3, 1},
        {"ExceptFirstInterleavedPairs", kExceptFirst, {{"h"}, {"a"}, {"b"}, {"a"}, {"b"}}, "x",
         {".", ".", ".", "#", "#"}, 4, 2},
        {"ExceptFirstFirstRowEqualToOneLaterRow", kExceptFirst, {{"a"}, {"b"}, {"a"}, {"c"}}, "x",
         {".", ".", ".", "."}, 3, 0},
        {"ExceptFirstFirstRowEqualToTwoLaterRows", kExceptFirst, {{"a"}, {"b"}, {"a"}, {"c"}, {"d"}, {"a"}}, "x",
         {".", ".", ".", ".", ".", "#"}, 5, 1},
        {"ExceptFirstEmptyRowsEqual", kExceptFirst, {{"h", "h"}, {"", ""}, {"", ""}, {"", ""}}, "xx",
         {"..", "..", "##", "##"}, 3, 1},
        {"ExceptFirstEntireRowSparesFirstOccurrence", kExceptFirst, {{"h", "h", "h"}, {"a", "1", "p"}, {"a", "2", "q"}}, "x..",
         {"...", "...", "###"}, 2, 1, true, kGreen, 3, 2},
        {"ExceptFirstNoColumnSelectedEntireRow", kExceptFirst, {{"a"}, {"a"}, {"a"}}, ".",
         {".", ".", "."}, 2, 1, true},
        {"ExceptFirstUnselectedColumnsIgnored", kExceptFirst, {{"h", "h"}, {"1", "a"}, {"2", "a"}}, ".x",
         {"..", "..", ".#"}, 2, 1, false, kBlue, 10, 5},
    };
    // clang-format on
    return cases;
}

class RunEdgeCases : public ::testing::TestWithParam<std::tuple<EdgeCase, RunFlavour>> {};

TEST_P(RunEdgeCases, FillsExactlyTheExpectedCells) {
    const auto& [edge, flavour] = GetParam();
    const dupes::BlockGeometry block = BlockAt(edge.topRow, edge.leftColumn, edge.rows);
    TableBlock sheet;
    // The first row again just above and below the block, and the first
    // column again beside it: any of them read would change the outcome.
    sheet.place(edge.topRow - 1, edge.leftColumn, {edge.rows.front()});
    sheet.place(block.lastRow + 1, edge.leftColumn, {edge.rows.front()});
    for (const std::int32_t column : {block.firstColumn - 1, block.lastColumn + 1}) {
        for (std::size_t r = 0; r < edge.rows.size(); ++r) {
            sheet.place(block.firstRow + static_cast<std::int32_t>(r), column, {{edge.rows[r][0]}});
        }
    }
    sheet.place(edge.topRow, edge.leftColumn, edge.rows);

    const dupes::HighlightOptions options{edge.kind, Selection(edge.selected), edge.colour,
                                          edge.entireRow};
    const dupes::RunSummary summary = flavour.run(options, block, sheet);

    EXPECT_EQ(FillPicture(sheet, block), edge.expectedFills);
    const std::uint32_t colour = dupes::ColourValue(edge.colour);
    for (const auto& [cell, fill] : sheet.fills) {
        EXPECT_TRUE(Inside(block, cell))
            << "filled outside the block: " << cell.first << "," << cell.second;
        EXPECT_EQ(fill, colour);
    }
    for (const Cell& cell : sheet.cellsRead) {
        ASSERT_TRUE(Inside(block, cell))
            << "read outside the block: " << cell.first << "," << cell.second;
        const auto offset = static_cast<std::size_t>(cell.second - block.firstColumn);
        EXPECT_TRUE(options.selectedColumns[offset]) << "read a column not compared";
        EXPECT_FALSE(edge.kind == kExceptFirst && cell.first == block.firstRow)
            << "read the row naming the columns";
    }

    std::int64_t rowsFilled = 0;
    std::int64_t cellsFilled = 0;
    for (const std::string& row : edge.expectedFills) {
        const auto filled = std::count(row.begin(), row.end(), '#');
        rowsFilled += filled > 0;
        cellsFilled += filled;
    }
    EXPECT_EQ(summary, (dupes::RunSummary{edge.rowsExamined, rowsFilled, edge.duplicateGroups,
                                          cellsFilled}));
}

INSTANTIATE_TEST_SUITE_P(, RunEdgeCases,
                         ::testing::Combine(::testing::ValuesIn(EdgeCases()),
                                            ::testing::ValuesIn(AllRunFlavours())),
                         [](const auto& named) {
                             return std::get<0>(named.param).name + "_" +
                                    std::get<1>(named.param).name;
                         });

} // namespace
} // namespace dupes_test
