#include "Interrupt.h"

#include <atomic>
#include <chrono>
#include <csignal>

namespace cli {
namespace {

#ifdef SIGHUP
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
#else
constexpr int kSignals[] = {SIGINT, SIGTERM};
#endif

// Lock-free atomics, which a signal handler may touch.
std::atomic<int> firstSignal{0};
std::atomic<int> requests{0};
static_assert(std::atomic<int>::is_always_lock_free);

// Only notes the request; the second one ends the program as the signal
// normally does.
void NoteInterrupt(int signal) {
    if (requests.fetch_add(1) > 0) {
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    firstSignal.store(signal);
}

} // namespace

InterruptGuard::InterruptGuard() : stop_(std::make_shared<sheet::StopSwitch>()) {
    firstSignal = 0;
    requests = 0;
    for (const int signal : kSignals) {
        std::signal(signal, NoteInterrupt);
    }
    // A handler cannot pull the switch itself (that takes locks and kills):
    // this thread does, within a few milliseconds of the request.
    watcher_ = std::thread([this] {
        std::unique_lock lock(mutex_);
        while (!done_) {
            if (firstSignal.load() != 0) {
                stop_->pull();
                return;
            }
            ended_.wait_for(lock, std::chrono::milliseconds(10));
        }
    });
}

InterruptGuard::~InterruptGuard() {
    for (const int signal : kSignals) {
        std::signal(signal, SIG_DFL);
    }
    {
        const std::lock_guard lock(mutex_);
        done_ = true;
    }
    ended_.notify_all();
    watcher_.join();
}

bool WasInterrupted() {
    return firstSignal.load() != 0;
}

int InterruptSignal() {
    return firstSignal.load();
}

void ThrowIfInterrupted() {
    if (WasInterrupted()) {
        throw Interrupted();
    }
}

} // namespace cli
