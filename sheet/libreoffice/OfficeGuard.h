// Our side of an office's guard: the program vantrelo-office-guard, which
// starts the office as its own child and ends it with us, however our
// process ends (a crash, SIGKILL, a second Ctrl+C, a closed terminal), then
// removes the office's leftovers. It is the one place that ends an office
// we start and removes what it leaves, on every way out.
#pragma once

#include "OfficeLeftovers.h"

#include <chrono>
#include <mutex>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace sheet::libreoffice {

class OfficeGuard {
public:
    // Starts the guard, which starts the office (`arguments`, the program's
    // full path first) with `environment`, and returns once it runs. Throws
    // SheetError when either cannot be started.
    OfficeGuard(const OfficeLeftovers& leftovers, std::vector<std::string> arguments,
                std::vector<std::string> environment);
    // Ends the office at once, unless it was handed over.
    ~OfficeGuard();
    OfficeGuard(const OfficeGuard&) = delete;
    OfficeGuard& operator=(const OfficeGuard&) = delete;

    // False once the office has ended for good: an office that asks to be
    // started again (as it does once after making a new profile) is.
    bool running() { return !exitedWithin(std::chrono::milliseconds(0)); }
    // Waits up to `time` for the office to end; whether it has.
    bool exitedWithin(std::chrono::milliseconds time);
    // How it ended (a wait status), once it has.
    std::optional<int> exitStatus() const { return exitStatus_; }
    // The office's process, the latest when it was started again.
    pid_t office() const { return office_; }

    // Kills the office at once, from any thread; it is not started again.
    void kill();
    // Waits up to `grace` for the office to end by itself, kills it then,
    // and returns once its leftovers are removed. A kill() meanwhile cuts
    // the wait short.
    void end(std::chrono::milliseconds grace);
    // The office is the user's: the guard never kills it, only waits for it
    // to end and then removes its leftovers.
    void handOver();

private:
    void say(std::string_view word, long number = -1);
    void hangUp();

    std::mutex socketMutex_; // kill() may come from another thread
    int socket_ = -1;
    pid_t guard_ = -1;
    pid_t office_ = -1;
    std::optional<int> exitStatus_;
};

// The guard program's path: in libexec/vantrelo beside the folder of the
// running program, or of the folder above it (where the build puts it for
// the tests); empty when it is in neither.
std::string OfficeGuardProgram();

} // namespace sheet::libreoffice
