#include "FinishedFile.h"

#include "sheet/FileDescriptor.h"
#include "sheet/SheetError.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace sheet::libreoffice {
namespace fs = std::filesystem;
namespace {

// Copies all of `from` into `to`; 0, or the errno of the failure.
int CopyBytes(int from, int to) {
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(from, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return errno;
        }
        if (got == 0) {
            return 0;
        }
        for (ssize_t done = 0; done < got;) {
            const ssize_t written =
                ::write(to, buffer + done, static_cast<std::size_t>(got - done));
            if (written < 0 && errno == EINTR) {
                continue;
            }
            if (written <= 0) {
                return written == 0 ? EIO : errno;
            }
            done += written;
        }
    }
}

// Names the unnamed file `fd` as `to`, replacing what is there; 0 or errno.
int Name(int fd, const fs::path& to) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, to.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            return 0;
        }
        if (errno != EEXIST || ::unlink(to.c_str()) != 0) {
            return errno;
        }
    }
    return EEXIST;
}

// The copy across file systems; 0, or the errno of the failure.
int CopyAcross(const fs::path& from, const fs::path& to) {
    const FileDescriptor source(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
    if (source.get() < 0) {
        return errno;
    }
    const fs::path folder = to.parent_path().empty() ? fs::path(".") : to.parent_path();
    const FileDescriptor unnamed(::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
    if (unnamed.get() >= 0) {
        int error = CopyBytes(source.get(), unnamed.get());
        if (error == 0 && ::fsync(unnamed.get()) != 0) {
            error = errno;
        }
        return error != 0 ? error : Name(unnamed.get(), to);
    }
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
        return errno;
    }
    // A file system without unnamed files: the copy is named from the start,
    // and removed when it fails.
    const FileDescriptor named(::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (named.get() < 0) {
        return errno;
    }
    int error = CopyBytes(source.get(), named.get());
    if (error == 0 && ::fsync(named.get()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(to.c_str());
    }
    return error;
}

} // namespace

void MoveFinishedFile(const fs::path& from, const fs::path& to) {
    int error = ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
    if (error == EXDEV) {
        error = CopyAcross(from, to);
        if (error == 0) {
            ::unlink(from.c_str());
        }
    }
    if (error != 0) {
        // The folder, not the name: callers save under a hidden name first.
        const fs::path folder = to.parent_path().empty() ? fs::path(".") : to.parent_path();
        throw SheetError("The copy could not be saved in the folder \"" + folder.string() +
                         "\": " + std::strerror(error) + ".");
    }
}

} // namespace sheet::libreoffice
