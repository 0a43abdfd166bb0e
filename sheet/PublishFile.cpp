#include "PublishFile.h"

#include "FileErrors.h"

#include <cerrno>
#include <functional>

#ifdef _WIN32
#include <atomic>
#include <fstream>
#include <windows.h>
#else
#include "FileDescriptor.h"

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace sheet {
namespace fs = std::filesystem;
namespace {

fs::path FolderOf(const fs::path& path) {
    const fs::path folder = path.parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

[[noreturn]] void Fail(const std::string& whatItIs, const fs::path& destination, int error) {
    throw FileError(whatItIs + " could not be put at " + Quoted(destination) + ": " +
                        FileErrorInWords(error, FolderOf(destination)),
                    error);
}

} // namespace

#ifdef _WIN32

namespace {

int ErrnoOf(DWORD code) {
    switch (code) {
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return EEXIST;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_FILE_NOT_FOUND:
        return ENOENT;
    case ERROR_FILENAME_EXCED_RANGE:
        return ENAMETOOLONG;
    default:
        return EIO;
    }
}

} // namespace

// Windows has no unnamed files; across volumes it copies under the final
// name, and removes that copy itself when the copy fails.
void PublishFile(const fs::path& finished, const fs::path& destination, bool replace,
                 const std::string& whatItIs) {
    const DWORD flags =
        MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
    if (!::MoveFileExW(finished.c_str(), destination.c_str(), flags)) {
        Fail(whatItIs, destination, ErrnoOf(::GetLastError()));
    }
}

void PublishContents(std::string_view contents, const fs::path& destination, bool replace,
                     const std::string& whatItIs) {
    // A plain name: the destination's own may not survive the trip through
    // a narrow string.
    static std::atomic<unsigned> counter{0};
    std::error_code ec;
    const fs::path temporary =
        fs::temp_directory_path(ec) / ("vantrelo-" + std::to_string(::GetCurrentProcessId()) + "-" +
                                       std::to_string(++counter) + ".tmp");
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file.write(contents.data(), static_cast<std::streamsize>(contents.size()));
        if (!file.flush()) {
            file.close();
            fs::remove(temporary, ec);
            Fail(whatItIs, destination, ENOSPC);
        }
    }
    try {
        PublishFile(temporary, destination, replace, whatItIs);
    } catch (...) {
        fs::remove(temporary, ec);
        throw;
    }
}

#else

namespace {

// Renames without replacing when `replace` is false, even against a file
// that appears between a check and the rename; 0 or errno.
int Rename(const fs::path& from, const fs::path& to, bool replace) {
    if (replace) {
        return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
    }
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL) {
        return errno;
    }
    // A file system without that flag: a hard link refuses an existing name too.
    if (::link(from.c_str(), to.c_str()) != 0) {
        return errno;
    }
    ::unlink(from.c_str());
    return 0;
}

// Writes all of `size` bytes; 0 or errno.
int WriteAll(int fd, const char* data, std::size_t size) {
    for (std::size_t done = 0; done < size;) {
        const ssize_t written = ::write(fd, data + done, size - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return written == 0 ? EIO : errno;
        }
        done += static_cast<std::size_t>(written);
    }
    return 0;
}

// Copies all of `from` into `to`; 0 or errno.
int CopyBytes(int from, int to) {
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(from, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return got == 0 ? 0 : errno;
        }
        if (const int error = WriteAll(to, buffer, static_cast<std::size_t>(got)); error != 0) {
            return error;
        }
    }
}

// Gives the unnamed file `fd` the name `to`; 0 or errno. Replacing means
// removing the old name first: a link never replaces.
int Link(int fd, const fs::path& to, bool replace) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, to.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        return 0;
    }
    if (errno != EEXIST || !replace) {
        return errno;
    }
    if (::unlink(to.c_str()) != 0) {
        return errno;
    }
    return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, to.c_str(), AT_SYMLINK_FOLLOW) == 0 ? 0
                                                                                          : errno;
}

// A new file at `destination` that `fill` writes, named only once complete
// and flushed; 0 or errno.
int WriteNewFile(const fs::path& destination, bool replace, const std::function<int(int)>& fill) {
    const FileDescriptor unnamed(
        ::open(FolderOf(destination).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
    if (unnamed.get() >= 0) {
        int error = fill(unnamed.get());
        if (error == 0 && ::fsync(unnamed.get()) != 0) {
            error = errno;
        }
        return error != 0 ? error : Link(unnamed.get(), destination, replace);
    }
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
        return errno;
    }
    // A file system without unnamed files: named from the start, and
    // removed when it fails.
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (replace ? O_TRUNC : O_EXCL);
    const FileDescriptor named(::open(destination.c_str(), flags, 0666));
    if (named.get() < 0) {
        return errno;
    }
    int error = fill(named.get());
    if (error == 0 && ::fsync(named.get()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(destination.c_str());
    }
    return error;
}

void Flush(const fs::path& path) {
    // Not blocking: a pipe given as the file must not wait here for a writer.
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.get() >= 0) {
        ::fsync(file.get());
    }
}

} // namespace

void PublishFile(const fs::path& finished, const fs::path& destination, bool replace,
                 const std::string& whatItIs) {
    // The bytes reach the disk before the name does, so a crash of the
    // machine cannot leave the name on an empty file.
    Flush(finished);
    int error = Rename(finished, destination, replace);
    if (error == EXDEV) {
        const FileDescriptor source(::open(finished.c_str(), O_RDONLY | O_CLOEXEC));
        error = source.get() < 0 ? errno : WriteNewFile(destination, replace, [&](int fd) {
            return CopyBytes(source.get(), fd);
        });
        if (error == 0) {
            ::unlink(finished.c_str());
        }
    }
    if (error != 0) {
        Fail(whatItIs, destination, error);
    }
    Flush(FolderOf(destination));
}

void PublishContents(std::string_view contents, const fs::path& destination, bool replace,
                     const std::string& whatItIs) {
    const int error = WriteNewFile(destination, replace, [&](int fd) {
        return WriteAll(fd, contents.data(), contents.size());
    });
    if (error != 0) {
        Fail(whatItIs, destination, error);
    }
    Flush(FolderOf(destination));
}

#endif

} // namespace sheet
