#pragma once

#include "app/Form1Layout.h"

// The Win32 window's control identifiers: each control's place in the
// layout table, from 100 on, clear of the dialog manager's IDOK and IDCANCEL.
inline constexpr int firstControlId = 100;

constexpr int ControlId(Form1Layout::Control control) {
    return firstControlId + static_cast<int>(control);
}

// The window's class name, by which it can be found.
inline constexpr wchar_t form1WindowClass[] = L"VantreloForm1";
