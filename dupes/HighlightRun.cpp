// The highlight run in bulk: texts of the compared columns read a chunk of
// rows at a time, repeats found by hashing, and the cells to colour sent as
// spans in a few requests.
#include "HighlightRun.h"

#include "ColourSpans.h"
#include "ColourTable.h"
#include "DuplicateFinder.h"
#include "FillOrder.h"
#include "GroupPalette.h"
#include "RowGroups.h"
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

// With a forgiving matching, the finder is fed the texts' comparable forms.
const TextTable& ComparedTexts(const TextTable& read, const TextMatching& matching,
                               TextTable& comparable) {
    if (matching.exact()) {
        return read;
    }
    comparable.clear();
    std::string form;
    for (std::size_t i = 0; i < read.size(); ++i) {
        form.clear();
        AppendComparable(read.cell(i), matching, form);
        comparable.append(form);
    }
    return comparable;
}

// The texts of every first occurrence as read, kept while the rows stream
// past, so that a group can show its first row as the sheet shows it.
class FirstOccurrenceTexts {
public:
    explicit FirstOccurrenceTexts(std::size_t fields) : fields_(fields) {}

    // Keeps the rows of `chunk`, fed to the finder from row `from` on, that
    // are first occurrences.
    void keep(const std::vector<std::uint32_t>& firstRowOf, std::size_t from,
              const TextTable& chunk) {
        for (std::size_t row = from; row < firstRowOf.size(); ++row) {
            if (firstRowOf[row] != row) {
                continue;
            }
            rows_.push_back(static_cast<std::uint32_t>(row));
            for (std::size_t field = 0; field < fields_; ++field) {
                texts_.append(chunk.cell((row - from) * fields_ + field));
            }
        }
    }

    std::vector<std::string> of(std::uint32_t row) const {
        const auto at = static_cast<std::size_t>(std::lower_bound(rows_.begin(), rows_.end(), row) -
                                                 rows_.begin());
        std::vector<std::string> texts;
        for (std::size_t field = 0; field < fields_; ++field) {
            texts.emplace_back(texts_.cell(at * fields_ + field));
        }
        return texts;
    }

private:
    std::size_t fields_;
    std::vector<std::uint32_t> rows_; // ascending
    TextTable texts_;
};

std::vector<RowsOfFill> FillsToSend(const HighlightOptions& options, const DuplicateFinder& finder,
                                    const std::vector<std::vector<std::uint32_t>>& groups) {
    std::vector<RowsOfFill> fills;
    if (!options.colourPerGroup) {
        fills.push_back({ColourValue(options.colour), options.kind == RunKind::AllDuplicates
                                                          ? finder.rowsSharingTheirTexts()
                                                          : finder.rowsRepeatingAnEarlierRow()});
        return fills;
    }
    auto byColour =
        RowsByGroupColour(groups, options.kind == RunKind::ExceptFirst, finder.rowsAdded());
    for (std::size_t colour = 0; colour < byColour.size(); ++colour) {
        fills.push_back({GroupPalette()[colour], std::move(byColour[colour])});
    }
    return fills;
}

} // namespace

RunSummary RunHighlight(const HighlightOptions& options, const BlockGeometry& block,
                        BlockAccess& access, const ProgressFunction& progress) {
    return RunHighlightInFull(options, block, access, progress).summary;
}

RunSummary RunHighlight(const HighlightOptions& options, const BlockGeometry& block,
                        BlockAccess& access, const ProgressFunction& progress,
                        const BulkRequestSizes& sizes) {
    return RunHighlightInFull(options, block, access, progress, sizes).summary;
}

HighlightResult RunHighlightInFull(const HighlightOptions& options, const BlockGeometry& block,
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
    const bool grouping = options.colourPerGroup || options.listGroups;
    DuplicateFinder finder(columns.size(), static_cast<std::size_t>(total), grouping);
    FirstOccurrenceTexts firstTexts(columns.size());
    TextTable chunk;
    TextTable comparable;
    for (std::int64_t done = 0; done < total;) {
        const auto rows =
            static_cast<std::int32_t>(std::min<std::int64_t>(sizes.rowsPerRead, total - done));
        chunk.clear();
        if (!columns.empty()) {
            access.readTexts(firstExaminedRow + static_cast<std::int32_t>(done), rows, columns,
                             chunk);
            CheckTextCount(chunk, rows, columns.size());
        }
        finder.addRows(ComparedTexts(chunk, options.matching, comparable),
                       static_cast<std::size_t>(rows));
        if (options.listGroups) {
            firstTexts.keep(finder.firstRowOfEachRow(), static_cast<std::size_t>(done), chunk);
        }
        done += rows;
        report(RunStage::Reading, done, total);
    }
    report(RunStage::Finding, total, total);

    HighlightResult result;
    result.summary = {.rowsExamined = total, .duplicateGroups = finder.duplicateGroups()};
    std::vector<std::vector<std::uint32_t>> groups;
    if (grouping) {
        groups = GroupsOfRepeatedRows(finder.firstRowOfEachRow());
    }
    if (options.listGroups) {
        for (const std::vector<std::uint32_t>& group : groups) {
            RowGroup& listed = result.groups.emplace_back();
            for (const std::uint32_t row : group) {
                listed.rows.push_back(firstExaminedRow + static_cast<std::int32_t>(row));
            }
            listed.firstRowTexts = firstTexts.of(group.front());
        }
    }
    if (!options.colourCells) {
        return result;
    }

    report(RunStage::Colouring, total, total);
    const RowColouring colouring(block, options.selectedColumns, options.entireRow);
    if (colouring.cellsPerRow() == 0) {
        return result;
    }
    std::vector<RowsOfFill> fills = FillsToSend(options, finder, groups);
    for (const RowsOfFill& request : fills) {
        result.summary.rowsColoured += static_cast<std::int64_t>(request.rows.size());
        result.coloursUsed += request.rows.empty() ? 0 : 1;
    }
    for (const RowsOfFill& request : WithRunsLaidOutFirst(std::move(fills))) {
        // Requests are never sent empty.
        const std::span<const std::uint32_t> all(request.rows);
        // The step is the count itself, so the default of "all at once" cannot overflow.
        for (std::size_t start = 0, count = 0; start < all.size(); start += count) {
            count = std::min(sizes.rowsPerColourRequest, all.size() - start);
            access.colourSpans(
                BuildColourSpans(all.subspan(start, count), firstExaminedRow, colouring),
                request.fill);
        }
    }
    result.summary.cellsColoured = result.summary.rowsColoured * colouring.cellsPerRow();
    return result;
}

} // namespace dupes
