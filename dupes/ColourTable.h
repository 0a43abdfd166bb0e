#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace dupes {

// The names offered in the colour list, in the order shown.
inline constexpr std::array<std::string_view, 4> kColourNames{"Yellow", "Red", "Blue", "Green"};

// The fill for a colour name, red in the lowest byte; none for any name
// outside the table. Names match exactly, case included.
std::optional<std::uint32_t> HighlightColourFor(std::string_view name);

} // namespace dupes
