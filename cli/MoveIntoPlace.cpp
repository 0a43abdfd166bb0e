#include "MoveIntoPlace.h"

#include "FileErrors.h"

#include <cerrno>
#include <cstdio>
#include <stdexcept>
#include <string>

#ifdef _WIN32
#include <random>
#else
#include "sheet/FileDescriptor.h"

#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace cli {
namespace fs = std::filesystem;
namespace {

[[noreturn]] void Fail(const fs::path& output, int error) {
    throw std::runtime_error("the coloured copy could not be put at " + Quoted(output) + ": " +
                             FileErrorInWords(error, output.parent_path()));
}

} // namespace

#ifdef _WIN32

// Windows renames without replacing unless asked to, and copies across
// volumes; the same steps with the standard library's calls.
void MoveIntoPlace(const fs::path& staged, const fs::path& output, bool replace,
                   const std::function<void()>& checkJustBefore) {
    std::error_code ec;
    checkJustBefore();
    if (!replace && fs::exists(fs::symlink_status(output, ec))) {
        Fail(output, EEXIST);
    }
    fs::rename(staged, output, ec);
    if (!ec) {
        return;
    }
    const fs::path folder = output.parent_path().empty() ? fs::path(".") : output.parent_path();
    const fs::path partial =
        folder / (".vantrelo-" + std::to_string(std::random_device()()) + ".partial");
    if (!fs::copy_file(staged, partial, ec)) {
        const int error = ec.default_error_condition().value();
        fs::remove(partial, ec);
        Fail(output, error);
    }
    checkJustBefore();
    fs::rename(partial, output, ec);
    if (ec) {
        const int error = ec.default_error_condition().value();
        fs::remove(partial, ec);
        Fail(output, error);
    }
}

#else

namespace {

// The hidden file beside the output, removed unless it was renamed into place.
class PartialFile {
public:
    explicit PartialFile(const fs::path& folder)
        : path_((folder / ".vantrelo-XXXXXX.partial").string()), fd_(::mkstemps(path_.data(), 8)) {
        if (fd_.get() < 0) {
            throw std::runtime_error("the coloured copy could not be written into " +
                                     Quoted(folder) + ": " + FileErrorInWords(errno, folder));
        }
    }
    ~PartialFile() {
        if (!placed_) {
            ::unlink(path_.c_str());
        }
    }
    PartialFile(const PartialFile&) = delete;
    PartialFile& operator=(const PartialFile&) = delete;

    const std::string& path() const { return path_; }
    sheet::FileDescriptor& fd() { return fd_; }
    void placed() { placed_ = true; }

private:
    std::string path_;
    sheet::FileDescriptor fd_;
    bool placed_ = false;
};

// Renames without replacing when `replace` is false, even against a file
// that appears between our check and the rename.
int Rename(const char* from, const char* to, bool replace) {
    if (replace) {
        return std::rename(from, to);
    }
    const int renamed = ::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE);
    if (renamed == 0 || errno != EINVAL) {
        return renamed;
    }
    // A file system without that flag: a hard link refuses an existing name too.
    if (::link(from, to) != 0) {
        return -1;
    }
    ::unlink(from);
    return 0;
}

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            errno = written == 0 ? EIO : errno;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// Copies `from` into `to`, then flushes it to the disk; errno on failure.
int CopyAndFlush(const fs::path& from, int to) {
    sheet::FileDescriptor source(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (source.get() < 0 || ::fstat(source.get(), &info) != 0) {
        return errno;
    }
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(source.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return errno;
        }
        if (got == 0) {
            break;
        }
        if (!WriteAll(to, buffer, static_cast<std::size_t>(got))) {
            return errno;
        }
    }
    // mkstemps makes the file for us alone; the copy gets the office's mode.
    if (::fchmod(to, info.st_mode & 07777) != 0 || ::fsync(to) != 0) {
        return errno;
    }
    return 0;
}

void FlushFile(const fs::path& path) {
    sheet::FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() >= 0) {
        ::fsync(file.get());
    }
}

} // namespace

void MoveIntoPlace(const fs::path& staged, const fs::path& output, bool replace,
                   const std::function<void()>& checkJustBefore) {
    const fs::path folder = output.parent_path().empty() ? fs::path(".") : output.parent_path();
    FlushFile(staged);
    checkJustBefore();
    if (Rename(staged.c_str(), output.c_str(), replace) == 0) {
        FlushFile(folder);
        return;
    }
    if (errno != EXDEV) {
        Fail(output, errno);
    }
    PartialFile partial(folder);
    if (const int error = CopyAndFlush(staged, partial.fd().get()); error != 0) {
        Fail(output, error);
    }
    if (partial.fd().close() != 0) {
        Fail(output, errno);
    }
    checkJustBefore();
    if (Rename(partial.path().c_str(), output.c_str(), replace) != 0) {
        Fail(output, errno);
    }
    partial.placed();
    FlushFile(folder);
}

#endif

} // namespace cli
