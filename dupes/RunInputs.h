#pragma once

#include "BlockGeometry.h"
#include "HighlightRun.h"

#include <cstdint>

namespace dupes {

// Throws RunError, in words for the user, when a run cannot start: a block
// that ends before it starts or lies outside the sheet, or a column list
// with fewer entries than the block has columns.
void CheckRunInputs(const HighlightOptions& options, const BlockGeometry& block);

// Offset, from the block's top row, of the first row a run examines: the
// run that spares first occurrences leaves out the row naming the columns.
std::int32_t FirstExaminedOffset(RunKind kind);

// How many rows a run examines; never negative.
std::int64_t RowsExamined(RunKind kind, const BlockGeometry& block);

} // namespace dupes
