#include "ColourSpans.h"

namespace dupes {

RowColouring::RowColouring(const BlockGeometry& block, const std::vector<bool>& selectedColumns,
                           bool entireRow) {
    for (std::int32_t offset = 0; offset < block.columnCount(); ++offset) {
        if (!selectedColumns[static_cast<std::size_t>(offset)]) {
            continue;
        }
        const std::int32_t column = block.firstColumn + offset;
        if (!columnRuns_.empty() && columnRuns_.back().lastColumn + 1 == column) {
            columnRuns_.back().lastColumn = column;
        } else {
            columnRuns_.push_back(CellSpan{0, column, column});
        }
        ++cellsPerRow_;
    }
    if (entireRow && !columnRuns_.empty()) {
        columnRuns_.assign(1, CellSpan{0, block.firstColumn, block.lastColumn});
        cellsPerRow_ = block.columnCount();
    }
}

void RowColouring::appendSpans(std::int32_t row, std::vector<CellSpan>& out) const {
    for (const CellSpan& run : columnRuns_) {
        out.push_back(CellSpan{row, run.firstColumn, run.lastColumn});
    }
}

std::vector<CellSpan> BuildColourSpans(std::span<const std::uint32_t> rowOffsets,
                                       std::int32_t firstRow, const RowColouring& colouring) {
    std::vector<CellSpan> spans;
    spans.reserve(rowOffsets.size() * colouring.spansPerRow());
    for (const std::uint32_t offset : rowOffsets) {
        colouring.appendSpans(firstRow + static_cast<std::int32_t>(offset), spans);
    }
    return spans;
}

} // namespace dupes
