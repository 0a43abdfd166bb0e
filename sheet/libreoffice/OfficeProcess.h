#pragma once

#include <chrono>
#include <string>
#include <sys/types.h>

namespace sheet::libreoffice {

struct OfficeProcessOptions {
    std::string programDir; // the office's program folder, holding soffice.bin
    bool headless = false;  // no windows at all: for tests and the batch command
};

// One private office process: its own temporary user profile and its own pipe
// name, so it never meets an office the user runs. Ending it removes the
// profile; a process handed over to the user keeps its profile until it has
// ended, when the next start cleans it up.
class OfficeProcess {
public:
    explicit OfficeProcess(const OfficeProcessOptions& options);
    ~OfficeProcess();
    OfficeProcess(const OfficeProcess&) = delete;
    OfficeProcess& operator=(const OfficeProcess&) = delete;

    // The UNO URL that reaches the process's component context.
    std::string connectUrl() const;

    // False once the process has exited. An exit asking for a restart (the
    // office does that after creating a new profile) restarts it, once.
    bool running();

    // Waits up to `timeout` for the process to exit by itself, then kills it,
    // and removes the profile.
    void end(std::chrono::milliseconds timeout);

    // The process is the user's from now on: it is neither waited for nor
    // killed, only reaped when it exits.
    void handOver();

    pid_t pid() const { return pid_; }

private:
    void spawn();
    bool reap(bool wait);

    OfficeProcessOptions options_;
    std::string profileDir_;
    std::string pipeName_;
    pid_t pid_ = -1;
    bool restarted_ = false;
    bool ending_ = false;
};

// Removes the profiles of private office processes that have since ended.
void RemoveStaleProfiles();

} // namespace sheet::libreoffice
