#include "UsedArea.h"

#include <algorithm>

namespace sheet {

dupes::BlockGeometry CutToUsedArea(const dupes::BlockGeometry& area,
                                   const std::optional<dupes::BlockGeometry>& used,
                                   const SheetLimits& limits) {
    dupes::BlockGeometry cut = area;
    if (area.firstRow == 1 && area.lastRow >= limits.rows) {
        cut.lastRow = used ? std::max(area.firstRow, used->lastRow) : area.firstRow;
    }
    if (area.firstColumn == 1 && area.lastColumn >= limits.columns) {
        cut.lastColumn = used ? std::max(area.firstColumn, used->lastColumn) : area.firstColumn;
    }
    return cut;
}

} // namespace sheet
