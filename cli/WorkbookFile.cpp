#include "WorkbookFile.h"

#include "FileErrors.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace cli {

void CheckWorkbook(const std::filesystem::path& workbook) {
    const std::string name = "the workbook " + Quoted(workbook);
    struct stat info {};
    if (::stat(workbook.c_str(), &info) != 0) {
        throw std::runtime_error(
            name + (errno == ENOENT || errno == ENOTDIR
                        ? " does not exist"
                        : " cannot be reached: " + std::string(std::strerror(errno))));
    }
    if (S_ISDIR(info.st_mode)) {
        throw std::runtime_error(name + " is a folder; name a workbook file");
    }
    if (!S_ISREG(info.st_mode)) {
        throw std::runtime_error(name + " is not a regular file; name a workbook file");
    }
    if (::access(workbook.c_str(), R_OK) != 0) {
        throw std::runtime_error(name + " cannot be read: " + std::strerror(errno));
    }
}

} // namespace cli
