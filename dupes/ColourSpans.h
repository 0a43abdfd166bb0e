#pragma once

#include "BlockGeometry.h"
#include "CellSpan.h"

#include <cstdint>
#include <span>
#include <vector>

namespace dupes {

// Which cells of a row a run colours, worked out once for the whole block:
// with the entire-row option the block's full width, otherwise each run of
// adjacent compared columns. With no compared column there is nothing to
// colour, whatever the option says.
class RowColouring {
public:
    // `selectedColumns` must hold an entry for every block column.
    RowColouring(const BlockGeometry& block, const std::vector<bool>& selectedColumns,
                 bool entireRow);

    std::int64_t cellsPerRow() const { return cellsPerRow_; }
    std::size_t spansPerRow() const { return columnRuns_.size(); }

    // Appends the spans of sheet row `row`, left to right.
    void appendSpans(std::int32_t row, std::vector<CellSpan>& out) const;

private:
    std::vector<CellSpan> columnRuns_; // row unused
    std::int64_t cellsPerRow_ = 0;
};

// The spans of the rows at `rowOffsets` counted from sheet row `firstRow`,
// in the order given.
std::vector<CellSpan> BuildColourSpans(std::span<const std::uint32_t> rowOffsets,
                                       std::int32_t firstRow, const RowColouring& colouring);

} // namespace dupes
