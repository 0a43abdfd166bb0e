// The groups a run lists and the colour it gives each group, against a plain
// grouping of the same texts and the cells the one-colour run fills.
#include "RandomRuns.h"
#include "dupes/FillOrder.h"
#include "dupes/GroupPalette.h"

#include <gtest/gtest.h>

#include <map>

namespace dupes_test {
namespace {

using dupes::RunKind;

// Rows grouped by their compared texts as the matching compares them: the
// groups of rows met more than once, in the order of their first rows.
std::vector<dupes::RowGroup> PlainGroups(const RandomRun& made) {
    std::map<std::vector<std::string>, std::size_t> indexOfKey;
    std::vector<dupes::RowGroup> all;
    const std::size_t first = made.options.kind == RunKind::ExceptFirst ? 1 : 0;
    for (std::size_t r = first; r < made.rows.size(); ++r) {
        std::vector<std::string> key, texts;
        for (std::size_t c = 0; c < made.rows[r].size(); ++c) {
            if (made.options.selectedColumns[c]) {
                texts.push_back(made.rows[r][c]);
                dupes::AppendComparable(made.rows[r][c], made.options.matching, key.emplace_back());
            }
        }
        const auto [at, added] = indexOfKey.emplace(key, all.size());
        if (added) {
            all.push_back({{}, texts});
        }
        all[at->second].rows.push_back(made.block.firstRow + static_cast<std::int32_t>(r));
    }
    std::erase_if(all, [](const dupes::RowGroup& group) { return group.rows.size() < 2; });
    return all;
}

TEST(Groups, MatchAPlainGroupingAndColourTheOneColourRunsCellsByGroup) {
    std::mt19937 random(20250601);
    for (int trial = 0; trial < 2000; ++trial) {
        SCOPED_TRACE("trial " + std::to_string(trial));
        RandomRun made = MakeRandomRun(random, 30);
        made.options.listGroups = true;
        made.options.colourPerGroup = Between(random, 0, 3) != 0;
        TableBlock bulk, walked;
        bulk.place(made.block.firstRow, made.block.firstColumn, made.rows);
        walked.place(made.block.firstRow, made.block.firstColumn, made.rows);

        const auto result =
            dupes::RunHighlightInFull(made.options, made.block, bulk, {}, made.sizes);
        const auto walkedSummary = dupes::RunHighlightCellByCell(made.options, made.block, walked);

        const std::vector<dupes::RowGroup> expected = PlainGroups(made);
        ASSERT_EQ(result.groups.size(), expected.size());
        std::map<std::int32_t, std::uint32_t> fillOfRow;
        for (std::size_t g = 0; g < expected.size(); ++g) {
            EXPECT_EQ(result.groups[g].rows, expected[g].rows);
            EXPECT_EQ(result.groups[g].firstRowTexts, expected[g].firstRowTexts);
            for (const std::int32_t row : expected[g].rows) {
                fillOfRow[row] = made.options.colourPerGroup
                                     ? dupes::GroupFill(static_cast<std::int64_t>(g) + 1)
                                     : dupes::ColourValue(made.options.colour);
            }
        }
        EXPECT_EQ(result.summary, walkedSummary);
        ASSERT_EQ(bulk.fills.size(), walked.fills.size());
        for (const auto& [cell, fill] : bulk.fills) {
            EXPECT_TRUE(walked.fills.contains(cell));
            EXPECT_EQ(fill, fillOfRow[cell.first]) << "row " << cell.first;
        }
        EXPECT_EQ(result.coloursUsed,
                  bulk.fills.empty() ? 0
                  : made.options.colourPerGroup
                      ? std::min<std::int64_t>(result.summary.duplicateGroups, 12)
                      : 1);
        if (HasFailure()) {
            return;
        }
    }
}

TEST(Groups, OneRequestAColourWhateverTheColourCount) {
    Rows rows;
    for (int r = 0; r < 60; ++r) {
        rows.push_back({std::to_string(r % 20)}); // 20 groups of three
    }
    TableBlock sheet;
    sheet.place(1, 1, rows);
    dupes::HighlightOptions options{RunKind::AllDuplicates, Selection("x")};
    options.colourPerGroup = true;
    const auto result = dupes::RunHighlightInFull(options, BlockAt(1, 1, rows), sheet);
    EXPECT_EQ(result.coloursUsed, 12);
    EXPECT_EQ(sheet.spanRequests.size(), 12u);
    EXPECT_EQ(result.summary.rowsColoured, 60);
}

TEST(GroupPalette, TwelveLightColoursThatDifferAndCycle) {
    const auto palette = dupes::GroupPalette();
    ASSERT_GE(palette.size(), 12u);
    for (std::int64_t group = 1; group <= 100; ++group) {
        EXPECT_NE(dupes::GroupFill(group), dupes::GroupFill(group + 1));
    }
    EXPECT_EQ(dupes::GroupFill(1), dupes::GroupFill(1 + static_cast<std::int64_t>(palette.size())));
    EXPECT_EQ(std::set<std::uint32_t>(palette.begin(), palette.end()).size(), palette.size());
}

struct Layout {
    const char* name;
    std::vector<dupes::RowsOfFill> fills;
    std::vector<std::uint32_t> firstRequestRows;

    friend void PrintTo(const Layout& layout, std::ostream* out) { *out << layout.name; }
};

class LaidOutFirst : public ::testing::TestWithParam<Layout> {};

// Colours A, B, C; rows listed per colour.
TEST_P(LaidOutFirst, PaintsEveryOtherRunOfEachStretchInTheFirstRequest) {
    const std::vector<dupes::RowsOfFill> sent = dupes::WithRunsLaidOutFirst(GetParam().fills);
    ASSERT_EQ(sent.size(), GetParam().fills.size());
    EXPECT_EQ(sent.front().rows, GetParam().firstRequestRows);
    for (std::size_t i = 1; i < sent.size(); ++i) {
        EXPECT_EQ(sent[i], GetParam().fills[i]); // the later requests as they were
    }
}

constexpr std::uint32_t A = 1, B = 2, C = 3;

INSTANTIATE_TEST_SUITE_P(
    Fills, LaidOutFirst,
    ::testing::Values(
        // B C B: both ends painted, the middle is bounded by them.
        Layout{"AlternateRunsOfAStretch", {{A, {9}}, {B, {0, 2}}, {C, {1}}}, {0, 2, 9}},
        // A B C B A: both A are painted, so neither B is, and C is.
        Layout{"AroundTheFirstColour", {{A, {0, 4}}, {B, {1, 3}}, {C, {2}}}, {0, 2, 4}}),
    [](const auto& param) { return std::string(param.param.name); });

} // namespace
} // namespace dupes_test
