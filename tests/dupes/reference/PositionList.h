#pragma once

#include "dupes/BlockAccess.h"
#include "dupes/BlockGeometry.h"
#include "dupes/ColourTable.h"

#include <string_view>

namespace dupes {

// Colours, one request per cell (a span of one cell), the cells named by a
// position list made by BuildRowKey. With `entireRow`, every cell of each
// named row inside the block is coloured instead of the named cell alone.
// Throws std::invalid_argument for a malformed list.
void ColourPositionList(const BlockGeometry& block, std::string_view positionList,
                        HighlightColour colour, bool entireRow, BlockAccess& access);

} // namespace dupes
