#pragma once

#include <QRect>
#include <QSize>

#include <cmath>

// Where everything of Form1 stands, in twips (1/1440 inch), measured from the
// top-left of the window's client area, or of Frame1 for the controls inside
// it (its caption line included).
namespace Form1Layout {

struct Twips {
    int left, top, width, height;
};

inline constexpr int clientWidth = 6795;
inline constexpr int clientHeight = 5730;

inline constexpr Twips Label2{140, 150, 810, 225};
inline constexpr Twips txtExcelFile{1110, 120, 5160, 330};
inline constexpr Twips Check4{6350, 120, 325, 330};
inline constexpr Twips lblStartColumn0{140, 630, 1935, 240};
inline constexpr Twips txtSelection{2040, 600, 4230, 330};
inline constexpr Twips Check2{6350, 600, 325, 330};
inline constexpr Twips Frame1{120, 1080, 6550, 2055};
inline constexpr Twips List1{135, 360, 6240, 975};
inline constexpr Twips Check1{135, 1440, 3120, 400};
inline constexpr Twips Check3{3375, 1440, 3000, 400};
inline constexpr Twips lblStartColumn2{140, 3280, 1875, 225};
inline constexpr Twips Combo1{2160, 3240, 2130, 345};
inline constexpr Twips Check7{4560, 3280, 2100, 285};
inline constexpr Twips Check5{120, 3645, 3255, 1440};
inline constexpr Twips Check6{3480, 3645, 3195, 1440};
inline constexpr Twips ProgressBar1{120, 5205, 6555, 375};

inline constexpr double twipsPerInch = 1440.0;

// Twips to pixels at a logical resolution in dots per inch; at 96 DPI
// 15 twips make a pixel.
inline int toPixels(int twips, int dpi) {
    return static_cast<int>(std::lround(twips * dpi / twipsPerInch));
}

inline QRect toPixels(const Twips& box, int dpi) {
    return {toPixels(box.left, dpi), toPixels(box.top, dpi), toPixels(box.width, dpi),
            toPixels(box.height, dpi)};
}

inline QSize clientSize(int dpi) {
    return {toPixels(clientWidth, dpi), toPixels(clientHeight, dpi)};
}

} // namespace Form1Layout
