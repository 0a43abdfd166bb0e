#include "RunTraces.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Empty for a process that has ended meanwhile.
std::string CommandLine(const fs::path& process) {
    try {
        std::ifstream file(process / "cmdline", std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    } catch (const std::exception&) {
        return {};
    }
}

} // namespace

std::vector<pid_t> OfficesNaming(const std::string& text) {
    std::vector<pid_t> offices;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/proc", ec)) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        const std::string cmdline = CommandLine(entry.path());
        const std::string program = cmdline.substr(0, cmdline.find('\0'));
        const std::string office = "soffice.bin";
        if (program.size() >= office.size() &&
            program.compare(program.size() - office.size(), office.size(), office) == 0 &&
            cmdline.find(text) != std::string::npos) {
            offices.push_back(static_cast<pid_t>(std::stol(name)));
        }
    }
    return offices;
}

bool OfficeHasOpen(pid_t office, const fs::path& file) {
    std::error_code ec;
    for (const auto& entry :
         fs::directory_iterator("/proc/" + std::to_string(office) + "/fd", ec)) {
        if (fs::read_symlink(entry.path(), ec) == file) {
            return true;
        }
    }
    return false;
}

bool HoldsUnnamedFileIn(pid_t process, const fs::path& folder) {
    // The kernel shows an unnamed file as "<folder>/#<inode> (deleted)".
    const std::string unnamed = (folder / "#").string();
    std::error_code ec;
    for (const auto& entry :
         fs::directory_iterator("/proc/" + std::to_string(process) + "/fd", ec)) {
        const std::string target = fs::read_symlink(entry.path(), ec).string();
        if (target.rfind(unnamed, 0) == 0 && target.ends_with(" (deleted)")) {
            return true;
        }
    }
    return false;
}

std::optional<fs::path> OtherDisk(const fs::path& than) {
    struct stat here {
    }, there{};
    if (::stat(than.c_str(), &here) == 0 && ::stat("/dev/shm", &there) == 0 &&
        here.st_dev != there.st_dev) {
        return fs::path("/dev/shm");
    }
    return std::nullopt;
}

std::vector<std::string> Contents(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    // Files may vanish while we look: a watchdog may be removing them.
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        names.push_back(fs::relative(it->path(), folder, ec).string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool Eventually(std::chrono::milliseconds time, const std::function<bool()>& done,
                std::chrono::milliseconds pause) {
    const auto deadline = std::chrono::steady_clock::now() + time;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(pause);
    }
    return true;
}

NamesAppearing::NamesAppearing(const fs::path& folder)
    : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    if (fd_ < 0 || ::inotify_add_watch(fd_, folder.c_str(), IN_CREATE | IN_MOVED_TO) < 0) {
        throw std::runtime_error("cannot watch " + folder.string());
    }
}

NamesAppearing::~NamesAppearing() {
    ::close(fd_);
}

std::vector<std::string> NamesAppearing::sinceStart() {
    alignas(inotify_event) char buffer[1 << 14];
    for (ssize_t got; (got = ::read(fd_, buffer, sizeof buffer)) > 0;) {
        for (ssize_t at = 0; at < got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            if (event->len > 0) {
                names_.emplace_back(event->name);
            }
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
    return names_;
}
