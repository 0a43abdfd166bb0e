#include "Progress.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace sheet {
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

struct StageShare {
    const char* words;
    int from; // percent of the run before the stage starts
    int to;
};

// Indexed by Stage. Starting and loading the office take most of a run
// (see the benchmarks); saving follows only in the batch command.
constexpr std::array<StageShare, 6> kStages{{
    {"Starting the office", 0, 15},
    {"Loading the workbook", 15, 55},
    {"Reading rows", 55, 80},
    {"Finding repeated rows", 80, 85},
    {"Colouring cells", 85, 95},
    {"Saving the copy", 95, 100},
}};

const StageShare& ShareOf(Stage stage) {
    return kStages[static_cast<std::size_t>(stage)];
}

} // namespace

std::string DescribeProgress(const Progress& progress) {
    std::string text = ShareOf(progress.stage).words;
    if (progress.total <= 0) {
        return text;
    }
    const std::int64_t done = std::clamp<std::int64_t>(progress.done, 0, progress.total);
    if (progress.stage == Stage::ReadingRows) {
        return text + ": " + Grouped(done) + " of " + Grouped(progress.total);
    }
    return text + ": " + std::to_string(100 * done / progress.total) + "%";
}

int PercentOfRun(const Progress& progress) {
    const StageShare& share = ShareOf(progress.stage);
    if (progress.total <= 0) {
        return share.from;
    }
    const std::int64_t done = std::clamp<std::int64_t>(progress.done, 0, progress.total);
    return share.from + static_cast<int>((share.to - share.from) * done / progress.total);
}

} // namespace sheet
