#include "OfficeProcesses.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

std::string ProcessFile(const std::filesystem::path& process, const char* name) {
    try {
        std::ifstream file(process / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    } catch (const std::exception&) {
        // Reading fails with ESRCH once the process has gone.
        return {};
    }
}

std::vector<pid_t> PrivateOfficeProcesses() {
    std::vector<pid_t> pids;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", ec)) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        const std::string cmdline = ProcessFile(entry.path(), "cmdline");
        const std::string status = ProcessFile(entry.path(), "stat");
        // The parent's pid is the second field after the parenthesised name.
        const auto close = status.rfind(')');
        long parent = -1;
        if (close != std::string::npos && close + 4 < status.size()) {
            parent = std::strtol(status.c_str() + close + 4, nullptr, 10);
        }
        if (parent == ::getpid() && cmdline.find("soffice.bin") != std::string::npos &&
            cmdline.find("vantrelo-office-") != std::string::npos) {
            pids.push_back(static_cast<pid_t>(std::stol(name)));
        }
    }
    return pids;
}

int EndPrivateOfficeProcesses(const std::vector<pid_t>& keep) {
    int ended = 0;
    for (const pid_t pid : PrivateOfficeProcesses()) {
        if (std::find(keep.begin(), keep.end(), pid) == keep.end()) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
            ++ended;
        }
    }
    return ended;
}
