#include "OutputFile.h"

#include "sheet/FileErrors.h"
#include "sheet/TemporaryRoot.h"
#include "sheet/Utf8Path.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <stdexcept>
#include <string>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace cli {
namespace fs = std::filesystem;
using sheet::FileErrorInWords;
using sheet::Quoted;
namespace {

bool IsTheWorkbook(const fs::path& workbook, const fs::path& output) {
    std::error_code ec;
    if (fs::equivalent(workbook, output, ec)) {
        return true;
    }
    const fs::path a = fs::weakly_canonical(workbook, ec);
    const fs::path b = fs::weakly_canonical(output, ec);
    return !ec && a == b;
}

// How the messages name the file checked, and what goes in it.
struct Naming {
    std::string file;
    std::string contents;
};

[[noreturn]] void Refuse(const fs::path& output, const std::string& why,
                         const std::string& file = "the output") {
    throw std::runtime_error(file + " " + Quoted(output) + " " + why);
}

// What a name that is not a regular file holds, for the refusal.
std::string KindOf(fs::file_type type) {
    switch (type) {
    case fs::file_type::directory:
        return "is a folder; name a file";
    case fs::file_type::symlink:
        return "is a symbolic link; name the file itself, or another name";
    case fs::file_type::character:
    case fs::file_type::block:
        return "is a device, not a file; name a file";
    case fs::file_type::fifo:
        return "is a named pipe, not a file; name a file";
    default:
        return "is not a regular file; name a file";
    }
}

void CheckNameLength(const fs::path& output, const fs::path& folder, const std::string& file) {
#ifdef _WIN32
    const std::size_t allowed = 255;
#else
    const long nameMax = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    const std::size_t allowed = nameMax > 0 ? static_cast<std::size_t>(nameMax) : 255;
#endif
    const std::size_t length = output.filename().string().size();
    if (length > allowed) {
        Refuse(output,
               "has a name of " + std::to_string(length) + " bytes, longer than the " +
                   std::to_string(allowed) + " its folder allows; choose a shorter name",
               file);
    }
    if ((folder / output.filename()).string().size() >= PATH_MAX) {
        Refuse(output, "has a path longer than the system allows; choose a shorter one", file);
    }
}

// A nearly full temporary folder is the likeliest cause of a failed save the
// office gives no reason for: it has room for less than two copies of the
// workbook.
bool NearlyFull(const fs::path& folder, const fs::path& workbook) {
    std::error_code ec;
    const fs::space_info disk = fs::space(folder, ec);
    if (ec) {
        return false;
    }
    const std::uintmax_t size = fs::file_size(workbook, ec);
    return disk.available < std::max<std::uintmax_t>(1 << 20, ec ? 0 : 2 * size);
}

void CheckWritable(const fs::path& workbook, const fs::path& output, bool force,
                   const Naming& naming) {
    if (IsTheWorkbook(workbook, output)) {
        Refuse(output, "is the workbook itself, which is never written; name another file",
               naming.file);
    }
    std::error_code ec;
    const fs::path folder = fs::absolute(output, ec).parent_path();
    CheckNameLength(output, folder, naming.file);
    const fs::file_type type = fs::symlink_status(output, ec).type();
    if (type != fs::file_type::not_found && type != fs::file_type::none) {
        if (type != fs::file_type::regular) {
            Refuse(output, KindOf(type), naming.file);
        }
        if (!force) {
            Refuse(output, "exists; add --force to replace it", naming.file);
        }
    }
    if (!fs::is_directory(folder, ec)) {
        throw std::runtime_error("the folder " + Quoted(folder) + " for " + naming.file +
                                 " does not exist");
    }
#ifndef _WIN32
    if (::access(folder.c_str(), W_OK | X_OK) != 0) {
        throw std::runtime_error(naming.contents + " cannot be put in " + Quoted(folder) + ": " +
                                 FileErrorInWords(errno, folder));
    }
#endif
}

} // namespace

std::string AbsolutePath(const std::string& utf8) {
    std::error_code ec;
    return sheet::PathText(fs::absolute(sheet::PathOf(utf8), ec).lexically_normal());
}

void CheckOutput(const fs::path& workbook, const fs::path& output, bool force) {
    CheckWritable(workbook, output, force, {"the output", "the coloured copy"});
}

void CheckOutputFile(const fs::path& workbook, const fs::path& path, bool force,
                     const std::string& whatItIs) {
    CheckWritable(workbook, path, force, {whatItIs, whatItIs});
}

void SaveCopy(sheet::Workbook& workbook, const sheet::ProgressListener& progress,
              const fs::path& workbookPath, const fs::path& output, bool force) {
    try {
        workbook.saveCopyAs(sheet::PathText(output), force, progress);
    } catch (const sheet::FileError& e) {
        if (e.error() == EEXIST && !force) {
            // An output that appeared while the office worked.
            Refuse(output, "exists; add --force to replace it");
        }
        throw;
    } catch (const sheet::SheetError&) {
        const fs::path temporary = sheet::TemporaryRoot();
        if (NearlyFull(temporary, workbookPath)) {
            throw sheet::SheetError(
                "LibreOffice could not save the copy: the temporary folder " + Quoted(temporary) +
                " is full; free some space there or set TMPDIR to a folder with room");
        }
        throw;
    }
}

} // namespace cli
