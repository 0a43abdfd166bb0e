// Our side of an office's guard: the program vantrelo-office-guard, which
// starts the office as its own child and ends it with us however our process
// ends (a crash, SIGKILL, a second Ctrl+C, a closed terminal), then removes
// the office's leftovers. It is the one place that ends an office we start
// and removes what it leaves, on every way out.
#pragma once

#include "OfficeLeftovers.h"
#include "sheet/StopSwitch.h"

#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace sheet::libreoffice {

// What the guard and its process tell each other: one word a message, sent whole.
struct GuardWord {
    enum : char {
        Started = 's',  // from the guard, `number` the office's pid: it runs (again)
        Failed = 'f',   // `number` an errno: it could not be started
        Exited = 'x',   // `number` its wait status: it has ended for good
        Kill = 'k',     // to the guard: kill it at once, and never restart it
        End = 'e',      // `number` milliseconds to wait for it to end, then kill it
        HandOver = 'h', // it is the user's: never kill it
    } what;
    long long number = 0;
};

class OfficeGuard {
public:
    // Starts the guard, which starts the office (`arguments`, the program's
    // full path first) with `environment`, and returns once it runs. Throws
    // SheetError when either cannot be started. From then on a pulled `stop`
    // (may be null) kills the office at once, until it is handed over.
    OfficeGuard(const OfficeLeftovers& leftovers, std::vector<std::string> arguments,
                std::vector<std::string> environment, const std::shared_ptr<StopSwitch>& stop);
    // Ends the office at once, unless it was handed over.
    ~OfficeGuard();
    OfficeGuard(const OfficeGuard&) = delete;
    OfficeGuard& operator=(const OfficeGuard&) = delete;

    // Waits up to `time` for the office to end for good (one that asks to be
    // started again, as it does once after making a new profile, is); whether
    // it has, and how (a wait status).
    bool exitedWithin(std::chrono::milliseconds time);
    std::optional<int> exitStatus() const { return exitStatus_; }
    // The office's process, the latest when it was started again.
    pid_t office() const { return office_; }

    // Kills the office at once, from any thread; it is not started again.
    void kill();
    // Waits up to `grace` for the office to end by itself, kills it then, and
    // returns once its leftovers are removed. A kill() meanwhile cuts the
    // wait short.
    void end(std::chrono::milliseconds grace);
    // The office is the user's: the guard never kills it, only waits for it
    // to end and then removes its leftovers.
    void handOver();

private:
    void say(GuardWord word);

    std::mutex socketMutex_; // kill() may come from another thread
    int socket_ = -1;
    pid_t guard_ = -1;
    pid_t office_ = -1;
    std::optional<int> exitStatus_;
    StopSwitch::Hook stopHook_; // last: let go of first
};

} // namespace sheet::libreoffice
