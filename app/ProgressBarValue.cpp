#include "app/ProgressBarValue.h"

#include <algorithm>
#include <cmath>

namespace {

// Between reports the bar covers 63% of what is left of its stretch in
// this time, and never quite reaches the stretch's end.
constexpr double creepSeconds = 3.0;
constexpr double creepCeiling = 0.9;

double CreptShare(std::chrono::steady_clock::duration since) {
    const double seconds = std::chrono::duration<double>(since).count();
    return creepCeiling * (1.0 - std::exp(-std::max(seconds, 0.0) / creepSeconds));
}

} // namespace

ProgressBarValue::ProgressBarValue(StretchOf stretchOf, Clock::time_point start)
    : stretchOf_(stretchOf), enteredAt_(start) {}

void ProgressBarValue::report(const sheet::Progress& progress, Clock::time_point now) {
    const std::lock_guard lock(mutex_);
    if (!stageKnown_ || progress.stage != stage_) {
        stageKnown_ = true;
        stage_ = progress.stage;
        enterLocked(stretchOf_(progress.stage), now);
    }
    if (progress.total > 0) {
        const double share =
            static_cast<double>(std::clamp<std::int64_t>(progress.done, 0, progress.total)) /
            static_cast<double>(progress.total);
        // News goes on from where the news or the creep put the bar,
        // whichever is further.
        const double sofar = shareAt(now);
        if (share > reportedShare_) {
            reportedShare_ = std::max(share, sofar);
            enteredAt_ = now;
        }
    }
}

void ProgressBarValue::enter(Stretch stretch, Clock::time_point now) {
    const std::lock_guard lock(mutex_);
    stageKnown_ = false;
    enterLocked(stretch, now);
}

void ProgressBarValue::enterLocked(Stretch stretch, Clock::time_point now) {
    stretch_ = stretch;
    enteredAt_ = now;
    reportedShare_ = 0;
}

void ProgressBarValue::fill() {
    const std::lock_guard lock(mutex_);
    full_ = true;
}

double ProgressBarValue::shareAt(Clock::time_point now) const {
    return reportedShare_ + (1.0 - reportedShare_) * CreptShare(now - enteredAt_);
}

int ProgressBarValue::valueAt(Clock::time_point now) {
    const std::lock_guard lock(mutex_);
    if (full_) {
        shown_ = 100;
        return shown_;
    }
    const int value =
        stretch_.from + static_cast<int>(std::floor((stretch_.to - stretch_.from) * shareAt(now)));
    shown_ = std::max(shown_, std::min(value, 100));
    return shown_;
}

ProgressBarValue::Stretch ProgressBarValue::RunStretch(sheet::Stage stage) {
    return {sheet::PercentOfRun({stage, 0, 1}), sheet::PercentOfRun({stage, 1, 1})};
}

ProgressBarValue::Stretch ProgressBarValue::BlockChoiceStretch(sheet::Stage stage) {
    switch (stage) {
    case sheet::Stage::StartingOffice:
        return {0, 20};
    case sheet::Stage::LoadingWorkbook:
        return {20, blockChoiceAsking.from};
    default:
        // The block choice reads no rows and saves nothing.
        return blockChoiceListing;
    }
}
