#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <string_view>

// What Form1 is made of and where everything stands, the same for every
// face: each control's name, caption, place in twips (1/1440 inch), own font
// and picture, and the keyboard focus order. Places are measured from the
// top-left of the window's client area, or of Frame1 for the controls inside
// it (its caption line included).
namespace Form1Layout {

// Every control of the window, in the order of the table below.
enum class Control {
    Label2,
    txtExcelFile,
    Check4,
    lblStartColumn0,
    txtSelection,
    Check2,
    Frame1,
    List1,
    Check1,
    Check3,
    lblStartColumn2,
    Combo1,
    Check7,
    Check5,
    Check6,
    ProgressBar1,
};

enum class Kind { Label, TextBox, Button, Frame, List, DropDown, CheckBox, ProgressBar };

// The picture a button carries above its caption.
enum class Picture { None, Blank, Highlighter };

struct Twips {
    int left, top, width, height;
};

struct Pixels {
    int left, top, width, height;
    friend bool operator==(const Pixels&, const Pixels&) = default;
};

struct Place {
    Control control;
    // The control's name; both labels of the one label group share theirs.
    std::string_view name;
    Kind kind;
    std::string_view caption;
    bool inFrame;
    Twips box;
    // A size in points of a font of its own (Arial, bold), or 0 for the
    // window's font.
    double ownFontPoints;
    Picture picture;
};

inline constexpr double buttonFontPoints = 11.25;
inline constexpr double windowFontPoints = 9.0;
inline constexpr std::string_view fontFamily = "Arial";
inline constexpr int clientWidth = 6795;
inline constexpr int clientHeight = 5730;
inline constexpr int pictureSide = 32;

inline constexpr std::array<Place, 16> places{{
    {Control::Label2,
     "Label2",
     Kind::Label,
     "Excel file:",
     false,
     {140, 150, 810, 225},
     0,
     Picture::None},
    {Control::txtExcelFile,
     "txtExcelFile",
     Kind::TextBox,
     "",
     false,
     {1110, 120, 5160, 330},
     0,
     Picture::None},
    {Control::Check4,
     "Check4",
     Kind::Button,
     "...",
     false,
     {6350, 120, 325, 330},
     buttonFontPoints,
     Picture::Blank},
    {Control::lblStartColumn0,
     "lblStartColumn",
     Kind::Label,
     "Select block of cells:",
     false,
     {140, 630, 1935, 240},
     0,
     Picture::None},
    {Control::txtSelection,
     "txtSelection",
     Kind::TextBox,
     "",
     false,
     {2040, 600, 4230, 330},
     0,
     Picture::None},
    {Control::Check2,
     "Check2",
     Kind::Button,
     "...",
     false,
     {6350, 600, 325, 330},
     buttonFontPoints,
     Picture::Blank},
    {Control::Frame1,
     "Frame1",
     Kind::Frame,
     "Select columns to look at when finding duplicate rows",
     false,
     {120, 1080, 6550, 2055},
     0,
     Picture::None},
    {Control::List1, "List1", Kind::List, "", true, {135, 360, 6240, 975}, 0, Picture::None},
    {Control::Check1,
     "Check1",
     Kind::Button,
     "Select All",
     true,
     {135, 1440, 3120, 400},
     buttonFontPoints,
     Picture::Blank},
    {Control::Check3,
     "Check3",
     Kind::Button,
     "Unselect All",
     true,
     {3375, 1440, 3000, 400},
     buttonFontPoints,
     Picture::Blank},
    {Control::lblStartColumn2,
     "lblStartColumn",
     Kind::Label,
     "Color to highlight with:",
     false,
     {140, 3280, 1875, 225},
     0,
     Picture::None},
    {Control::Combo1,
     "Combo1",
     Kind::DropDown,
     "",
     false,
     {2160, 3240, 2130, 345},
     0,
     Picture::None},
    {Control::Check7,
     "Check7",
     Kind::CheckBox,
     "Highlight entire row",
     false,
     {4560, 3280, 2100, 285},
     0,
     Picture::None},
    {Control::Check5,
     "Check5",
     Kind::Button,
     "Highlight Duplicates Except For First One",
     false,
     {120, 3645, 3255, 1440},
     buttonFontPoints,
     Picture::Highlighter},
    {Control::Check6,
     "Check6",
     Kind::Button,
     "Highlight All Duplicates",
     false,
     {3480, 3645, 3195, 1440},
     buttonFontPoints,
     Picture::Highlighter},
    {Control::ProgressBar1,
     "ProgressBar1",
     Kind::ProgressBar,
     "",
     false,
     {120, 5205, 6555, 375},
     0,
     Picture::None},
}};

inline constexpr std::array<Control, 11> focusOrder{
    Control::txtExcelFile, Control::Check4, Control::txtSelection, Control::Check2,
    Control::List1,        Control::Check1, Control::Check3,       Control::Combo1,
    Control::Check5,       Control::Check6, Control::Check7};

inline constexpr const Place& placeOf(Control control) {
    return places[static_cast<std::size_t>(control)];
}

inline constexpr double twipsPerInch = 1440.0;

// Twips to pixels at a resolution in dots per inch; at 96 DPI 15 twips make
// a pixel.
inline int toPixels(double twips, int dpi) {
    return static_cast<int>(std::lround(twips * dpi / twipsPerInch));
}

// Where a control stands relative to its parent's top-left: the window's
// client area, or Frame1.
inline Pixels toPixels(const Twips& box, int dpi) {
    return {toPixels(box.left, dpi), toPixels(box.top, dpi), toPixels(box.width, dpi),
            toPixels(box.height, dpi)};
}

// Where a control stands in the window's client area, the controls inside
// Frame1 moved by the frame's place.
inline Pixels inClientArea(const Place& place, int dpi) {
    Pixels pixels = toPixels(place.box, dpi);
    if (place.inFrame) {
        const Pixels frame = toPixels(placeOf(Control::Frame1).box, dpi);
        pixels.left += frame.left;
        pixels.top += frame.top;
    }
    return pixels;
}

// A font size in points as a character height in pixels.
inline int fontPixels(double points, int dpi) {
    return static_cast<int>(std::lround(points * dpi / 72.0));
}

} // namespace Form1Layout
