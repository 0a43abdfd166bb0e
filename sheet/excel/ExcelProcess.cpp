#include "ExcelProcess.h"

namespace sheet::excel {
namespace {

constexpr UINT kEndedByStop = 1; // the exit code of an Excel ended by a stop

} // namespace

ExcelProcess::ExcelProcess(const Dispatch& application, std::shared_ptr<StopSwitch> stop) {
    // A Long: window handles keep to 32 bits, also in a 64-bit Excel, and
    // widen back with their sign.
    const auto window =
        reinterpret_cast<HWND>(static_cast<INT_PTR>(Get(application, L"Hwnd").int32()));
    DWORD id = 0;
    if (GetWindowThreadProcessId(window, &id) == 0 || id == 0) {
        throw SheetError("Excel could not be started: its window could not be found (" +
                         SystemMessage(HRESULT_FROM_WIN32(GetLastError())) + ").");
    }
    // An Application served in our own process has no process of its own to
    // end; a real Excel always runs in its own.
    if (id == GetCurrentProcessId() || !stop) {
        return;
    }
    process_ = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
    if (process_ == nullptr) {
        throw SheetError("Excel could not be started: its process could not be reached (" +
                         SystemMessage(HRESULT_FROM_WIN32(GetLastError())) + ").");
    }
    // Runs at once when the switch was pulled while Excel started.
    onStop_ = stop->onPull([process = process_] { TerminateProcess(process, kEndedByStop); });
}

ExcelProcess::~ExcelProcess() {
    handOver();
}

void ExcelProcess::handOver() noexcept {
    onStop_ = {}; // first: once gone, its action neither runs nor is running
    if (process_ != nullptr) {
        CloseHandle(process_);
        process_ = nullptr;
    }
}

} // namespace sheet::excel
