#pragma once

#include "OfficeWatchdog.h"
#include "sheet/StopSwitch.h"

#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <sys/types.h>
#include <vector>

namespace sheet::libreoffice {

struct OfficeProcessOptions {
    std::string programDir; // the office's program folder, holding soffice.bin
    bool headless = false;  // no windows at all: for tests and the batch command
    // Pulling it kills the process at once, from any thread; may be null.
    std::shared_ptr<StopSwitch> stop;
};

// One private office process: its own temporary user profile and its own pipe
// name, so it never meets an office the user runs. Its temporary files go
// into that profile too. Ending it removes the profile; a watchdog kills it
// and removes the profile when our process ends any other way. A process
// handed over to the user keeps its profile until it has ended.
class OfficeProcess {
public:
    explicit OfficeProcess(const OfficeProcessOptions& options);
    ~OfficeProcess();
    OfficeProcess(const OfficeProcess&) = delete;
    OfficeProcess& operator=(const OfficeProcess&) = delete;

    // The UNO URL that reaches the process's component context, over the
    // pipe of this name.
    std::string connectUrl() const;
    const std::string& pipeName() const { return pipeName_; }

    // The process's private folder, removed with it.
    const std::string& profileDir() const { return profileDir_; }

    // False once the process has exited. An exit asking for a restart (the
    // office does that after creating a new profile) restarts it, once.
    bool running();

    // Waits up to `timeout` for the process to exit by itself (not at all
    // once the stop switch is pulled), then kills it, and removes the profile.
    void end(std::chrono::milliseconds timeout);

    // The pipe files in /tmp an office of this profile and pipe name makes
    // (its UNO pipe and its single-instance pipe), known before it starts so
    // that they are removed with it however it ends.
    std::vector<std::string> pipeFiles() const;
    // The pipe files the running office listens on, found through /proc.
    std::vector<std::string> listeningPipes() const;
    // Notes any pipe the running office listens on that `pipeFiles` did not
    // foresee, so that it too is removed with it. Call once it answers.
    void noteSockets();

    // The process is the user's from now on: it is neither waited for nor
    // killed, not even by the stop switch, only reaped when it exits.
    void handOver();

    // Whether the stop switch was pulled; throws Stopped when it was.
    bool stopRequested() const;
    void throwIfStopped() const;
    // Sleeps up to `time`; true, at once, when the stop switch is pulled.
    bool stoppedWithin(std::chrono::milliseconds time) const;

    pid_t pid() const { return pid_; }

private:
    void spawn();
    bool reap(bool wait);
    void kill();

    OfficeProcessOptions options_;
    std::string profileDir_;
    std::string pipeName_;
    std::vector<std::string> sockets_;
    pid_t pid_ = -1;
    bool restarted_ = false;
    bool ending_ = false;
    std::unique_ptr<OfficeWatchdog> watchdog_;
    // The pid the stop switch may kill: set while the process can be
    // signalled, cleared before it is reaped, so a reused pid is never hit.
    std::mutex killableMutex_;
    pid_t killable_ = -1;
    StopSwitch::Hook stopHook_;
};

// Removes the profiles of private office processes that have since ended.
void RemoveStaleProfiles();

} // namespace sheet::libreoffice
