#pragma once

#include <filesystem>

namespace cli {

// A new folder of our own under TMPDIR (or /tmp), readable by us alone, and
// removed with all it holds however the scope is left.
class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

} // namespace cli
