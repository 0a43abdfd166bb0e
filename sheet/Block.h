#pragma once

#include "dupes/BlockGeometry.h"

#include <cstdint>
#include <string>
#include <vector>

namespace sheet {

// A block of cells resolved in an open workbook. A block of several areas
// keeps them all for its name; its geometry is its first area's.
struct Block {
    std::int32_t sheetIndex = 0; // position of the worksheet in the workbook, from 0
    std::string sheetName;
    std::vector<dupes::BlockGeometry> areas; // never empty

    const dupes::BlockGeometry& geometry() const { return areas.front(); }
};

// Throws SheetError, in words, for a block of several areas: its rows cannot
// be compared as one table, and running on its first area alone would drop
// the rest of what the user marked without a word.
void RequireOneArea(const Block& block);

} // namespace sheet
