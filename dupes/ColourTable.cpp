#include "ColourTable.h"

#include <cstddef>

namespace dupes {
namespace {

struct ColourEntry {
    std::string_view name;
    std::uint32_t value; // red in the lowest byte, blue above green
};

// Indexed by HighlightColour.
constexpr std::array<ColourEntry, kHighlightColours.size()> kTable{{
    {"Yellow", 0x00FFFFu},
    {"Red", 0x0000FFu},
    {"Blue", 0xFF0000u},
    {"Green", 0x00FF00u},
}};

const ColourEntry& EntryOf(HighlightColour colour) {
    return kTable[static_cast<std::size_t>(colour)];
}

} // namespace

std::string_view ColourName(HighlightColour colour) {
    return EntryOf(colour).name;
}

std::uint32_t ColourValue(HighlightColour colour) {
    return EntryOf(colour).value;
}

std::optional<HighlightColour> HighlightColourFor(std::string_view name) {
    for (const HighlightColour colour : kHighlightColours) {
        if (ColourName(colour) == name) {
            return colour;
        }
    }
    return std::nullopt;
}

} // namespace dupes
