#pragma once

#include "sheet/Progress.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>

namespace cli {

// "[##########..........]  50%  Reading rows: 65,536 of 131,072  0:07", the
// bar `width` marks wide and filled by the share of the whole run done.
std::string ProgressLine(const sheet::Progress& progress, std::chrono::seconds elapsed, int width);

// One line of a terminal naming the stage a run is at and how far it has
// come, redrawn in place. It is redrawn every `tick` even when no news comes,
// its clock moving, so a long load never looks like a hang. Short runs end
// before it would first show, so they leave no trace; it clears its line
// when finished, before anything else is written there. report() may be
// called from any thread.
class ProgressBar {
public:
    ProgressBar(std::ostream& out, bool terminal,
                std::chrono::milliseconds showAfter = std::chrono::milliseconds(700),
                std::chrono::milliseconds tick = std::chrono::milliseconds(500));
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    void report(const sheet::Progress& progress);
    void finish();

private:
    void drawLocked();
    void tickUntilFinished(std::chrono::milliseconds tick);

    std::ostream& out_;
    const bool terminal_;
    const std::chrono::steady_clock::time_point started_;
    const std::chrono::steady_clock::time_point showFrom_;
    std::mutex mutex_;
    std::condition_variable finished_;
    bool done_ = false;
    sheet::Progress latest_;
    std::size_t drawnWidth_ = 0;
    std::thread ticker_;
};

} // namespace cli
