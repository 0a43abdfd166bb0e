#pragma once

#include "sheet/StopSwitch.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace cli {

class Interrupted : public std::runtime_error {
public:
    Interrupted() : std::runtime_error("interrupted; nothing was saved") {}
};

// While one lives, Ctrl+C, a termination request and a hang-up (the
// terminal closed) pull the run's stop switch, which kills its office at
// once, whatever the office is doing; the command then ends without saving.
// The signal handler only sets a flag; a watcher thread pulls the switch. A second request ends the
// program at once, the way the signal normally does: the office's watchdog then kills the office.
class InterruptGuard {
public:
    InterruptGuard();
    ~InterruptGuard();
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;

    // The switch to hand to the office.
    const std::shared_ptr<sheet::StopSwitch>& stopSwitch() const { return stop_; }

private:
    std::shared_ptr<sheet::StopSwitch> stop_;
    std::mutex mutex_;
    std::condition_variable ended_;
    bool done_ = false;
    std::thread watcher_;
};

bool WasInterrupted();

// The first signal that interrupted the run, or 0.
int InterruptSignal();

// Throws Interrupted once a request came in.
void ThrowIfInterrupted();

} // namespace cli
