#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>

namespace sheet {

// Lets one thread end another thread's office work at once: a Ctrl+C seen
// by a watcher thread must not wait for a UNO call that may never return.
// Shared as std::shared_ptr<StopSwitch> between whoever may stop a run and
// the backend doing it.
//
// A backend registers what ending its office at once means (killing its
// process). Those actions run on the thread that pulls the switch, while
// the switch's lock is held, so they must only do thread-safe, quick things
// such as sending a signal to a pid, and must not touch the switch itself.
// Once a Hook has been destroyed its action is neither running nor run.
class StopSwitch {
public:
    class Hook {
    public:
        Hook() = default;
        ~Hook();
        Hook(Hook&& other) noexcept;
        Hook& operator=(Hook&& other) noexcept;
        Hook(const Hook&) = delete;
        Hook& operator=(const Hook&) = delete;

    private:
        friend class StopSwitch;
        Hook(StopSwitch* owner, std::uint64_t id) : owner_(owner), id_(id) {}
        void release() noexcept;
        StopSwitch* owner_ = nullptr;
        std::uint64_t id_ = 0;
    };

    StopSwitch() = default;
    StopSwitch(const StopSwitch&) = delete;
    StopSwitch& operator=(const StopSwitch&) = delete;

    // Any thread; the first call runs every registered action, later calls
    // do nothing.
    void pull();
    bool pulled() const { return pulled_.load(); }

    // Registers `action` until the returned hook is destroyed. When the
    // switch is already pulled the action runs at once, here. The hook must
    // not outlive the switch.
    [[nodiscard]] Hook onPull(std::function<void()> action);

    // Sleeps up to `time`; true when the switch was pulled, before or meanwhile.
    bool waitFor(std::chrono::milliseconds time) const;

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::atomic<bool> pulled_{false};
    std::uint64_t nextId_ = 1;
    std::map<std::uint64_t, std::function<void()>> actions_;
};

// Sleeps up to `time` on a switch that may be null; true when it was pulled.
bool PulledWithin(const std::shared_ptr<StopSwitch>& stop, std::chrono::milliseconds time);

} // namespace sheet
