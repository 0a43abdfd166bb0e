#include "app/OrdinaryFile.h"

#include <string>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

std::filesystem::path PathOf(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

bool FileExists(const std::filesystem::path& path) {
    std::error_code error;
    static_cast<void>(std::filesystem::last_write_time(path, error));
    return !path.empty() && !error;
}

bool IsOrdinaryFile(const std::filesystem::path& path) {
    std::error_code error;
    if (path.empty() || !std::filesystem::is_regular_file(path, error))
        return false;
#ifdef _WIN32
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
#else
    // Hidden, the way file managers here hide: a name starting with a dot.
    return !path.filename().string().starts_with('.');
#endif
}
