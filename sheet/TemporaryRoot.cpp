#include "TemporaryRoot.h"

#include <cstdlib>

namespace sheet {

std::filesystem::path TemporaryRoot() {
    namespace fs = std::filesystem;
    std::error_code ec;
#ifdef _WIN32
    const fs::path root = fs::temp_directory_path(ec);
    return ec ? fs::path() : root;
#else
    const char* tmp = std::getenv("TMPDIR");
    const fs::path root = tmp != nullptr && *tmp != '\0' ? fs::path(tmp) : fs::path("/tmp");
    const fs::path absolute = fs::absolute(root, ec);
    return ec ? root : absolute;
#endif
}

} // namespace sheet
