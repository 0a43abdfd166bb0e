#include "GroupPalette.h"

#include <array>

namespace dupes {
namespace {

// Set3 in its published order, written 0xBBGGRR: #8DD3C7 is 0xC7D38D.
constexpr std::array<std::uint32_t, kGroupPaletteSize> kSet3{
    0xC7D38Du, 0xB3FFFFu, 0xDABABEu, 0x7280FBu, 0xD3B180u, 0x62B4FDu,
    0x69DEB3u, 0xE5CDFCu, 0xD9D9D9u, 0xBD80BCu, 0xC5EBCCu, 0x6FEDFFu,
};

} // namespace

std::span<const std::uint32_t> GroupPalette() {
    return kSet3;
}

std::size_t GroupColourIndex(std::int64_t number) {
    const auto size = static_cast<std::int64_t>(kSet3.size());
    return static_cast<std::size_t>(((number - 1) % size + size) % size);
}

std::uint32_t GroupFill(std::int64_t number) {
    return kSet3[GroupColourIndex(number)];
}

} // namespace dupes
