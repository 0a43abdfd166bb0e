#pragma once

#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>

namespace cli {

// "[##########..........]  50%  65,536 of 131,072 rows", `width` marks wide.
std::string ProgressLine(std::int64_t done, std::int64_t total, int width);

// A progress bar redrawn in place on one line of a terminal. Short runs end
// before it would first show, so they leave no trace; it clears its line
// when finished, before anything else is written there.
class ProgressBar {
public:
    ProgressBar(std::ostream& out, bool terminal,
                std::chrono::milliseconds showAfter = std::chrono::milliseconds(700));
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    void update(std::int64_t done, std::int64_t total);
    void finish();

private:
    std::ostream& out_;
    bool terminal_;
    std::chrono::steady_clock::time_point showFrom_;
    std::size_t drawnWidth_ = 0;
};

} // namespace cli
