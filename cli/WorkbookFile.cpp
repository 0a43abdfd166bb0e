#include "WorkbookFile.h"

#include "sheet/FileErrors.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>

namespace cli {
namespace fs = std::filesystem;
using sheet::Quoted;

void CheckWorkbook(const fs::path& workbook) {
    const std::string name = "the workbook " + Quoted(workbook);
    std::error_code ec;
    const fs::file_type type = fs::status(workbook, ec).type();
    if (type == fs::file_type::not_found) {
        throw std::runtime_error(name + " does not exist");
    }
    if (ec) {
        throw std::runtime_error(name + " cannot be reached: " + ec.message());
    }
    if (type == fs::file_type::directory) {
        throw std::runtime_error(name + " is a folder; name a workbook file");
    }
    if (type != fs::file_type::regular) {
        throw std::runtime_error(name + " is not a regular file; name a workbook file");
    }
    // Opening is the one sure test of reading: permissions, ACLs, locks.
#ifdef _WIN32
    std::FILE* file = ::_wfopen(workbook.c_str(), L"rb");
#else
    std::FILE* file = std::fopen(workbook.c_str(), "rb");
#endif
    if (file == nullptr) {
        throw std::runtime_error(name + " cannot be read: " + std::strerror(errno));
    }
    std::fclose(file);
}

} // namespace cli
