// A colour per group against one colour, on a workbook of 300,000 rows x 6
// columns (three compared, about a third of the rows repeating): the whole
// batch command, start to saved copy, timed in pairs taken in turn so that
// a drifting machine weighs on both alike; then the colouring and the
// saving inside one office, with the office's CPU time for each. Prints
// every pair, the medians and the median of the pairs' ratios.
// Usage: group_colour_bench [rows, default 300000] [pairs, default 5]
#include "BenchWorkbook.h"
#include "dupes/HighlightRun.h"
#include "sheet/OpenExcelWorkbook.h"
#include "sheet/libreoffice/LibreOffice.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

struct Timing {
    double wall = 0;
    double cpu = 0; // the command's and its office's, user and system
};

// One run of the batch command, its output thrown away; exits on a failure.
Timing TimeBatch(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    const std::string program = VANTRELO_BATCH;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    const auto start = Clock::now();
    std::fflush(stdout);
    const pid_t child = ::fork();
    if (child == 0) {
        std::freopen("/dev/null", "w", stdout);
        ::execv(program.c_str(), argv.data());
        std::_Exit(127);
    }
    int status = 0;
    rusage usage{};
    // The command waits for its office, so the office's CPU time is in its usage.
    ::wait4(child, &status, 0, &usage);
    const double wall = Seconds(start);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "the batch command failed (status %d)\n", status);
        std::exit(1);
    }
    const auto seconds = [](const timeval& time) {
        return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
    };
    return {wall, seconds(usage.ru_utime) + seconds(usage.ru_stime)};
}

// CPU seconds used so far by the processes below `parent`, the office among
// them: on a busy machine a steadier figure than the clock.
double DescendantCpuSeconds(pid_t parent) {
    double seconds = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        std::getline(stat, line);
        const auto afterName = line.rfind(')');
        if (afterName == std::string::npos) {
            continue;
        }
        // Fields after the name: state, parent, ..., user time (12th), system time (13th).
        std::istringstream fields(line.substr(afterName + 2));
        std::string state, skip;
        long parentOf = 0;
        fields >> state >> parentOf;
        if (parentOf != parent) {
            continue;
        }
        for (int i = 0; i < 9; ++i) {
            fields >> skip;
        }
        double user = 0, system = 0;
        fields >> user >> system;
        seconds += (user + system) / static_cast<double>(::sysconf(_SC_CLK_TCK));
        seconds += DescendantCpuSeconds(static_cast<pid_t>(std::stol(name)));
    }
    return seconds;
}

// Sends every request on, timing the colouring.
class TimedColouring final : public dupes::BlockAccess {
public:
    explicit TimedColouring(dupes::BlockAccess& inner) : inner_(inner) {}
    double seconds = 0;
    int requests = 0;

    std::string cellText(std::int32_t row, std::int32_t column) override {
        return inner_.cellText(row, column);
    }
    void readTexts(std::int32_t firstRow, std::int32_t rowCount,
                   const std::vector<std::int32_t>& columns, dupes::TextTable& out) override {
        inner_.readTexts(firstRow, rowCount, columns, out);
    }
    void colourSpans(const std::vector<dupes::CellSpan>& spans, std::uint32_t colour) override {
        const auto start = Clock::now();
        inner_.colourSpans(spans, colour);
        seconds += Seconds(start);
        ++requests;
    }

private:
    dupes::BlockAccess& inner_;
};

// The colouring and the saving of one run inside one office, with the CPU
// time the office spent on each.
void TimeColouringAndSaving(const std::string& path, const std::string& blockText,
                            const std::string& copy, bool perGroup) {
    sheet::libreoffice::LibreOfficeOptions officeOptions;
    officeOptions.headless = true;
    const auto office = sheet::libreoffice::MakeLibreOffice(officeOptions);
    const auto book = sheet::OpenExcelWorkbook(*office, path);
    const auto block = book->findBlock(blockText);
    TimedColouring timed(book->cells(block));
    dupes::HighlightOptions options;
    options.selectedColumns = {true, true, true, false, false, false};
    options.colourPerGroup = perGroup;
    const double beforeRun = DescendantCpuSeconds(::getpid());
    const dupes::HighlightResult result =
        dupes::RunHighlightInFull(options, block.geometry(), timed);
    const double afterRun = DescendantCpuSeconds(::getpid());
    const auto saveStart = Clock::now();
    book->saveCopyAs(copy, true, {});
    const double saveSeconds = Seconds(saveStart);
    std::printf("%-11s colouring %5.2f s (office CPU of the run %5.2f s) in %2d requests, "
                "saving %5.2f s (office CPU %5.2f s); %lld rows, %lld groups, %lld colours\n",
                perGroup ? "per group:" : "one colour:", timed.seconds, afterRun - beforeRun,
                timed.requests, saveSeconds, DescendantCpuSeconds(::getpid()) - afterRun,
                static_cast<long long>(result.summary.rowsColoured),
                static_cast<long long>(result.summary.duplicateGroups),
                static_cast<long long>(result.coloursUsed));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    const int rows = argc > 1 ? std::atoi(argv[1]) : 300000;
    const int pairs = argc > 2 ? std::atoi(argv[2]) : 5;
    char pattern[] = "/tmp/vantrelo-bench-XXXXXX";
    const std::filesystem::path folder = ::mkdtemp(pattern);
    const std::string workbook = (folder / "rows.xlsx").string();
    MakeBenchWorkbook(rows, workbook);
    const std::string block = "Data!$A$1:$F$" + std::to_string(rows + 1);
    const std::string copy = (folder / "copy.xlsx").string();
    const std::vector<std::string> oneColour{
        "highlight", workbook, "--block", block, "--columns", "1,2,3", "--output", copy, "--force"};
    std::vector<std::string> perGroup = oneColour;
    perGroup.insert(perGroup.end(), {"--colour", "per-group"});

    std::printf("%d rows x 6 columns, 3 compared, all duplicates; whole batch command, seconds "
                "of wall clock and of CPU (the command's and its office's)\n",
                rows);
    std::printf("%4s %11s %10s %7s %11s %10s %7s\n", "pair", "one colour", "per group", "ratio",
                "CPU one", "CPU group", "ratio");
    std::vector<double> one, group, ratios, oneCpu, groupCpu, cpuRatios;
    for (int pair = 1; pair <= pairs; ++pair) {
        const Timing a = TimeBatch(oneColour);
        const Timing b = TimeBatch(perGroup);
        one.push_back(a.wall);
        group.push_back(b.wall);
        ratios.push_back(b.wall / a.wall);
        oneCpu.push_back(a.cpu);
        groupCpu.push_back(b.cpu);
        cpuRatios.push_back(b.cpu / a.cpu);
        std::printf("%4d %11.2f %10.2f %7.3f %11.2f %10.2f %7.3f\n", pair, a.wall, b.wall,
                    ratios.back(), a.cpu, b.cpu, cpuRatios.back());
        std::fflush(stdout);
    }
    std::printf("median %9.2f %10.2f %7.3f %11.2f %10.2f %7.3f (ratios: the median of the "
                "pairs')\n",
                Median(one), Median(group), Median(ratios), Median(oneCpu), Median(groupCpu),
                Median(cpuRatios));
    for (int pair = 1; pair <= pairs; ++pair) {
        TimeColouringAndSaving(workbook, block, copy, false);
        TimeColouringAndSaving(workbook, block, copy, true);
    }
    std::filesystem::remove_all(folder);
    return 0;
}
