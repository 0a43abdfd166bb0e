#include "TemporaryFolder.h"

#include "FileErrors.h"

#include <cerrno>
#include <cstdlib> // mkdtemp
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
    std::string pattern = (root / "vantrelo-save-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("no temporary folder could be made in " + Quoted(root) + ": " +
                                 FileErrorInWords(errno, root));
    }
    path_ = pattern;
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

} // namespace cli
