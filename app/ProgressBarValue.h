#pragma once

#include "sheet/Progress.h"

#include <chrono>
#include <mutex>

// How far ProgressBar1 stands during an action, 0 to 100. The action goes
// through stretches of the bar, one per stage; the office's reports move the
// bar within a stretch, and between reports the bar creeps on by time
// towards the stretch's end, so a load the office says nothing about still
// shows as moving. It never moves back.
//
// report() and enter() may be called from any thread (the office reports
// from its own), valueAt() from the window's.
class ProgressBarValue {
public:
    using Clock = std::chrono::steady_clock;

    // A stretch of the bar, in percent; a stretch of no length holds the bar.
    struct Stretch {
        int from = 0;
        int to = 0;
    };
    // Which stretch a stage of the office's work takes.
    using StretchOf = Stretch (*)(sheet::Stage stage);

    ProgressBarValue(StretchOf stretchOf, Clock::time_point start);

    // The office's report of a stage and how far it has come in it.
    void report(const sheet::Progress& progress, Clock::time_point now);
    // A stretch the window's own work takes (waiting for the user, say).
    void enter(Stretch stretch, Clock::time_point now);
    // The action is done: the bar is full.
    void fill();

    int valueAt(Clock::time_point now);

    // The stretches of a highlight run, as the batch command weighs them.
    static Stretch RunStretch(sheet::Stage stage);
    // The stretches of the block choice: starting the office, loading the
    // workbook, then the user's marking (held) and listing the columns.
    static Stretch BlockChoiceStretch(sheet::Stage stage);
    static constexpr Stretch blockChoiceAsking{85, 85};
    static constexpr Stretch blockChoiceListing{85, 100};

private:
    void enterLocked(Stretch stretch, Clock::time_point now);
    // How much of the stretch lies behind the bar now, reports and creep
    // together.
    double shareAt(Clock::time_point now) const;

    std::mutex mutex_;
    StretchOf stretchOf_;
    Stretch stretch_;
    Clock::time_point enteredAt_;
    double reportedShare_ = 0; // of the stretch, from the office's last report
    bool stageKnown_ = false;
    sheet::Stage stage_ = sheet::Stage::StartingOffice;
    bool full_ = false;
    int shown_ = 0;
};
