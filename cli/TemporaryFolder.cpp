#include "TemporaryFolder.h"

#include "FileErrors.h"

#include <cerrno>
#include <cstdlib> // mkdtemp
#include <random>
#include <stdexcept>
#include <string>

namespace cli {
namespace fs = std::filesystem;

TemporaryFolder::TemporaryFolder() {
    std::error_code ec;
    fs::path root = fs::temp_directory_path(ec); // TMPDIR when set
    if (ec) {
        root = "/tmp";
    }
#ifdef _WIN32
    std::random_device seed;
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
        const fs::path folder = root / ("vantrelo-save-" + std::to_string(seed()));
        if (fs::create_directory(folder, ec)) {
            path_ = folder;
        }
    }
    if (path_.empty()) {
        throw std::runtime_error("no temporary folder could be made in " + Quoted(root) + ": " +
                                 ec.message());
    }
#else
    std::string pattern = (root / "vantrelo-save-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("no temporary folder could be made in " + Quoted(root) + ": " +
                                 FileErrorInWords(errno, root));
    }
    path_ = pattern;
#endif
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

} // namespace cli
