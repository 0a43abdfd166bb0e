#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

// The highlighter picture of the two highlight buttons and the title bar
// (app/resources/highlighter.xpm, the same the Qt window shows), as a 32-bit
// bitmap with its transparency and as an icon. The caller owns what it gets.
HBITMAP HighlighterBitmap();
HICON HighlighterIcon();
