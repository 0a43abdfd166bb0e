#include "FileErrors.h"

#include "Utf8Path.h"

#include <cerrno>
#include <cstring>

namespace sheet {

std::string Quoted(const std::filesystem::path& path) {
    return "\"" + PathText(path) + "\"";
}

std::string FileErrorInWords(int error, const std::filesystem::path& folder) {
    switch (error) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return "the disk holding " + Quoted(folder) + " is full; free some space";
    case EACCES:
    case EPERM:
        return "permission to write in " + Quoted(folder) + " was denied";
    case EROFS:
        return Quoted(folder) + " is on a disk that is mounted read-only";
    case ENOENT:
    case ENOTDIR:
        return "the folder " + Quoted(folder) + " no longer exists";
    case EEXIST:
        return "a file of that name is there already";
    case ENAMETOOLONG:
        return "the name is longer than the system allows";
    case EIO:
        return "the disk holding " + Quoted(folder) + " reported an error";
    default:
        return std::strerror(error);
    }
}

} // namespace sheet
