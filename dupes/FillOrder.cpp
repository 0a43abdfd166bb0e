#include "FillOrder.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <limits>

namespace dupes {
namespace {

// Rows of one colour, adjacent.
struct Run {
    std::uint32_t first;
    std::uint32_t last;
    std::uint32_t fill;
};

// Every colour's rows as runs, in row order, each stretch of adjacent rows
// as its own list.
std::vector<std::vector<Run>> Stretches(const std::vector<RowsOfFill>& fills) {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> rows; // row, fill
    for (const RowsOfFill& request : fills) {
        for (const std::uint32_t row : request.rows) {
            rows.emplace_back(row, request.fill);
        }
    }
    std::sort(rows.begin(), rows.end());
    std::vector<std::vector<Run>> stretches;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto [row, fill] = rows[i];
        if (i == 0 || rows[i - 1].first + 1 < row) {
            stretches.emplace_back();
        }
        std::vector<Run>& runs = stretches.back();
        if (!runs.empty() && runs.back().fill == fill && runs.back().last + 1 >= row) {
            runs.back().last = row;
        } else {
            runs.push_back(Run{row, row, fill});
        }
    }
    return stretches;
}

// Which runs of a stretch the first request paints: all of its own colour,
// never two side by side (they would merge), and as few left unpainted next
// to an unpainted run or the stretch's ends (each such run later has to be
// split off) as can be. Two states a run, painted or not, walked once.
std::vector<bool> RunsToLayOut(const std::vector<Run>& runs, std::uint32_t firstFill) {
    constexpr int kImpossible = std::numeric_limits<int>::max() / 2;
    const std::size_t count = runs.size();
    // cost[i][painted]: the fewest splits for runs 0..i with run i as given.
    std::vector<std::array<int, 2>> cost(count);
    std::vector<std::array<bool, 2>> cameFromPainted(count);
    for (std::size_t i = 0; i < count; ++i) {
        const bool forced = runs[i].fill == firstFill;
        const int endSplit = i + 1 == count ? 1 : 0;
        if (i == 0) {
            cost[0] = {forced ? kImpossible : 1 + endSplit, 0};
            continue;
        }
        const auto [afterUnpainted, afterPainted] = cost[i - 1];
        // Unpainted: a split when the run before is unpainted too, or at the end.
        const int viaUnpainted = afterUnpainted + 1;
        cameFromPainted[i][0] = afterPainted <= viaUnpainted;
        cost[i][0] = forced ? kImpossible : std::min(afterPainted, viaUnpainted) + endSplit;
        cameFromPainted[i][1] = false;
        cost[i][1] = afterUnpainted;
    }
    std::vector<bool> painted(count);
    bool state = cost[count - 1][1] <= cost[count - 1][0];
    for (std::size_t i = count; i-- > 0;) {
        painted[i] = state;
        state = cameFromPainted[i][state ? 1 : 0];
    }
    return painted;
}

} // namespace

std::vector<RowsOfFill> WithRunsLaidOutFirst(std::vector<RowsOfFill> fills) {
    if (fills.size() < 2) {
        return fills;
    }
    const std::uint32_t firstFill = fills.front().fill;
    std::vector<std::uint32_t> laidOut;
    for (const std::vector<Run>& runs : Stretches(fills)) {
        const std::vector<bool> painted = RunsToLayOut(runs, firstFill);
        for (std::size_t i = 0; i < runs.size(); ++i) {
            if (painted[i] && runs[i].fill != firstFill) {
                for (std::uint32_t row = runs[i].first; row <= runs[i].last; ++row) {
                    laidOut.push_back(row);
                }
            }
        }
    }
    std::vector<std::uint32_t>& first = fills.front().rows;
    std::vector<std::uint32_t> joined;
    joined.reserve(first.size() + laidOut.size());
    std::merge(first.begin(), first.end(), laidOut.begin(), laidOut.end(),
               std::back_inserter(joined));
    first = std::move(joined);
    return fills;
}

} // namespace dupes
