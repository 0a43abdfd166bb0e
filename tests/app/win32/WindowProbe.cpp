// Looks at the running Win32 window from outside, as a person would, for
// check-window.sh and check-road.sh: the window's controls and their places
// against the layout table, clicks, what the controls hold, the message box
// the window shows, and the stand-in for Excel's processes.
//
//   window_probe places         every control against the table; exit 1 if off
//   window_probe click NAME     presses a control as a click does
//   window_probe checked NAME   prints 1 or 0
//   window_probe message [keep] waits for a message box titled "Vantrelo",
//                               prints its text and width, and presses OK
//                               (unless told to keep it)
//   window_probe message none   exit 1, printing it, if such a box shows
//                               within a second
//   window_probe type NAME TEXT puts a text into a text box
//   window_probe text NAME      prints a control's text
//   window_probe list NAME      prints a list's entries, one a line
//   window_probe centre NAME [ITEM]  prints where on the screen a control's
//                               (or a list entry's) centre is: x y
//   window_probe responds       exit 0 when the window answers within 2 s
//   window_probe progress       prints where the progress bar stands
//   window_probe where          prints the window's outer rectangle
//   window_probe close          asks the window to close
//   window_probe excel          prints how many stand-ins for Excel run, and
//                               how many of their windows show: N M
//   window_probe close-excel    closes the stand-ins' windows, as a user would
#include "app/win32/ControlIds.h"

#include <windows.h>

#include <commctrl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

namespace L = Form1Layout;

// The window, waited for up to half a minute: Wine may be slow to start it.
HWND FindForm1() {
    for (int i = 0; i < 600; ++i) {
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

// Wide text on standard output as UTF-8, whatever the console's code page.
void Print(std::wstring_view text) {
    const int size = static_cast<int>(text.size());
    std::string utf8(static_cast<std::size_t>(size) * 4, '\0');
    utf8.resize(static_cast<std::size_t>(
        WideCharToMultiByte(CP_UTF8, 0, text.data(), size, utf8.data(),
                            static_cast<int>(utf8.size()), nullptr, nullptr)));
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fputc('\n', stdout);
}

// Asked of the control itself: GetWindowText does not ask another process's.
std::wstring TextOf(HWND control) {
    std::wstring text(static_cast<std::size_t>(SendMessageW(control, WM_GETTEXTLENGTH, 0, 0)) + 1,
                      L'\0');
    text.resize(static_cast<std::size_t>(
        SendMessageW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

int Message(std::string_view how) {
    for (int i = 0; i < 400; ++i) {
        if (HWND box = FindWindowW(L"#32770", L"Vantrelo")) {
            wchar_t text[1024] = {};
            GetDlgItemTextW(box, 0xFFFF, text, 1024);
            RECT outer{};
            GetWindowRect(box, &outer);
            Print(text);
            std::printf("width %ld\n", outer.right - outer.left);
            if (how != "keep")
                PostMessageW(box, WM_COMMAND, IDOK, 0);
            return how == "none" ? 1 : 0;
        }
        if (how == "none" && i == 20)
            return 0; // none within a second
        Sleep(50);
    }
    std::fprintf(stderr, "window_probe: no message box\n");
    return 1;
}

constexpr wchar_t standInClass[] = L"VantreloExcelStandIn";

int Excel() {
    int running = 0;
    HANDLE all = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W process{};
    process.dwSize = sizeof process;
    for (BOOL more = Process32FirstW(all, &process); more; more = Process32NextW(all, &process))
        running += _wcsicmp(process.szExeFile, L"excel_stand_in.exe") == 0 ? 1 : 0;
    CloseHandle(all);
    int showing = 0;
    for (HWND w = FindWindowW(standInClass, nullptr); w;
         w = FindWindowExW(nullptr, w, standInClass, nullptr))
        showing += IsWindowVisible(w) ? 1 : 0;
    std::printf("%d %d\n", running, showing);
    return 0;
}

int CloseExcel() {
    while (HWND w = FindWindowW(standInClass, nullptr)) {
        PostMessageW(w, WM_CLOSE, 0, 0);
        for (int i = 0; i < 100 && IsWindow(w); ++i)
            Sleep(50);
        if (IsWindow(w))
            return 1;
    }
    return 0;
}

int Centre(HWND control, const char* item) {
    RECT rect{};
    if (item) {
        SendMessageW(control, LB_GETITEMRECT, static_cast<WPARAM>(std::atoi(item)),
                     reinterpret_cast<LPARAM>(&rect));
        MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    } else {
        GetWindowRect(control, &rect);
    }
    std::printf("%ld %ld\n", (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "message")
        return Message(argc > 2 ? argv[2] : "");
    if (command == "excel")
        return Excel();
    if (command == "close-excel")
        return CloseExcel();
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
    if (command == "progress") {
        std::printf("%d\n",
                    static_cast<int>(SendMessageW(
                        GetDlgItem(form, ControlId(L::Control::ProgressBar1)), PBM_GETPOS, 0, 0)));
        return 0;
    }
    if (command == "responds") {
        DWORD_PTR ignored = 0;
        return SendMessageTimeoutW(form, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored) ? 0 : 1;
    }
    if (argc > 2) {
        HWND control = GetDlgItem(form, ControlId(PlaceNamed(argv[2])->control));
        if (command == "click")
            return PostMessageW(control, BM_CLICK, 0, 0) ? 0 : 1;
        if (command == "type" && argc > 3)
            return SetWindowTextA(control, argv[3]) ? 0 : 1;
        if (command == "centre")
            return Centre(control, argc > 3 ? argv[3] : nullptr);
        if (command == "text") {
            Print(TextOf(control));
            return 0;
        }
        if (command == "list") {
            const auto count = SendMessageW(control, LB_GETCOUNT, 0, 0);
            for (WPARAM i = 0; i < static_cast<WPARAM>(count); ++i) {
                std::wstring entry(
                    static_cast<std::size_t>(SendMessageW(control, LB_GETTEXTLEN, i, 0)) + 1,
                    L'\0');
                entry.resize(static_cast<std::size_t>(
                    SendMessageW(control, LB_GETTEXT, i, reinterpret_cast<LPARAM>(entry.data()))));
                Print(entry);
            }
            return 0;
        }
        if (command == "checked") {
            std::printf("%d\n", SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
            return 0;
        }
    }
    std::fprintf(
        stderr,
        "usage: window_probe places|where|close|responds|progress|message|excel|close-excel|"
        "click NAME|checked NAME|text NAME|list NAME|centre NAME [ITEM]|type NAME TEXT\n");
    return 2;
}
