#pragma once

#include "BlockText.h"
#include "dupes/BlockGeometry.h"

#include <optional>

namespace sheet {

// A block of whole columns ("$A:$F") or whole rows ("$2:$9") reaches the
// sheet's last row or column: a million empty rows that would all match each
// other. Such a block is cut to the sheet's used area, the smallest
// rectangle holding every cell with content (none for an empty sheet); it
// keeps at least its first row or column, the one that names the others.
// Any other block comes back unchanged.
dupes::BlockGeometry CutToUsedArea(const dupes::BlockGeometry& area,
                                   const std::optional<dupes::BlockGeometry>& used,
                                   const SheetLimits& limits);

} // namespace sheet
