// Looks at the running Win32 window from outside, as a person would, for
// check-window.sh: the window's controls and their places against the layout
// table, clicks, a check box's value, the message box the window shows.
//
//   window_probe places         every control against the table; exit 1 if off
//   window_probe click NAME     presses a control as a click does
//   window_probe checked NAME   prints 1 or 0
//   window_probe message [keep] waits for a message box titled "Vantrelo",
//                               prints its text and width, and presses OK
//                               (unless told to keep it)
//   window_probe type NAME TEXT puts a text into a text box
//   window_probe where          prints the window's outer rectangle
//   window_probe close          asks the window to close
#include "app/win32/ControlIds.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

namespace L = Form1Layout;

// The window, waited for up to ten seconds.
HWND FindForm1() {
    for (int i = 0; i < 200; ++i) {
        if (HWND form = FindWindowW(form1WindowClass, nullptr))
            return form;
        Sleep(50);
    }
    std::fprintf(stderr, "window_probe: no Vantrelo window\n");
    std::exit(2);
}

const L::Place* PlaceNamed(std::string_view name) {
    for (const L::Place& place : L::places)
        if (place.name == name)
            return &place;
    std::fprintf(stderr, "window_probe: no control %s\n", std::string(name).c_str());
    std::exit(2);
}

// A child's rectangle in its parent's client area.
RECT RectIn(HWND parent, HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

int Places(HWND form) {
    const int dpi = static_cast<int>(GetDpiForWindow(form));
    RECT client{};
    GetClientRect(form, &client);
    const int width = L::toPixels(L::clientWidth, dpi);
    const int height = L::toPixels(L::clientHeight, dpi);
    int off = 0;
    // A label may be wider than the table: it reaches into the gap after it
    // rather than cut its text.
    const auto row = [&](const char* name, RECT got, L::Pixels want, bool wider = false) {
        const int left = static_cast<int>(got.left), top = static_cast<int>(got.top);
        const int wide = static_cast<int>(got.right - got.left);
        const int high = static_cast<int>(got.bottom - got.top);
        const int worst = std::max({std::abs(left - want.left), std::abs(top - want.top),
                                    wider && wide > want.width ? 0 : std::abs(wide - want.width),
                                    std::abs(high - want.height)});
        off += worst > 1 ? 1 : 0;
        std::printf("%-16s %4ld %4ld %4ld %4ld   %4d %4d %4d %4d   %s\n", name, got.left, got.top,
                    got.right - got.left, got.bottom - got.top, want.left, want.top, want.width,
                    want.height, worst > 1 ? "OFF" : "ok");
    };
    std::printf("at %d DPI            measured (left top width height)   table\n", dpi);
    row("client area", client, {0, 0, width, height});
    const RECT frame = RectIn(form, GetDlgItem(form, ControlId(L::Control::Frame1)));
    for (const L::Place& place : L::places) {
        RECT got = RectIn(form, GetDlgItem(form, ControlId(place.control)));
        // The controls inside Frame1 are placed from its top-left corner.
        if (place.inFrame)
            OffsetRect(&got, -frame.left, -frame.top);
        row(std::string(place.name).c_str(), got, L::toPixels(place.box, dpi),
            place.kind == L::Kind::Label);
    }
    return off == 0 ? 0 : 1;
}

int Message(bool keep) {
    for (int i = 0; i < 400; ++i) {
        if (HWND box = FindWindowW(L"#32770", L"Vantrelo")) {
            wchar_t text[1024] = {};
            GetDlgItemTextW(box, 0xFFFF, text, 1024);
            RECT outer{};
            GetWindowRect(box, &outer);
            std::printf("%ls\nwidth %ld\n", text, outer.right - outer.left);
            if (!keep)
                PostMessageW(box, WM_COMMAND, IDOK, 0);
            return 0;
        }
        Sleep(50);
    }
    std::fprintf(stderr, "window_probe: no message box\n");
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "message")
        return Message(argc > 2 && std::string_view(argv[2]) == "keep");
    HWND form = FindForm1();
    if (command == "places")
        return Places(form);
    if (command == "where") {
        RECT outer{};
        GetWindowRect(form, &outer);
        std::printf("%ld %ld %ld %ld\n", outer.left, outer.top, outer.right - outer.left,
                    outer.bottom - outer.top);
        return 0;
    }
    if (command == "close")
        return PostMessageW(form, WM_CLOSE, 0, 0) ? 0 : 1;
    if (argc > 2) {
        HWND control = GetDlgItem(form, ControlId(PlaceNamed(argv[2])->control));
        if (command == "click")
            return PostMessageW(control, BM_CLICK, 0, 0) ? 0 : 1;
        if (command == "type" && argc > 3)
            return SetWindowTextA(control, argv[3]) ? 0 : 1;
        if (command == "checked") {
            std::printf("%d\n", SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
            return 0;
        }
    }
    std::fprintf(stderr,
                 "usage: window_probe places|where|close|message|click NAME|checked NAME\n");
    return 2;
}
