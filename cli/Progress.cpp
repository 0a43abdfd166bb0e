#include "Progress.h"

#include <algorithm>

namespace cli {

std::string ProgressLine(const sheet::Progress& progress, std::chrono::seconds elapsed, int width) {
    const int percent = sheet::PercentOfRun(progress);
    const int marks = width * percent / 100;
    std::string line = "[" + std::string(static_cast<std::size_t>(marks), '#') +
                       std::string(static_cast<std::size_t>(width - marks), '.') + "] ";
    const std::string figure = std::to_string(percent) + "%";
    line += std::string(4 - std::min<std::size_t>(figure.size(), 4), ' ') + figure;
    const auto seconds = elapsed.count();
    const std::string clock = std::to_string(seconds / 60) + ":" + (seconds % 60 < 10 ? "0" : "") +
                              std::to_string(seconds % 60);
    return line + "  " + sheet::DescribeProgress(progress) + "  " + clock;
}

ProgressBar::ProgressBar(std::ostream& out, bool terminal, std::chrono::milliseconds showAfter,
                         std::chrono::milliseconds tick)
    : out_(out), terminal_(terminal), started_(std::chrono::steady_clock::now()),
      showFrom_(started_ + showAfter) {
    if (terminal_) {
        ticker_ = std::thread([this, tick] { tickUntilFinished(tick); });
    }
}

ProgressBar::~ProgressBar() {
    finish();
}

void ProgressBar::report(const sheet::Progress& progress) {
    const std::lock_guard lock(mutex_);
    latest_ = progress;
    drawLocked();
}

void ProgressBar::finish() {
    {
        const std::lock_guard lock(mutex_);
        done_ = true;
        if (drawnWidth_ > 0) {
            out_ << '\r' << std::string(drawnWidth_, ' ') << '\r' << std::flush;
            drawnWidth_ = 0;
        }
    }
    finished_.notify_all();
    if (ticker_.joinable()) {
        ticker_.join();
    }
}

void ProgressBar::drawLocked() {
    const auto now = std::chrono::steady_clock::now();
    if (!terminal_ || done_ || now < showFrom_) {
        return;
    }
    const std::string line =
        ProgressLine(latest_, std::chrono::duration_cast<std::chrono::seconds>(now - started_), 30);
    // Spaces cover whatever a longer line drawn before left behind.
    out_ << '\r' << line
         << std::string(drawnWidth_ > line.size() ? drawnWidth_ - line.size() : 0, ' ')
         << std::flush;
    drawnWidth_ = std::max(drawnWidth_, line.size());
}

void ProgressBar::tickUntilFinished(std::chrono::milliseconds tick) {
    std::unique_lock lock(mutex_);
    while (!finished_.wait_for(lock, tick, [this] { return done_; })) {
        drawLocked();
    }
}

} // namespace cli
