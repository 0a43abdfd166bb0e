// The bulk run must leave the sheet exactly as the cell-by-cell walk does.
// Random blocks over a small alphabet make repeats common; small and odd
// request sizes make chunk edges fall everywhere.
#include "RunSupport.h"

#include <gtest/gtest.h>

#include <random>

namespace dupes_test {
namespace {

using dupes::BlockGeometry;
using dupes::HighlightOptions;
using dupes::RunKind;

struct RandomRun {
    Rows rows;
    BlockGeometry block;
    HighlightOptions options;
    dupes::BulkRequestSizes sizes;
};

template <typename T> const T& PickFrom(std::mt19937& random, const std::vector<T>& choices) {
    return choices[std::uniform_int_distribution<std::size_t>(0, choices.size() - 1)(random)];
}

int Between(std::mt19937& random, int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
}

RandomRun MakeRandomRun(std::mt19937& random, int maxRows) {
    static const std::vector<std::string> texts{
        "", "a", "A", "a ", " a", "b", "1,00", "1", "|Kestravon_1|", "a|Kestravon_1|"};
    const int alphabet = Between(random, 1, static_cast<int>(texts.size()));
    RandomRun made;
    made.rows.resize(static_cast<std::size_t>(Between(random, 1, maxRows)));
    const auto width = static_cast<std::size_t>(Between(random, 1, 5));
    for (auto& row : made.rows) {
        for (std::size_t c = 0; c < width; ++c) {
            row.push_back(texts[static_cast<std::size_t>(Between(random, 0, alphabet - 1))]);
        }
    }
    made.block = BlockAt(Between(random, 1, 1000), Between(random, 1, 40), made.rows);
    made.options.kind = Between(random, 0, 1) == 0 ? RunKind::AllDuplicates : RunKind::ExceptFirst;
    made.options.selectedColumns.resize(width + static_cast<std::size_t>(Between(random, 0, 2)));
    for (std::size_t c = 0; c < made.options.selectedColumns.size(); ++c) {
        made.options.selectedColumns[c] = Between(random, 0, 2) != 0;
    }
    made.options.colour =
        PickFrom(random, std::vector<dupes::HighlightColour>(dupes::kHighlightColours.begin(),
                                                             dupes::kHighlightColours.end()));
    made.options.entireRow = Between(random, 0, 1) == 1;
    made.sizes.rowsPerRead = Between(random, 1, 9);
    made.sizes.rowsPerColourRequest = static_cast<std::size_t>(Between(random, 1, 9));
    return made;
}

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
