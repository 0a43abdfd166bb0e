// Writes HAND-M.CUR, the program's hand pointer, beside the executable at
// build time. The drawing is the pattern below: '#' black, 'o' white, '.'
// transparent; the hotspot is the tip of the raised finger.
//
// Usage: make_hand_cursor <output file>

#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string_view>
#include <vector>

namespace {

constexpr int side = 32;
constexpr int hotspotX = 5;
constexpr int hotspotY = 0;

// Rows not listed are transparent; columns past a row's end too.
constexpr std::array<std::string_view, 20> hand = {
    ".....##",          "....#oo#",         "....#oo#",         "....#oo#",
    "....#oo#",         "....#oo###",       "....#oo#oo###",    "....#oo#oo#oo##",
    "....#oo#oo#oo#o#", ".##.#oo#oo#oo#o#", "#oo##oooooooooo#", "#ooo#oooooooooo#",
    ".#oo#oooooooooo#", "..#oooooooooooo#", "..#ooooooooooo#",  "...#oooooooooo#",
    "...#ooooooooo#",   "....#oooooooo#",   "....#oooooooo#",   "....##########",
};

char pixel(int x, int y) {
    if (y >= static_cast<int>(hand.size()))
        return '.';
    const std::string_view row = hand[static_cast<std::size_t>(y)];
    return x < static_cast<int>(row.size()) ? row[static_cast<std::size_t>(x)] : '.';
}

void put16(std::vector<std::uint8_t>& out, unsigned value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFFu));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFFu));
}

void put32(std::vector<std::uint8_t>& out, unsigned value) {
    put16(out, value & 0xFFFFu);
    put16(out, value >> 16);
}

// One 1-bit plane, rows bottom-up as BMP stores them, 32 pixels = 4 bytes.
void putPlane(std::vector<std::uint8_t>& out, bool (*bit)(char)) {
    for (int y = side - 1; y >= 0; --y) {
        for (int byte = 0; byte < side / 8; ++byte) {
            unsigned bits = 0;
            for (int i = 0; i < 8; ++i)
                bits = (bits << 1) | (bit(pixel(byte * 8 + i, y)) ? 1u : 0u);
            out.push_back(static_cast<std::uint8_t>(bits));
        }
    }
}

std::vector<std::uint8_t> cursorFile() {
    constexpr unsigned planeBytes = side * side / 8;
    constexpr unsigned infoHeaderBytes = 40;
    constexpr unsigned paletteBytes = 2 * 4;
    constexpr unsigned imageBytes = infoHeaderBytes + paletteBytes + 2 * planeBytes;
    constexpr unsigned directoryBytes = 6 + 16;

    std::vector<std::uint8_t> out;
    put16(out, 0); // reserved
    put16(out, 2); // a cursor, not an icon
    put16(out, 1); // one image
    out.push_back(side);
    out.push_back(side);
    out.push_back(2); // colours
    out.push_back(0);
    put16(out, hotspotX);
    put16(out, hotspotY);
    put32(out, imageBytes);
    put32(out, directoryBytes);

    put32(out, infoHeaderBytes);
    put32(out, side);
    put32(out, 2 * side); // the colour plane and the mask stacked
    put16(out, 1);        // planes
    put16(out, 1);        // bits per pixel
    put32(out, 0);        // no compression
    put32(out, 2 * planeBytes);
    put32(out, 0);
    put32(out, 0);
    put32(out, 2);
    put32(out, 0);
    put32(out, 0x00000000); // palette: black
    put32(out, 0x00FFFFFF); //          white

    putPlane(out, [](char c) { return c == 'o'; }); // colour: white where 'o'
    putPlane(out, [](char c) { return c == '.'; }); // mask: see-through where '.'
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: make_hand_cursor <output file>\n", stderr);
        return 2;
    }
    const std::vector<std::uint8_t> bytes = cursorFile();
    std::ofstream file(argv[1], std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    if (!file) {
        std::fprintf(stderr, "make_hand_cursor: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
