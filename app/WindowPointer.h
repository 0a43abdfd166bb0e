#pragma once

// The values of the window's one mouse-pointer property.
namespace WindowPointer {

inline constexpr int Default = 0;
inline constexpr int Hourglass = 11;
// The picture loaded from HAND-M.CUR, or the arrow when there is none.
inline constexpr int Custom = 99;

// Where the mouse moved, for the hover rule.
enum class Area { Button, ColumnList, Background, Frame };

// The hover rule: over a button or the column list the custom pointer, over
// the background or Frame1's own area the default; nothing the mouse does
// replaces the hourglass.
constexpr int AfterMoveOver(Area area, int current) {
    if (current == Hourglass)
        return Hourglass;
    return area == Area::Button || area == Area::ColumnList ? Custom : Default;
}

} // namespace WindowPointer
