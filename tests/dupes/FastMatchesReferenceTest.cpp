// The bulk run must leave the sheet exactly as the cell-by-cell walk does,
// under every matching.
#include "RandomRuns.h"

#include <gtest/gtest.h>

#include <random>

namespace dupes_test {
namespace {

using dupes::RunKind;

void ExpectBulkEqualsCellByCell(const RandomRun& made, const dupes::BulkRequestSizes& sizes) {
    TableBlock walked;
    TableBlock bulk;
    for (TableBlock* sheet : {&walked, &bulk}) {
        sheet->place(made.block.firstRow, made.block.firstColumn, made.rows);
    }
    const auto walkedSummary = dupes::RunHighlightCellByCell(made.options, made.block, walked);
    const auto bulkSummary = dupes::RunHighlight(made.options, made.block, bulk, {}, sizes);
    EXPECT_EQ(bulk.fills, walked.fills);
    EXPECT_EQ(bulkSummary, walkedSummary);
}

TEST(FastMatchesReference, OnRandomSmallBlocks) {
    std::mt19937 random(20240611);
    for (int trial = 0; trial < 3000; ++trial) {
        const RandomRun made = MakeRandomRun(random, 30);
        SCOPED_TRACE("trial " + std::to_string(trial));
        ExpectBulkEqualsCellByCell(made, made.sizes);
        if (HasFailure()) {
            return;
        }
    }
}

TEST(FastMatchesReference, OnBlocksLongerThanOneDefaultRead) {
    std::mt19937 random(7);
    RandomRun made = MakeRandomRun(random, 1);
    made.rows.clear();
    for (int r = 0; r < dupes::BulkRequestSizes{}.rowsPerRead + 3000; ++r) {
        made.rows.push_back({std::to_string(Between(random, 0, 300)), "x"});
    }
    made.block = BlockAt(3, 2, made.rows);
    made.options.selectedColumns = Selection("x.");
    made.options.colour = dupes::HighlightColour::Yellow;
    for (const RunKind kind : {RunKind::AllDuplicates, RunKind::ExceptFirst}) {
        made.options.kind = kind;
        ExpectBulkEqualsCellByCell(made, dupes::BulkRequestSizes{});
    }
}

} // namespace
} // namespace dupes_test
