// vantrelo.exe: the window, or with arguments the batch command. It is a
// console program, so that the batch command writes to the console it was
// started from and a script waits for it and reads its exit status; the
// window lets go of that console at once, and a console that Windows made
// just for it (started from Explorer) goes with it.
#include "cli/Main.h"
#include "app/win32/Win32Desktop.h"
#include "app/win32/Win32Form1.h"

#include <ole2.h>

int main(int argc, char** argv) {
    if (argc > 1)
        return cli::Main(argc, argv, cli::MainOptions{.windowWithoutArguments = true});
    FreeConsole();
    // The file dialog wants COM on the window's thread; each action's own
    // thread has an apartment of its own for Excel.
    const HRESULT com = OleInitialize(nullptr);
    int status = 1;
    {
        Win32Form1 form(DesktopServices());
        if (form.create(GetModuleHandleW(nullptr))) {
            form.show();
            MSG message;
            while (GetMessageW(&message, nullptr, 0, 0) > 0) {
                if (!form.takeDialogMessage(message)) {
                    TranslateMessage(&message);
                    DispatchMessageW(&message);
                }
            }
            status = 0;
        }
    }
    if (SUCCEEDED(com))
        OleUninitialize();
    return status;
}
