#pragma once

#include <cstdint>

namespace dupes {

// Cells of one worksheet row, from firstColumn to lastColumn inclusive, in
// sheet numbers. A run's colouring is a list of these, so that a whole row
// costs one entry however wide the block is.
struct CellSpan {
    std::int32_t row = 1;
    std::int32_t firstColumn = 1;
    std::int32_t lastColumn = 1;

    friend bool operator==(const CellSpan&, const CellSpan&) = default;
};

} // namespace dupes
