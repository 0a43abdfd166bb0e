#include "app/win32/Pictures.h"

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <string_view>

namespace {

// An XPM file is C source: the picture's rows as an array of strings.
#include "app/resources/highlighter.xpm"

// Premultiplied BGRA, as 32-bit bitmaps with transparency want it; 0 for
// "None".
std::uint32_t PixelOf(std::string_view colour) {
    unsigned rgb = 0;
    if (colour.size() != 7 || colour[0] != '#' ||
        std::sscanf(std::string(colour.substr(1)).c_str(), "%x", &rgb) != 1)
        return 0;
    return 0xFF000000u | rgb;
}

// A top-down 32-bit DIB section of the picture.
HBITMAP DecodeXpm(const char* const* xpm) {
    int width = 0, height = 0, colours = 0, perPixel = 0;
    if (std::sscanf(xpm[0], "%d %d %d %d", &width, &height, &colours, &perPixel) != 4 ||
        perPixel != 1)
        return nullptr;
    std::map<char, std::uint32_t> palette;
    for (int i = 1; i <= colours; ++i) {
        const std::string_view line = xpm[i];
        const auto colour = line.find(" c ");
        palette[line[0]] = colour == std::string_view::npos ? 0 : PixelOf(line.substr(colour + 3));
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap)
        return nullptr;
    auto* pixels = static_cast<std::uint32_t*>(bits);
    for (int y = 0; y < height; ++y) {
        const char* row = xpm[1 + colours + y];
        for (int x = 0; x < width; ++x)
            pixels[y * width + x] = palette[row[x]];
    }
    return bitmap;
}

} // namespace

HBITMAP HighlighterBitmap() {
    return DecodeXpm(highlighter_xpm);
}

HICON HighlighterIcon() {
    HBITMAP colour = HighlighterBitmap();
    BITMAP size{};
    GetObjectW(colour, sizeof(size), &size);
    // The alpha channel decides; the mask only has to be there.
    HBITMAP mask = CreateBitmap(size.bmWidth, size.bmHeight, 1, 1, nullptr);
    ICONINFO icon{TRUE, 0, 0, mask, colour};
    HICON result = CreateIconIndirect(&icon);
    DeleteObject(mask);
    DeleteObject(colour);
    return result;
}
