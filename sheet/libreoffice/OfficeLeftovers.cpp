// What an office leaves, and how it goes: used by the guard program and by
// the start-up sweep, so it links nothing but the standard library.
#include "OfficeLeftovers.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace sheet::libreoffice {
namespace {

namespace fs = std::filesystem;

// The office's runtime puts its pipes' sockets here, whatever TMPDIR says:
// in /tmp, or in /var/tmp where /tmp cannot be used.
constexpr const char* kPipeFolders[] = {"/tmp", "/var/tmp"};

std::string PipeFilePrefix() {
    return "OSL_PIPE_" + std::to_string(::getuid()) + "_";
}

// A socket nobody listens on any more refuses a connection; a live office's
// accepts it. The office's runtime uses the same test before it makes a pipe.
bool RefusesConnection(const fs::path& socketFile) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = socketFile.string();
    if (path.size() >= sizeof address.sun_path) {
        return false;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int probe = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (probe < 0) {
        return false;
    }
    const bool refused =
        ::connect(probe, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 &&
        errno == ECONNREFUSED;
    ::close(probe);
    return refused;
}

void RemoveRefusingOfficeSockets() {
    const std::string prefix = PipeFilePrefix();
    for (const char* folder : kPipeFolders) {
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(folder, ec)) {
            struct stat info {};
            if (entry.path().filename().string().rfind(prefix, 0) == 0 &&
                ::lstat(entry.path().c_str(), &info) == 0 && S_ISSOCK(info.st_mode) &&
                info.st_uid == ::getuid() && RefusesConnection(entry.path())) {
                fs::remove(entry.path(), ec);
            }
        }
    }
}

// No process holds the folder as in use.
bool Abandoned(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        return false;
    }
    const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return free;
}

} // namespace

void OfficeLeftovers::remove() const {
    std::error_code ec;
    for (const std::string& folder : folders) {
        fs::remove_all(folder, ec);
    }
    if (!pipeName.empty()) {
        for (const char* folder : kPipeFolders) {
            fs::remove(fs::path(folder) / (PipeFilePrefix() + pipeName), ec);
        }
    }
    RemoveRefusingOfficeSockets();
}

bool HoldAsInUse(const std::string& folder) {
    // Deliberately never closed, and inherited: the lock lasts as long as
    // the last process holding it.
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
    return fd >= 0 && ::flock(fd, LOCK_SH) == 0;
}

void RemoveStaleProfiles() {
    const auto settled = fs::file_time_type::clock::now() - std::chrono::minutes(1);
    OfficeLeftovers stale;
    for (const auto& [root, prefix] : {std::pair{TempRoot(), kPrivateFolderPrefix},
                                       std::pair{TemplateRoot(), kTemplateSetupPrefix}}) {
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(root, ec)) {
            if (entry.path().filename().string().rfind(prefix, 0) == 0 && entry.is_directory(ec) &&
                !entry.is_symlink(ec) && fs::last_write_time(entry.path(), ec) < settled &&
                Abandoned(entry.path())) {
                stale.folders.push_back(entry.path().string());
            }
        }
    }
    stale.remove();
}

std::string MakeUniqueFolder(const fs::path& parent, const std::string& prefix) {
    std::string pattern = (parent / (prefix + "XXXXXX")).string();
    return ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
}

fs::path TempRoot() {
    const char* tmp = std::getenv("TMPDIR");
    const fs::path root = tmp != nullptr && *tmp != '\0' ? fs::path(tmp) : fs::path("/tmp");
    // Absolute: the office is told the path, and its working folder differs.
    std::error_code ec;
    const fs::path absolute = fs::absolute(root, ec);
    return ec ? root : absolute;
}

fs::path TemplateRoot() {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    const char* home = std::getenv("HOME");
    if (cache != nullptr && *cache == '/') {
        return fs::path(cache) / "vantrelo";
    }
    if (home != nullptr && *home == '/') {
        return fs::path(home) / ".cache" / "vantrelo";
    }
    return TempRoot();
}

} // namespace sheet::libreoffice
