#include "OfficeLeftovers.h"

#include "sheet/TemporaryRoot.h"

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

// The office's runtime puts its pipes' sockets here whatever TMPDIR says: in
// /tmp, or in /var/tmp where /tmp cannot be used.
constexpr const char* kPipeFolders[] = {"/tmp", "/var/tmp"};

std::string PipeFilePrefix() {
    return "OSL_PIPE_" + std::to_string(::getuid()) + "_";
}

// A live office accepts; a socket nobody listens on any more refuses. The
// office's runtime itself tells an orphaned pipe so before it makes one.
bool RefusesConnection(const fs::path& socketFile) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (socketFile.native().size() >= sizeof address.sun_path) {
        return false;
    }
    std::strcpy(address.sun_path, socketFile.c_str());
    const int probe = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    const bool refused =
        ::connect(probe, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 &&
        errno == ECONNREFUSED;
    ::close(probe);
    return refused;
}

// Nobody holds it as in use (see HoldAsInUse).
bool Abandoned(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
    const bool free = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return free;
}

} // namespace

void OfficeLeftovers::remove() const {
    std::error_code ec;
    if (!folder.empty()) {
        fs::remove_all(folder, ec);
    }
    for (const char* pipes : kPipeFolders) {
        if (!pipeName.empty()) {
            fs::remove(fs::path(pipes) / (PipeFilePrefix() + pipeName), ec);
        }
        for (const auto& entry : fs::directory_iterator(pipes, ec)) {
            struct stat info {};
            if (entry.path().filename().string().rfind(PipeFilePrefix(), 0) == 0 &&
                ::lstat(entry.path().c_str(), &info) == 0 && S_ISSOCK(info.st_mode) &&
                info.st_uid == ::getuid() && RefusesConnection(entry.path())) {
                fs::remove(entry.path(), ec);
            }
        }
    }
}

void HoldAsInUse(const std::string& folder) {
    // Shared, so that each holder may take it; inherited, and never closed.
    ::flock(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW), LOCK_SH);
}

void RemoveStaleProfiles() {
    const auto settled = fs::file_time_type::clock::now() - std::chrono::minutes(1);
    for (const auto& [root, prefix] : {std::pair{TemporaryRoot(), kPrivateFolderPrefix},
                                       std::pair{TemplateRoot(), kTemplateSetupPrefix}}) {
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(root, ec)) {
            if (entry.path().filename().string().rfind(prefix, 0) == 0 &&
                fs::last_write_time(entry.path(), ec) < settled && Abandoned(entry.path())) {
                OfficeLeftovers{entry.path().string(), {}}.remove();
            }
        }
    }
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
    return TemporaryRoot();
}

std::string MakeUniqueFolder(const fs::path& parent, const std::string& prefix) {
    std::string pattern = (parent / (prefix + "XXXXXX")).string();
    return ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
}

} // namespace sheet::libreoffice
