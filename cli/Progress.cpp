#include "Progress.h"

#include <algorithm>

namespace cli {
namespace {

std::string Grouped(std::int64_t number) {
    const std::string digits = std::to_string(number);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            grouped += ',';
        }
        grouped += digits[i];
    }
    return grouped;
}

} // namespace

std::string ProgressLine(std::int64_t done, std::int64_t total, int width) {
    const std::int64_t clampedDone =
        std::clamp<std::int64_t>(done, 0, std::max<std::int64_t>(total, 0));
    const std::int64_t percent = total > 0 ? 100 * clampedDone / total : 100;
    const std::int64_t marks = total > 0 ? width * clampedDone / total : width;
    std::string line = "[" + std::string(static_cast<std::size_t>(marks), '#') +
                       std::string(static_cast<std::size_t>(width - marks), '.') + "] ";
    const std::string figure = std::to_string(percent) + "%";
    line += std::string(4 - std::min<std::size_t>(figure.size(), 4), ' ') + figure;
    return line + "  " + Grouped(clampedDone) + " of " + Grouped(total) + " rows";
}

ProgressBar::ProgressBar(std::ostream& out, bool terminal, std::chrono::milliseconds showAfter)
    : out_(out), terminal_(terminal), showFrom_(std::chrono::steady_clock::now() + showAfter) {}

ProgressBar::~ProgressBar() {
    finish();
}

void ProgressBar::update(std::int64_t done, std::int64_t total) {
    if (!terminal_ || std::chrono::steady_clock::now() < showFrom_) {
        return;
    }
    const std::string line = ProgressLine(done, total, 30);
    // Spaces cover whatever a longer line drawn before left behind.
    out_ << '\r' << line
         << std::string(drawnWidth_ > line.size() ? drawnWidth_ - line.size() : 0, ' ')
         << std::flush;
    drawnWidth_ = std::max(drawnWidth_, line.size());
}

void ProgressBar::finish() {
    if (drawnWidth_ > 0) {
        out_ << '\r' << std::string(drawnWidth_, ' ') << '\r' << std::flush;
        drawnWidth_ = 0;
    }
}

} // namespace cli
