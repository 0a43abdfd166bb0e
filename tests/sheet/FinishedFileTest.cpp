// The saved copy leaves the office's private folder whole or not at all,
// also across file systems and also when our process is killed mid-copy.
#include "sheet/libreoffice/FinishedFile.h"
#include "sheet/SheetError.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using sheet::libreoffice::MoveFinishedFile;

namespace {

// A new folder under `parent`, removed with the object.
struct Folder {
    explicit Folder(const fs::path& parent) {
        std::string pattern = (parent / "vantrelo-finished-XXXXXX").string();
        path = ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
    }
    ~Folder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;
    fs::path path;
};

std::string Read(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Another file system than the temporary folder's, or empty.
fs::path OtherFileSystem(const fs::path& than) {
    struct stat a {
    }, b{};
    if (::stat("/dev/shm", &a) == 0 && ::stat(than.c_str(), &b) == 0 && a.st_dev != b.st_dev &&
        ::access("/dev/shm", W_OK) == 0) {
        return "/dev/shm";
    }
    return {};
}

const fs::path kTemp = fs::temp_directory_path();

} // namespace

TEST(FinishedFile, ArrivesWholeAndReplacesWhatWasThere) {
    const Folder here(kTemp);
    const fs::path other = OtherFileSystem(kTemp);
    const Folder elsewhere(other.empty() ? kTemp : other);
    const std::string bytes(300000, 'x');
    for (const fs::path& from : {here.path / "same.xlsx", elsewhere.path / "across.xlsx"}) {
        std::ofstream(from, std::ios::binary) << bytes;
        const fs::path to = here.path / ("moved-" + from.filename().string());
        std::ofstream(to) << "an earlier file";
        MoveFinishedFile(from, to);
        EXPECT_EQ(Read(to), bytes) << from;
        EXPECT_FALSE(fs::exists(from)) << from;
    }
    try {
        MoveFinishedFile(here.path / "missing.xlsx", here.path / ".hidden-out.xlsx");
        ADD_FAILURE() << "a missing file was moved";
    } catch (const sheet::SheetError& e) {
        EXPECT_EQ(std::string(e.what()), "The copy could not be saved in the folder \"" +
                                             here.path.string() + "\": No such file or directory.");
    }
    EXPECT_FALSE(fs::exists(here.path / ".hidden-out.xlsx"));
}

TEST(FinishedFile, KilledMidCopyLeavesNothingInTheTargetFolder) {
    const fs::path other = OtherFileSystem(kTemp);
    if (other.empty()) {
        GTEST_SKIP() << "no second file system to copy across";
    }
    const Folder source(other);
    const Folder target(kTemp);
    // A pipe as the source lets us stop the copy half way.
    const fs::path pipe = source.path / "saved.xlsx";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const pid_t mover = ::fork();
    if (mover == 0) {
        try {
            MoveFinishedFile(pipe, target.path / "copy.xlsx");
        } catch (...) {
        }
        ::_exit(0);
    }
    const int writer = ::open(pipe.c_str(), O_WRONLY);
    ASSERT_GE(writer, 0);
    // More than a pipe holds: the mover has copied most of it once this returns.
    const std::string half(1 << 18, 'y');
    ASSERT_EQ(::write(writer, half.data(), half.size()), static_cast<ssize_t>(half.size()));
    ::kill(mover, SIGKILL);
    ::waitpid(mover, nullptr, 0);
    ::close(writer);
    EXPECT_TRUE(fs::is_empty(target.path)) << "a part of the copy was left";
}
