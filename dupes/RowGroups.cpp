#include "RowGroups.h"

#include "GroupPalette.h"

#include <algorithm>
#include <limits>

namespace dupes {

std::vector<std::vector<std::uint32_t>>
GroupsOfRepeatedRows(const std::vector<std::uint32_t>& firstRowOf) {
    constexpr std::uint32_t kNoGroup = std::numeric_limits<std::uint32_t>::max();
    std::vector<std::uint32_t> members(firstRowOf.size(), 0);
    for (const std::uint32_t first : firstRowOf) {
        ++members[first];
    }
    // A first row always comes before the rows that repeat it, so its group
    // is opened before anything is added to it.
    std::vector<std::uint32_t> groupOf(firstRowOf.size(), kNoGroup);
    std::vector<std::vector<std::uint32_t>> groups;
    for (std::uint32_t row = 0; row < firstRowOf.size(); ++row) {
        const std::uint32_t first = firstRowOf[row];
        if (members[first] < 2) {
            continue;
        }
        if (first == row) {
            groupOf[row] = static_cast<std::uint32_t>(groups.size());
            groups.emplace_back().reserve(members[row]);
        }
        groups[groupOf[first]].push_back(row);
    }
    return groups;
}

std::vector<std::vector<std::uint32_t>>
RowsByGroupColour(const std::vector<std::vector<std::uint32_t>>& groups, bool spareFirstRows,
                  std::size_t rowCount) {
    constexpr std::uint8_t kUncoloured = std::numeric_limits<std::uint8_t>::max();
    static_assert(kGroupPaletteSize < kUncoloured, "palette entries must fit below the mark");
    // One pass over the rows afterwards keeps every colour's rows ascending,
    // the order the spreadsheet takes fills fastest in.
    std::vector<std::uint8_t> colourOf(rowCount, kUncoloured);
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const auto colour =
            static_cast<std::uint8_t>(GroupColourIndex(static_cast<std::int64_t>(g) + 1));
        for (std::size_t i = spareFirstRows ? 1 : 0; i < groups[g].size(); ++i) {
            colourOf[groups[g][i]] = colour;
        }
    }
    std::vector<std::vector<std::uint32_t>> byColour(std::min(groups.size(), kGroupPaletteSize));
    for (std::uint32_t row = 0; row < rowCount; ++row) {
        if (colourOf[row] != kUncoloured) {
            byColour[colourOf[row]].push_back(row);
        }
    }
    return byColour;
}

} // namespace dupes
