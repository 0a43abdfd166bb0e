#include "ColourTable.h"

namespace dupes {

std::optional<std::uint32_t> HighlightColourFor(std::string_view name) {
    // Values as the fill expects them: red in the lowest byte, blue above green.
    static constexpr std::array<std::uint32_t, kColourNames.size()> kValues{
        0x00FFFFu, // Yellow
        0x0000FFu, // Red
        0xFF0000u, // Blue
        0x00FF00u, // Green
    };
    for (std::size_t i = 0; i < kColourNames.size(); ++i) {
        if (kColourNames[i] == name) {
            return kValues[i];
        }
    }
    return std::nullopt;
}

} // namespace dupes
