// The stand-in for Excel served from a process of its own, as Excel is: a
// COM local server registered as "Excel.Application", answering from
// FakeExcelModel, the same model the in-process tests use. Its workbooks
// are the text files of StandInWorkbookFile.h, which also say what it is
// to do (answer the input box, stay busy, crash) and where it records the
// fills it is given.
//
//   excel_stand_in.exe /regserver    registers it (HKEY_CLASSES_ROOT) in this prefix
//   excel_stand_in.exe /unregserver  removes that
//   excel_stand_in.exe -Embedding    as COM starts it: one Application
//
// Like Excel it registers its class for a single use, so that each new
// Application is a process of its own, and has a top-level window, which
// Application.Hwnd names and Visible shows; closing that window, as a user
// closes Excel, or Application.Quit ends the process. Excel would first ask
// whether to save a changed workbook; the stand-in never does.
#include "FakeExcelModel.h"
#include "StandInWorkbookFile.h"

#include <algorithm>
#include <fstream>
#include <string>

namespace {

using namespace std::chrono;

// This stand-in's own class, not Excel's: only the ProgID is shared.
constexpr CLSID kStandInClass = {
    0xC9B6E314, 0x4F1E, 0x4E9F, {0xAF, 0x8B, 0x7F, 0x6A, 0xED, 0x2F, 0x74, 0x63}};
constexpr wchar_t kClassKey[] = L"CLSID\\{C9B6E314-4F1E-4E9F-AF8B-7F6AED2F7463}";
constexpr wchar_t kWindowClass[] = L"VantreloExcelStandIn";

// What the open workbook told the stand-in to do, and its record.
struct Script {
    fake::StandInScript told;
    steady_clock::time_point busyUntil;
    std::ofstream record;

    void note(const std::string& line) {
        if (record.is_open()) {
            record << line << '\n' << std::flush;
        }
    }
};
Script script;

bool SetDefaultValue(const std::wstring& key, const std::wstring& value) {
    return RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, REG_SZ, value.c_str(),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) ==
           ERROR_SUCCESS;
}

int Register() {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring key = kClassKey;
    return SetDefaultValue(key, L"Stand-in for Microsoft Excel (Vantrelo's tests)") &&
                   SetDefaultValue(key + L"\\LocalServer32",
                                   L"\"" + std::wstring(self) + L"\" -Embedding") &&
                   SetDefaultValue(key + L"\\ProgID", L"Excel.Application") &&
                   SetDefaultValue(L"Excel.Application\\CLSID", kClassKey + 6)
               ? 0
               : 1;
}

int Unregister() {
    RegDeleteTreeW(HKEY_CLASSES_ROOT, kClassKey);
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L"Excel.Application");
    return 0;
}

// COM objects are never deleted through their interfaces.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
#endif
class Factory final : public fake::Unowned<IClassFactory, IID_IClassFactory> {
public:
    explicit Factory(fake::FakeExcelModel& excel) : excel_(excel) {}
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
        *object = nullptr;
        return outer != nullptr ? CLASS_E_NOAGGREGATION
                                : excel_.start()->QueryInterface(riid, object);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    fake::FakeExcelModel& excel_;
};

// A busy Excel (a cell being edited, a dialog open) answers "retry later".
// It also answers late: Wine 8 runs a call despite "retry later" ("retry
// call later not implemented"), and the wait is then the only busy it shows.
class BusyFilter final : public fake::Unowned<IMessageFilter, IID_IMessageFilter> {
public:
    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO call) override {
        const auto left = duration_cast<milliseconds>(script.busyUntil - steady_clock::now());
        // Only the object model's calls: whether Excel also refuses COM's
        // own (IRemUnknown's counts) while busy, its documentation does not say.
        if (left.count() <= 0 || call == nullptr || !IsEqualIID(call->iid, IID_IDispatch)) {
            return SERVERCALL_ISHANDLED;
        }
        Sleep(static_cast<DWORD>(std::min<milliseconds::rep>(left.count(), 250)));
        script.note("retry-later");
        return SERVERCALL_RETRYLATER;
    }
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD) override {
        return static_cast<DWORD>(-1); // it calls no one
    }
    DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override {
        return PENDINGMSG_WAITDEFPROCESS;
    }
};
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND MakeWindow() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = kWindowClass;
    RegisterClassW(&windowClass);
    return CreateWindowExW(0, kWindowClass, L"Excel stand-in", WS_OVERLAPPEDWINDOW, 0, 0, 480, 320,
                           nullptr, nullptr, windowClass.hInstance, nullptr);
}

// Acts on what the workbook told it, around the model's own answers.
void FollowTheScript(fake::FakeExcelModel& excel) {
    excel.readFile = [](const std::filesystem::path& file) {
        fake::StandInWorkbook read = fake::ReadStandInWorkbook(file);
        script.told = read.script;
        if (!script.told.record.empty()) {
            script.record.open(script.told.record, std::ios::app | std::ios::binary);
        }
        script.busyUntil = steady_clock::now() + script.told.busy;
        return read.book;
    };
    excel.onCall = [&excel](const std::string& label, const fake::FakeObject::Record& call) {
        if (label == "Interior" && script.told.crashWhenColouring) {
            script.note("crash");
            TerminateProcess(GetCurrentProcess(), 3);
        }
        if (label == "Application" && call.member == L"Visible" &&
            call.flags == DISPATCH_PROPERTYPUT) {
            ShowWindow(excel.window, call.arguments.at(0).get().boolVal ? SW_SHOW : SW_HIDE);
        }
        // Excel ends once the caller has let go; here at once after the answer.
        if (label == "Application" && call.member == L"Quit") {
            PostQuitMessage(0);
        }
    };
    excel.onFill = [](const std::string& sheet, const dupes::BlockGeometry& area,
                      std::uint32_t colour) {
        for (std::int32_t row = area.firstRow; row <= area.lastRow; ++row) {
            for (std::int32_t column = area.firstColumn; column <= area.lastColumn; ++column) {
                script.note("fill\t" + sheet + "\t" + std::to_string(row) + "\t" +
                            std::to_string(column) + "\t" + std::to_string(colour));
            }
        }
    };
}

int Serve() {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        return 2;
    }
    int status = 2;
    {
        fake::FakeExcelModel excel([](const std::string&) { return script.told.inputBoxAnswer; });
        excel.log().journalling = false;
        excel.window = MakeWindow();
        FollowTheScript(excel);
        Factory factory(excel);
        BusyFilter filter;
        CoRegisterMessageFilter(&filter, nullptr);
        DWORD cookie = 0;
        if (excel.window != nullptr &&
            SUCCEEDED(CoRegisterClassObject(kStandInClass, &factory, CLSCTX_LOCAL_SERVER,
                                            REGCLS_SINGLEUSE, &cookie))) {
            MSG message;
            while (GetMessageW(&message, nullptr, 0, 0) > 0) {
                DispatchMessageW(&message);
            }
            CoRevokeClassObject(cookie);
            status = 0;
        }
        CoRegisterMessageFilter(nullptr, nullptr);
    }
    CoUninitialize();
    return status;
}

} // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "/regserver") {
        return Register();
    }
    if (command == "/unregserver") {
        return Unregister();
    }
    return Serve();
}
