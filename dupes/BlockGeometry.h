#pragma once

#include <cstdint>

namespace dupes {

// Where a block of cells stands on its worksheet, in sheet numbers counted
// from 1 (row 1 is the sheet's first row, column 1 its column A).
struct BlockGeometry {
    std::int32_t firstRow = 1;
    std::int32_t firstColumn = 1;
    std::int32_t lastRow = 1;
    std::int32_t lastColumn = 1;

    std::int32_t rowCount() const { return lastRow - firstRow + 1; }
    std::int32_t columnCount() const { return lastColumn - firstColumn + 1; }

    friend bool operator==(const BlockGeometry&, const BlockGeometry&) = default;
};

} // namespace dupes
