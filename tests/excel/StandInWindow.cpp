// Stands in for Excel's process in the stop tests: makes a window, prints its
// handle on standard output and lives until it is ended, or until its
// standard input closes, as it does when the test that started it is gone.
// The window is message-only: Wine without a display makes no other kind,
// and only the process that owns it is asked of it.
#include <windows.h>

#include <cstdint>
#include <cstdio>

int main() {
    const HWND window = CreateWindowExW(0, L"STATIC", L"Excel stand-in", 0, 0, 0, 0, 0,
                                        HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (window == nullptr) {
        return 2;
    }
    std::printf("%lld\n", static_cast<long long>(reinterpret_cast<std::intptr_t>(window)));
    std::fflush(stdout);
    char ignored[64];
    while (std::fread(ignored, 1, sizeof ignored, stdin) > 0) {
    }
    return 0;
}
