#pragma once

#include "dupes/BlockAccess.h"
#include "dupes/BlockGeometry.h"
#include "dupes/HighlightRun.h"

namespace dupes {

// The highlight run walked literally, row by row, with one request per cell
// read and per cell coloured, keys kept whole in a KeyMap. Far too slow for a
// real spreadsheet, but plain enough to be the reference the shipped bulk run
// is proven equal to; it lives with the tests for that reason. It colours in
// one colour: the options for a colour per group and for groups are not its.
RunSummary RunHighlightCellByCell(const HighlightOptions& options, const BlockGeometry& block,
                                  BlockAccess& access);

} // namespace dupes
