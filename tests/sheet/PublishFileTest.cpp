// A file of ours reaches the user's folder whole or not at all, under its
// own name only: across file systems too, and when our process is killed
// mid-copy.
#include "sheet/PublishFile.h"
#include "sheet/FileErrors.h"

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
using sheet::PublishFile;

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

TEST(PublishFile, ArrivesWholeReplacingOnlyWhenAsked) {
    const Folder here(kTemp);
    const fs::path other = OtherFileSystem(kTemp);
    const Folder elsewhere(other.empty() ? kTemp : other);
    const std::string bytes(300000, 'x');
    for (const bool replace : {false, true}) {
        for (const fs::path& from : {here.path / "same.xlsx", elsewhere.path / "across.xlsx"}) {
            std::ofstream(from, std::ios::binary) << bytes;
            const fs::path to = here.path / ("published-" + from.filename().string());
            std::ofstream(to) << "an earlier file";
            const std::string name = from.string() + (replace ? " replacing" : " refused");
            try {
                PublishFile(from, to, replace, "The copy");
                EXPECT_TRUE(replace) << name;
            } catch (const sheet::FileError& e) {
                EXPECT_FALSE(replace) << name;
                EXPECT_EQ(e.error(), EEXIST) << name;
                EXPECT_EQ(std::string(e.what()), "The copy could not be put at \"" + to.string() +
                                                     "\": a file of that name is there already");
            }
            EXPECT_EQ(Read(to), replace ? bytes : "an earlier file") << name;
            EXPECT_EQ(fs::exists(from), !replace) << name;
            fs::remove(to);
        }
    }
    sheet::PublishContents("a report", here.path / "report.csv", false, "The report");
    EXPECT_EQ(Read(here.path / "report.csv"), "a report");
    // Nothing but what was published, under its own name.
    EXPECT_EQ(std::distance(fs::directory_iterator(here.path), fs::directory_iterator()), 1);
}

TEST(PublishFile, KilledMidCopyLeavesNothingInTheTargetFolder) {
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
            PublishFile(pipe, target.path / "copy.xlsx", false, "The copy");
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
