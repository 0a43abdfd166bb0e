#include "MoveIntoPlace.h"

#include "FileErrors.h"

#include <cerrno>
#include <cstdio>
#include <stdexcept>
#include <string>

#ifndef _WIN32
#include "sheet/FileDescriptor.h"

#include <fcntl.h>
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

// Windows renames without replacing unless asked to.
void MoveIntoPlace(const fs::path& staged, const fs::path& output, bool replace,
                   const std::function<void()>& checkJustBefore) {
    std::error_code ec;
    checkJustBefore();
    if (!replace && fs::exists(fs::symlink_status(output, ec))) {
        Fail(output, EEXIST);
    }
    fs::rename(staged, output, ec);
    if (ec) {
        Fail(output, ec.default_error_condition().value());
    }
}

#else

namespace {

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

void FlushFile(const fs::path& path) {
    const sheet::FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() >= 0) {
        ::fsync(file.get());
    }
}

} // namespace

void MoveIntoPlace(const fs::path& staged, const fs::path& output, bool replace,
                   const std::function<void()>& checkJustBefore) {
    FlushFile(staged);
    checkJustBefore();
    if (Rename(staged.c_str(), output.c_str(), replace) != 0) {
        Fail(output, errno);
    }
    FlushFile(output.parent_path().empty() ? fs::path(".") : output.parent_path());
}

#endif

} // namespace cli
