#pragma once

#include <cstdint>

namespace sheet {

// Our colour values carry red in the lowest byte (0x00BBGGRR); the office's
// carry it in the highest of three (0xRRGGBB). The swap is its own inverse.
constexpr std::uint32_t SwapRedAndBlue(std::uint32_t colour) {
    return ((colour & 0xFFu) << 16) | (colour & 0xFF00u) | ((colour >> 16) & 0xFFu);
}

} // namespace sheet
