#include "OfficeProcesses.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Empty for a process that has ended meanwhile.
std::string Read(const std::filesystem::path& file) {
    try {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    } catch (const std::exception&) {
        return {};
    }
}

pid_t ParentOf(const std::string& process) {
    const std::string status = Read("/proc/" + process + "/stat");
    // The parent's pid is the second field after the parenthesised name.
    const auto close = status.rfind(')');
    if (close == std::string::npos || close + 4 >= status.size()) {
        return -1;
    }
    return static_cast<pid_t>(std::strtol(status.c_str() + close + 4, nullptr, 10));
}

} // namespace

std::vector<pid_t> PrivateOfficeProcesses() {
    std::vector<pid_t> pids;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", ec)) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        const std::string cmdline = Read(entry.path() / "cmdline");
        // Each office is its guard's child, and the guard ours.
        const pid_t parent = ParentOf(name);
        const bool ours =
            parent == ::getpid() || (parent > 0 && ParentOf(std::to_string(parent)) == ::getpid());
        // The program itself, not a guard that names it among its arguments.
        const std::string program = cmdline.substr(0, cmdline.find('\0'));
        if (ours && program.ends_with("soffice.bin") &&
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

std::vector<std::string> OfficeSockets() {
    std::vector<std::string> sockets;
    const std::string prefix = "OSL_PIPE_" + std::to_string(::getuid()) + "_";
    for (const auto& entry : std::filesystem::directory_iterator("/tmp")) {
        if (entry.path().filename().string().rfind(prefix, 0) == 0) {
            sockets.push_back(entry.path().string());
        }
    }
    std::sort(sockets.begin(), sockets.end());
    return sockets;
}

bool Listened(const std::string& socket) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socket.c_str(), sizeof address.sun_path - 1);
    const int probe = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
    const bool listened =
        ::connect(probe, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(probe);
    return listened;
}
