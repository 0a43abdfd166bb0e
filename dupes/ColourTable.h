#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace dupes {

// The highlight colours, in the order the colour list shows them. A run takes
// one of these, never a name: a name is turned into a colour once, where it
// comes in, so a misspelt one is refused there instead of colouring nothing.
enum class HighlightColour { Yellow, Red, Blue, Green };

inline constexpr std::array<HighlightColour, 4> kHighlightColours{
    HighlightColour::Yellow, HighlightColour::Red, HighlightColour::Blue, HighlightColour::Green};

// The name the colour list shows: "Yellow", "Red", "Blue" or "Green".
std::string_view ColourName(HighlightColour colour);

// The fill the colour stands for, red in the lowest byte, green next, blue above.
std::uint32_t ColourValue(HighlightColour colour);

// The colour a name stands for; none for any other name. Names match
// exactly, case included.
std::optional<HighlightColour> HighlightColourFor(std::string_view name);

} // namespace dupes
