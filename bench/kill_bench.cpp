// How long an office outlives a batch command killed with SIGKILL: from the
// kill to the office's end, and to its private folder's removal, while the
// office starts and while it loads the workbook.
//
//   build/bench/kill_bench [WORKBOOK [RUNS]]
//
// A large workbook keeps the office loading long enough to be caught at it.
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

// Empty for a process that has ended meanwhile.
std::string Read(const fs::path& file) {
    try {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    } catch (const std::exception&) {
        return {};
    }
}

// The office whose command line names `folder`, and whether it has `file` open.
pid_t OfficeIn(const std::string& folder, const fs::path& file) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/proc", ec)) {
        const std::string cmdline = Read(entry.path() / "cmdline");
        if (!cmdline.substr(0, cmdline.find('\0')).ends_with("soffice.bin") ||
            cmdline.find(folder) == std::string::npos) {
            continue;
        }
        bool open = file.empty();
        for (const auto& fd : fs::directory_iterator(entry.path() / "fd", ec)) {
            open = open || fs::read_symlink(fd.path(), ec) == file;
        }
        if (open) {
            return std::atoi(entry.path().filename().c_str());
        }
    }
    return -1;
}

double Milliseconds(Clock::duration time) {
    return std::chrono::duration<double, std::milli>(time).count();
}

void Print(const char* what, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    std::printf("%-40s min %6.1f  median %6.1f  max %6.1f ms\n", what, times.front(),
                times[times.size() / 2], times.back());
}

} // namespace

int main(int argc, char** argv) {
    const fs::path workbook = fs::absolute(argc > 1 ? argv[1] : EXAMPLE_WORKBOOK);
    const int runs = argc > 2 ? std::atoi(argv[2]) : 10;
    for (const bool loading : {false, true}) {
        std::vector<double> officeGone, folderGone;
        for (int run = 0; run < runs; ++run) {
            char pattern[] = "/tmp/vantrelo-kill-bench-XXXXXX";
            const std::string temp = ::mkdtemp(pattern);
            std::vector<std::string> args{
                VANTRELO_BATCH, "highlight", workbook.string(), "--block",         "A1:B2",
                "--columns",    "1",         "--output",        temp + "/out.xlsx"};
            std::vector<char*> pointers;
            for (auto& arg : args) {
                pointers.push_back(arg.data());
            }
            pointers.push_back(nullptr);
            ::setenv("TMPDIR", temp.c_str(), 1);
            pid_t batch = -1;
            ::posix_spawn(&batch, pointers[0], nullptr, nullptr, pointers.data(), environ);
            pid_t office = -1;
            while ((office = OfficeIn(temp, loading ? workbook : fs::path())) < 0) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            const int pidfd = static_cast<int>(::syscall(SYS_pidfd_open, office, 0));
            const auto start = Clock::now();
            ::kill(batch, SIGKILL);
            pollfd ended{pidfd, POLLIN, 0};
            ::poll(&ended, 1, 10000);
            officeGone.push_back(Milliseconds(Clock::now() - start));
            while (!fs::is_empty(temp)) {
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            }
            folderGone.push_back(Milliseconds(Clock::now() - start));
            ::close(pidfd);
            ::waitpid(batch, nullptr, 0);
            fs::remove_all(temp);
        }
        Print(loading ? "while loading: office gone" : "while starting: office gone", officeGone);
        Print(loading ? "while loading: folder gone" : "while starting: folder gone", folderGone);
    }
}
