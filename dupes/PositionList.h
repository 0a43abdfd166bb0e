#pragma once

#include "BlockAccess.h"
#include "BlockGeometry.h"

#include <string_view>

namespace dupes {

// Colours, one request per cell, the cells named by a position list made by
// BuildRowKey, in the colour HighlightColourFor gives `colourName`. With
// `entireRow`, every cell of each named row inside the block is coloured
// instead of the named cell alone. A colour name outside the colour table
// colours nothing. Throws std::invalid_argument for a malformed list.
void ColourPositionList(const BlockGeometry& block, std::string_view positionList,
                        std::string_view colourName, bool entireRow, BlockAccess& access);

} // namespace dupes
