#pragma once

#include "dupes/BlockAccess.h"
#include "dupes/BlockGeometry.h"
#include "dupes/TextMatching.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dupes {

// Ends every entry of a position list.
inline constexpr std::string_view kFieldSeparator = "|Kestravon_1|";
// Stands between the row and the column of one position-list entry.
inline constexpr std::string_view kRowColumnSeparator = "|Kestravon_2|";

// What one row contributes to a run: the text it is compared by, and the
// cells that text was read from.
struct RowKeyAndPositions {
    // Every compared text prefixed by its length, so that two rows match
    // exactly when their compared texts are equal one by one; a text holding
    // a separator cannot shift a boundary between fields. Empty when no
    // column is compared.
    std::string rowKey;
    // "row|Kestravon_2|column|Kestravon_1|" for every compared cell, left to
    // right, in sheet numbers.
    std::string positionList;
};

// Reads the compared cells of sheet row `row` one by one, left to right;
// columns whose entry in `selectedColumns` is false are not read. The
// column list must hold an entry for every block column. Each text goes in
// as `matching` compares it.
RowKeyAndPositions BuildRowKey(const BlockGeometry& block, std::int32_t row,
                               const std::vector<bool>& selectedColumns, BlockAccess& access,
                               const TextMatching& matching = {});

} // namespace dupes
