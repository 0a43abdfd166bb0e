// The highlight run in bulk: texts of the compared columns read a chunk of
// rows at a time, repeats found by hashing, and the cells to colour sent as
// spans in a few requests.
#include "HighlightRun.h"

#include "ColourSpans.h"
#include "ColourTable.h"
#include "DuplicateFinder.h"
#include "RunInputs.h"

#include <algorithm>
#include <span>
#include <string>

namespace dupes {
namespace {

std::vector<std::int32_t> ComparedColumns(const BlockGeometry& block,
                                          const std::vector<bool>& selectedColumns) {
    std::vector<std::int32_t> columns;
    for (std::int32_t offset = 0; offset < block.columnCount(); ++offset) {
        if (selectedColumns[static_cast<std::size_t>(offset)]) {
            columns.push_back(block.firstColumn + offset);
        }
    }
    return columns;
}

// A backend that answers with more or fewer texts than cells asked for would
// shift every later row against its neighbours.
void CheckTextCount(const TextTable& texts, std::int32_t rows, std::size_t columns) {
    const std::size_t asked = static_cast<std::size_t>(rows) * columns;
    if (texts.size() != asked) {
        throw RunError("The spreadsheet returned " + std::to_string(texts.size()) +
                       " cell texts where " + std::to_string(asked) + " were asked for.");
    }
}

void CheckSizes(const BulkRequestSizes& sizes) {
    if (sizes.rowsPerRead < 1 || sizes.rowsPerColourRequest < 1) {
        throw std::invalid_argument("Bulk requests must carry at least one row");
    }
}

} // namespace

RunSummary RunHighlight(const HighlightOptions& options, const BlockGeometry& block,
                        BlockAccess& access, const ProgressFunction& progress) {
    return RunHighlight(options, block, access, progress, BulkRequestSizes{});
}

RunSummary RunHighlight(const HighlightOptions& options, const BlockGeometry& block,
                        BlockAccess& access, const ProgressFunction& progress,
                        const BulkRequestSizes& sizes) {
    CheckRunInputs(options, block);
    CheckSizes(sizes);
    const std::vector<std::int32_t> columns = ComparedColumns(block, options.selectedColumns);
    const std::int32_t firstExaminedRow = block.firstRow + FirstExaminedOffset(options.kind);
    const std::int64_t total = RowsExamined(options.kind, block);
    const auto report = [&progress](RunStage stage, std::int64_t done, std::int64_t all) {
        if (progress) {
            progress(stage, done, all);
        }
    };

    // With no compared column every row is the same empty row: nothing to
    // read, yet the rows still count as repeats of each other.
    DuplicateFinder finder(columns.size(), static_cast<std::size_t>(total));
    TextTable chunk;
    for (std::int64_t done = 0; done < total;) {
        const auto rows =
            static_cast<std::int32_t>(std::min<std::int64_t>(sizes.rowsPerRead, total - done));
        chunk.clear();
        if (!columns.empty()) {
            access.readTexts(firstExaminedRow + static_cast<std::int32_t>(done), rows, columns,
                             chunk);
            CheckTextCount(chunk, rows, columns.size());
        }
        finder.addRows(chunk, static_cast<std::size_t>(rows));
        done += rows;
        report(RunStage::Reading, done, total);
    }
    report(RunStage::Finding, total, total);

    const std::vector<std::uint32_t> rowsToColour = options.kind == RunKind::AllDuplicates
                                                        ? finder.rowsSharingTheirTexts()
                                                        : finder.rowsRepeatingAnEarlierRow();
    report(RunStage::Colouring, total, total);
    const RowColouring colouring(block, options.selectedColumns, options.entireRow);
    RunSummary summary{.rowsExamined = total, .duplicateGroups = finder.duplicateGroups()};
    if (colouring.cellsPerRow() == 0) {
        return summary;
    }

    // Requests are never sent empty.
    const std::span<const std::uint32_t> all(rowsToColour);
    // The step is the count itself, so the default of "all at once" cannot overflow.
    for (std::size_t start = 0, count = 0; start < all.size(); start += count) {
        count = std::min(sizes.rowsPerColourRequest, all.size() - start);
        access.colourSpans(BuildColourSpans(all.subspan(start, count), firstExaminedRow, colouring),
                           ColourValue(options.colour));
    }
    summary.rowsColoured = static_cast<std::int64_t>(rowsToColour.size());
    summary.cellsColoured = summary.rowsColoured * colouring.cellsPerRow();
    return summary;
}

} // namespace dupes
