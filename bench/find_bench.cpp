// Times the finding step of the bulk run (hashing the rows, then building the
// spans to fill) on generated texts, and measures the memory it holds beyond
// the texts it is given, for 10,000, 100,000 and 1,000,000 rows. Meaningful
// only from an optimised build.
#include "dupes/ColourSpans.h"
#include "dupes/DuplicateFinder.h"
#include "dupes/HighlightRun.h"

#include <sys/resource.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <random>
#include <string>
#include <vector>

// Every allocation carries its size in front, so the bench knows the bytes
// live at any moment and the most that were live since the last reset.
namespace {

constexpr std::size_t kHeader = __STDCPP_DEFAULT_NEW_ALIGNMENT__;
std::size_t gLiveBytes = 0;
std::size_t gPeakBytes = 0;

void* CountedAllocate(std::size_t size) {
    void* block = std::malloc(size + kHeader);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    *static_cast<std::size_t*>(block) = size;
    gLiveBytes += size;
    gPeakBytes = std::max(gPeakBytes, gLiveBytes);
    return static_cast<char*>(block) + kHeader;
}

void CountedFree(void* pointer) noexcept {
    if (pointer == nullptr) {
        return;
    }
    void* block = static_cast<char*>(pointer) - kHeader;
    gLiveBytes -= *static_cast<std::size_t*>(block);
    std::free(block);
}

} // namespace

void* operator new(std::size_t size) {
    return CountedAllocate(size);
}
void* operator new[](std::size_t size) {
    return CountedAllocate(size);
}
void operator delete(void* pointer) noexcept {
    CountedFree(pointer);
}
void operator delete[](void* pointer) noexcept {
    CountedFree(pointer);
}
void operator delete(void* pointer, std::size_t) noexcept {
    CountedFree(pointer);
}
void operator delete[](void* pointer, std::size_t) noexcept {
    CountedFree(pointer);
}

namespace {

using dupes::RunKind;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kColumns = 3;

const std::array<const char*, 24> kWords{
    "amber",  "birch",   "cobalt",  "delta",   "ember",  "fjord",  "granite", "harbour",
    "indigo", "juniper", "kestrel", "linden",  "meadow", "nimbus", "orchard", "pewter",
    "quartz", "russet",  "saffron", "thistle", "umber",  "vellum", "willow",  "yarrow"};

// Three columns: two words, an amount, a date. Each row after the first is,
// one time in three, a copy of a random earlier row.
dupes::TextTable MakeTexts(std::size_t rows) {
    std::mt19937_64 random(42);
    auto below = [&random](std::size_t limit) {
        return std::uniform_int_distribution<std::size_t>(0, limit - 1)(random);
    };
    dupes::TextTable texts;
    char buffer[32];
    for (std::size_t row = 0; row < rows; ++row) {
        if (row > 0 && below(3) == 0) {
            const std::size_t earlier = below(row);
            for (std::size_t c = 0; c < kColumns; ++c) {
                const std::string copy(texts.cell(earlier * kColumns + c));
                texts.append(copy);
            }
            continue;
        }
        texts.append(std::string(kWords[below(kWords.size())]) + " " +
                     kWords[below(kWords.size())]);
        std::snprintf(buffer, sizeof buffer, "%zu.%02zu", below(100000), below(100));
        texts.append(buffer);
        std::snprintf(buffer, sizeof buffer, "%04zu-%02zu-%02zu", 1990 + below(40), 1 + below(12),
                      1 + below(28));
        texts.append(buffer);
    }
    return texts;
}

struct Finding {
    std::size_t rowsToColour = 0;
    std::size_t spans = 0;
};

// The step being measured: what the bulk run does between reading the texts
// and sending the fills.
Finding FindAndBuildSpans(const dupes::TextTable& texts, std::size_t rows, RunKind kind) {
    const dupes::BlockGeometry block{1, 1, static_cast<std::int32_t>(rows), kColumns};
    const dupes::RowColouring colouring(block, std::vector<bool>(kColumns, true), false);
    dupes::DuplicateFinder finder(kColumns, rows);
    finder.addRows(texts, rows);
    const std::vector<std::uint32_t> marked = kind == RunKind::AllDuplicates
                                                  ? finder.rowsSharingTheirTexts()
                                                  : finder.rowsRepeatingAnEarlierRow();
    const std::vector<dupes::CellSpan> spans = dupes::BuildColourSpans(marked, 1, colouring);
    return {marked.size(), spans.size()};
}

double PeakRssMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
}

void Measure(std::size_t rows, int repeats) {
    const dupes::TextTable texts = MakeTexts(rows);
    for (const RunKind kind : {RunKind::AllDuplicates, RunKind::ExceptFirst}) {
        const double rssBefore = PeakRssMegabytes();
        const std::size_t liveBefore = gLiveBytes;
        gPeakBytes = gLiveBytes;
        std::vector<double> seconds;
        Finding finding;
        for (int i = 0; i < repeats; ++i) {
            const auto start = Clock::now();
            finding = FindAndBuildSpans(texts, rows, kind);
            seconds.push_back(std::chrono::duration<double>(Clock::now() - start).count());
        }
        std::sort(seconds.begin(), seconds.end());
        const double heldMegabytes = static_cast<double>(gPeakBytes - liveBefore) / 1e6;
        std::printf("%9zu  %-13s  %8.1f ms  %8.1f ms  %9.1f MB  %8.1f MB  %9zu  %9zu\n", rows,
                    kind == RunKind::AllDuplicates ? "AllDuplicates" : "ExceptFirst",
                    seconds.front() * 1e3, seconds[seconds.size() / 2] * 1e3, heldMegabytes,
                    PeakRssMegabytes() - rssBefore, finding.rowsToColour, finding.spans);
    }
}

} // namespace

int main() {
    std::printf("Finding step over %zu columns of texts (words, amounts, dates), a third of the "
                "rows copies of earlier ones.\n",
                kColumns);
    std::printf("Target for 1,000,000 rows: under 500 ms and under 250 MB held.\n");
    std::printf("Peak held: most bytes allocated beyond the texts at any moment. RSS growth: rise\n"
                "of the process's peak resident size, 0 once an earlier step has reached it.\n\n");
    std::printf("%9s  %-13s  %11s  %11s  %12s  %11s  %9s  %9s\n", "rows", "kind", "best", "median",
                "peak held", "RSS growth", "coloured", "spans");
    Measure(10'000, 21);
    Measure(100'000, 11);
    Measure(1'000'000, 5);
    return 0;
}
