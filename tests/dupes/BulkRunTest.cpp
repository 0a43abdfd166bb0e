// How the bulk run talks to the sheet: what it reads, in which pieces, what it
// reports, and how it sends its fills.
#include "RunSupport.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace dupes_test {
namespace {

using dupes::CellSpan;
using dupes::HighlightOptions;
using dupes::RunKind;
using Read = TableBlock::BulkRead;

// Ten rows at D3:G12. In the first and third columns, rows 4 and 7 from the
// top repeat row 0, row 3 repeats row 1, and rows 5 and 8 repeat row 2.
const Rows kRows{{"a", "x", "1", "q"}, {"b", "x", "2", "q"}, {"c", "x", "3", "q"},
                 {"b", "y", "2", "q"}, {"a", "y", "1", "q"}, {"c", "y", "3", "q"},
                 {"d", "x", "4", "q"}, {"a", "z", "1", "q"}, {"c", "z", "3", "q"},
                 {"e", "x", "5", "q"}};
const dupes::BlockGeometry kBlock = BlockAt(3, 4, kRows);

class BulkRun : public ::testing::Test {
protected:
    BulkRun() { sheet.place(kBlock.firstRow, kBlock.firstColumn, kRows); }

    dupes::RunSummary run(const HighlightOptions& options, dupes::BulkRequestSizes sizes) {
        return dupes::RunHighlight(
            options, kBlock, sheet,
            [this](dupes::RunStage stage, std::int64_t done, std::int64_t total) {
                progress.push_back({stage, done, total});
            },
            sizes);
    }

    TableBlock sheet;
    struct Step {
        dupes::RunStage stage;
        std::int64_t done, total;
        friend bool operator==(const Step&, const Step&) = default;
    };
    std::vector<Step> progress;
};

TEST_F(BulkRun, ReadsOnlyComparedColumnsInChunksAndReportsEach) {
    run({RunKind::AllDuplicates, Selection("x.x.")}, {4, 100});
    EXPECT_EQ(sheet.bulkReads,
              (std::vector<Read>{{3, 4, {4, 6}}, {7, 4, {4, 6}}, {11, 2, {4, 6}}}));
    EXPECT_EQ(sheet.singleCellReads, 0);
    using dupes::RunStage;
    EXPECT_EQ(progress, (decltype(progress){{RunStage::Reading, 4, 10},
                                            {RunStage::Reading, 8, 10},
                                            {RunStage::Reading, 10, 10},
                                            {RunStage::Finding, 10, 10},
                                            {RunStage::Colouring, 10, 10}}));
}

TEST_F(BulkRun, SparingFirstOccurrencesStartsReadingBelowTheFirstRow) {
    run({RunKind::ExceptFirst, Selection("x...")}, {5, 100});
    EXPECT_EQ(sheet.bulkReads, (std::vector<Read>{{4, 5, {4}}, {9, 4, {4}}}));
    ASSERT_EQ(progress.size(), 4u);
    EXPECT_EQ(progress[0], (Step{dupes::RunStage::Reading, 5, 9}));
    EXPECT_EQ(progress[1], (Step{dupes::RunStage::Reading, 9, 9}));
}

TEST_F(BulkRun, FillsInOneRequestOfSpansOrderedByRow) {
    run({RunKind::AllDuplicates, Selection("xx.x"), dupes::HighlightColour::Red}, {3, 100});
    // Rows repeat only when the second column is left out: nothing here.
    EXPECT_TRUE(sheet.spanRequests.empty());

    // Row 4 is the first of its texts once row 0 is left out.
    run({RunKind::ExceptFirst, Selection("x.xx"), dupes::HighlightColour::Red}, {3, 100});
    ASSERT_EQ(sheet.spanRequests.size(), 1u);
    EXPECT_EQ(sheet.spanRequests[0], (std::vector<CellSpan>{{6, 4, 4},
                                                            {6, 6, 7},
                                                            {8, 4, 4},
                                                            {8, 6, 7},
                                                            {10, 4, 4},
                                                            {10, 6, 7},
                                                            {11, 4, 4},
                                                            {11, 6, 7}}));
}

TEST_F(BulkRun, SplitsLongFillListsIntoSeveralRequests) {
    const auto summary = run(
        {RunKind::AllDuplicates, Selection("x.x."), dupes::HighlightColour::Blue, true}, {10, 3});
    std::vector<std::size_t> sizes;
    for (const auto& request : sheet.spanRequests) {
        sizes.push_back(request.size());
    }
    EXPECT_EQ(sizes, (std::vector<std::size_t>{3, 3, 2}));
    EXPECT_EQ(summary, (dupes::RunSummary{10, 8, 3, 32}));
}

TEST_F(BulkRun, NoComparedColumnReadsAndFillsNothingButCountsTheEmptyRowsAsRepeats) {
    const auto summary = run(
        {RunKind::ExceptFirst, Selection("...."), dupes::HighlightColour::Yellow, true}, {4, 4});
    EXPECT_TRUE(sheet.bulkReads.empty());
    EXPECT_TRUE(sheet.spanRequests.empty());
    EXPECT_EQ(progress.back(), (Step{dupes::RunStage::Colouring, 9, 9}));
    EXPECT_EQ(summary, (dupes::RunSummary{9, 0, 1, 0}));
}

TEST_F(BulkRun, RefusesAnAnswerWithTheWrongNumberOfTexts) {
    class ExtraText : public TableBlock {
        void readTexts(std::int32_t firstRow, std::int32_t rowCount,
                       const std::vector<std::int32_t>& columns, dupes::TextTable& out) override {
            TableBlock::readTexts(firstRow, rowCount, columns, out);
            out.append("stray");
        }
    } sheetWithExtra;
    EXPECT_THROW(
        dupes::RunHighlight({RunKind::AllDuplicates, Selection("x...")}, kBlock, sheetWithExtra),
        dupes::RunError);
}

TEST_F(BulkRun, RefusesEmptyRequests) {
    EXPECT_THROW(run({RunKind::AllDuplicates, Selection("x...")}, {0, 4}), std::invalid_argument);
    EXPECT_THROW(run({RunKind::AllDuplicates, Selection("x...")}, {4, 0}), std::invalid_argument);
}

} // namespace
} // namespace dupes_test
