#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace dupes {

// The fills of a run that gives each group of repeated rows its own colour:
// ColorBrewer's qualitative scheme Set3 (Cynthia A. Brewer, colorbrewer2.org),
// twelve light colours made to be told apart side by side. Black text keeps
// a contrast of at least 6.9:1 on each. Red in the lowest byte.
std::span<const std::uint32_t> GroupPalette();
inline constexpr std::size_t kGroupPaletteSize = 12;

// The palette entry of group `number` (counted from 1): the palette in turn,
// starting again after its last colour, so groups next to each other never
// share one.
std::size_t GroupColourIndex(std::int64_t number);

// GroupPalette()[GroupColourIndex(number)].
std::uint32_t GroupFill(std::int64_t number);

} // namespace dupes
