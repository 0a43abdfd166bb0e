#include "StopSwitch.h"

#include <thread>

namespace sheet {

StopSwitch::Hook::~Hook() {
    release();
}

StopSwitch::Hook::Hook(Hook&& other) noexcept : owner_(other.owner_), id_(other.id_) {
    other.owner_ = nullptr;
}

StopSwitch::Hook& StopSwitch::Hook::operator=(Hook&& other) noexcept {
    if (this != &other) {
        release();
        owner_ = other.owner_;
        id_ = other.id_;
        other.owner_ = nullptr;
    }
    return *this;
}

void StopSwitch::Hook::release() noexcept {
    if (owner_ != nullptr) {
        const std::lock_guard lock(owner_->mutex_);
        owner_->actions_.erase(id_);
        owner_ = nullptr;
    }
}

void StopSwitch::pull() {
    const std::lock_guard lock(mutex_);
    if (pulled_.exchange(true)) {
        return;
    }
    for (const auto& [id, action] : actions_) {
        action();
    }
    changed_.notify_all();
}

StopSwitch::Hook StopSwitch::onPull(std::function<void()> action) {
    const std::lock_guard lock(mutex_);
    if (pulled_.load()) {
        action();
    }
    const std::uint64_t id = nextId_++;
    actions_.emplace(id, std::move(action));
    return Hook(this, id);
}

bool StopSwitch::waitFor(std::chrono::milliseconds time) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, time, [this] { return pulled_.load(); });
}

bool PulledWithin(const std::shared_ptr<StopSwitch>& stop, std::chrono::milliseconds time) {
    if (stop) {
        return stop->waitFor(time);
    }
    std::this_thread::sleep_for(time);
    return false;
}

} // namespace sheet
