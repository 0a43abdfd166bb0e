#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace dupes {

// The rows that share their texts with another row, in groups: `firstRowOf`
// gives for every row (an index in the order fed) the first row with the
// same texts, as DuplicateFinder::firstRowOfEachRow() does. Groups come in
// the order of their first rows, each with its rows ascending, so the first
// row leads; rows whose texts occur once are in none.
std::vector<std::vector<std::uint32_t>>
GroupsOfRepeatedRows(const std::vector<std::uint32_t>& firstRowOf);

// The rows to colour for each palette colour when every group gets its own
// (GroupColourIndex of its number, counted from 1): entry i holds, ascending,
// the rows of the groups with colour i, their first rows left out when
// `spareFirstRows` is set. `rowCount` is how many rows were fed.
std::vector<std::vector<std::uint32_t>>
RowsByGroupColour(const std::vector<std::vector<std::uint32_t>>& groups, bool spareFirstRows,
                  std::size_t rowCount);

} // namespace dupes
