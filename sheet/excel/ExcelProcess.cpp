#include "ExcelProcess.h"

#include <utility>

namespace sheet::excel {
namespace {

constexpr UINT kEndedByStop = 1; // the exit code of an Excel ended by a stop
// How long an Excel told to quit, with every reference to it released, may
// take to end on its own before it is ended.
constexpr DWORD kQuitGraceMs = 10000;

std::string LastErrorInWords() {
    return SystemMessage(HRESULT_FROM_WIN32(GetLastError()));
}

} // namespace

ExcelProcess::ExcelProcess(const Dispatch& application, std::shared_ptr<StopSwitch> stop) {
    // A Long: window handles keep to 32 bits, also in a 64-bit Excel, and
    // widen back with their sign.
    const auto window =
        reinterpret_cast<HWND>(static_cast<INT_PTR>(Get(application, L"Hwnd").int32()));
    DWORD id = 0;
    if (GetWindowThreadProcessId(window, &id) == 0 || id == 0) {
        throw SheetError("Excel could not be started: its window could not be found (" +
                         LastErrorInWords() + ").");
    }
    // An Application served in our own process has no process of its own to
    // end; a real Excel always runs in its own.
    if (id == GetCurrentProcessId()) {
        return;
    }
    process_ = OpenProcess(PROCESS_TERMINATE | PROCESS_SET_QUOTA | SYNCHRONIZE, FALSE, id);
    if (process_ == nullptr) {
        throw SheetError("Excel could not be started: its process could not be reached (" +
                         LastErrorInWords() + ").");
    }
    try {
        tieToOurProcess();
    } catch (...) {
        CloseHandle(process_);
        throw;
    }
    if (stop) {
        // Runs at once when the switch was pulled while Excel started.
        onStop_ = stop->onPull([process = process_] { TerminateProcess(process, kEndedByStop); });
    }
}

void ExcelProcess::tieToOurProcess() {
    job_ = CreateJobObjectW(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (job_ == nullptr ||
        !SetInformationJobObject(job_, JobObjectExtendedLimitInformation, &limits, sizeof limits) ||
        !AssignProcessToJobObject(job_, process_)) {
        const std::string why = LastErrorInWords();
        if (job_ != nullptr) {
            CloseHandle(std::exchange(job_, nullptr)); // holds no process yet
        }
        throw SheetError("Excel could not be started: its process could not be tied to "
                         "Vantrelo's, so that it ends with it (" +
                         why + ").");
    }
}

ExcelProcess::~ExcelProcess() {
    if (job_ != nullptr) {
        // A stop meanwhile ends the wait: its hook is still there.
        WaitForSingleObject(process_, kQuitGraceMs);
        onStop_ = {};
        CloseHandle(job_); // ends whatever of Excel is left
    }
    handOver();
}

void ExcelProcess::handOver() noexcept {
    onStop_ = {}; // first: once gone, its action neither runs nor is running
    if (HANDLE job = std::exchange(job_, nullptr)) {
        // The process stays in the job, which no longer ends it. Were the
        // limit still set, closing would end the user's Excel: the handle
        // is then kept while we run.
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION none{};
        if (SetInformationJobObject(job, JobObjectExtendedLimitInformation, &none, sizeof none)) {
            CloseHandle(job);
        }
    }
    if (process_ != nullptr) {
        CloseHandle(std::exchange(process_, nullptr));
    }
}

} // namespace sheet::excel
