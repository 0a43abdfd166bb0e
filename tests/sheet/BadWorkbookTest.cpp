// Workbooks the office refuses, or could use only in part, fail in words:
// no fill is reported as made, and the file is left exactly as it was.
#include "Fills.h"
#include "OfficeFixture.h"
#include "sheet/HighlightBlock.h"
#include "sheet/OpenExcelWorkbook.h"
#include "sheet/SheetError.h"

#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sstream>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// A file's bytes and its modification time, to show it was not written.
struct FileState {
    std::string bytes;
    timespec modified{};

    static FileState Of(const std::string& path) {
        FileState state;
        std::ifstream file(path, std::ios::binary);
        std::stringstream bytes;
        bytes << file.rdbuf();
        state.bytes = bytes.str();
        struct stat info {};
        ::stat(path.c_str(), &info);
        state.modified = info.st_mtim;
        return state;
    }
    bool operator==(const FileState& other) const {
        return bytes == other.bytes && modified.tv_sec == other.modified.tv_sec &&
               modified.tv_nsec == other.modified.tv_nsec;
    }
};

constexpr std::uint32_t kYellow = 0x00FFFF;
const dupes::HighlightOptions kNameAndCity{dupes::RunKind::AllDuplicates,
                                           {true, true, false, false},
                                           dupes::HighlightColour::Yellow,
                                           false};

// Opens `path` and highlights People!B2:E10 in yellow; the failure's message,
// or "" when it all went through. `colouredCells` counts the block's cells
// that are yellow afterwards.
std::string FailureHighlighting(const std::string& path, int& colouredCells) {
    colouredCells = 0;
    auto office = MakeTestOffice(HeadlessOptions());
    std::unique_ptr<sheet::Workbook> book;
    try {
        book = sheet::OpenExcelWorkbook(*office, path);
        const auto block = book->findBlock("People!$B$2:$E$10");
        try {
            sheet::HighlightBlock(*book, block, kNameAndCity);
        } catch (const sheet::SheetError& e) {
            for (int row = 2; row <= 10; ++row) {
                for (int column = 2; column <= 5; ++column) {
                    colouredCells += FillOf(*book, block, row, column) == kYellow ? 1 : 0;
                }
            }
            return e.what();
        }
    } catch (const sheet::SheetError& e) {
        return e.what();
    }
    return "";
}

// Makes a file one the office cannot write, and writable again when it ends.
// A user's permissions do not stop root, so there the file is marked
// immutable, which stops everyone, where the file system and the test's
// rights allow it.
class Unwritable {
public:
    explicit Unwritable(std::string path) : path_(std::move(path)) {
        if (::geteuid() != 0) {
            fs::permissions(
                path_, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                fs::perm_options::remove);
            done_ = true;
            return;
        }
        done_ = setImmutable(true);
    }
    ~Unwritable() {
        if (done_ && ::geteuid() == 0) {
            setImmutable(false);
        } else if (done_) {
            fs::permissions(path_, fs::perms::owner_write, fs::perm_options::add);
        }
    }
    Unwritable(const Unwritable&) = delete;
    Unwritable& operator=(const Unwritable&) = delete;
    bool done() const { return done_; }

private:
    bool setImmutable(bool on) {
        const int fd = ::open(path_.c_str(), O_RDONLY);
        if (fd < 0) {
            return false;
        }
        int flags = 0;
        bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ok && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        ::close(fd);
        return ok;
    }

    std::string path_;
    bool done_ = false;
};

} // namespace

TEST(BadWorkbook, EachIsRefusedInWordsAndLeftAsItWas) {
    const auto& bad = Workbooks().bad;
    const struct {
        const char* name;
        std::string path;
        const char* says;
    } cases[] = {
        {"no bytes", bad.empty, "is empty."},
        {"a sheet cut short", bad.cutShortSheet,
         "is damaged: LibreOffice could read only part of it."},
        {"the file cut short", bad.cutShortFile,
         "is damaged: LibreOffice could open it only by repairing it, which may lose data."},
        {"rows past the last", bad.pastTheLastRow, "is damaged or too large"},
        {"a password", bad.passwordProtected, "is protected by a password"},
        {"a protected sheet", Workbooks().protectedPeople,
         "The sheet \"People\" is protected, so its cells cannot be coloured."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const FileState before = FileState::Of(c.path);
        int coloured = -1;
        const std::string failure = FailureHighlighting(c.path, coloured);
        EXPECT_NE(failure.find(c.says), std::string::npos) << failure;
        EXPECT_EQ(failure.find("file://"), std::string::npos) << failure;
        EXPECT_EQ(coloured, 0);
        EXPECT_TRUE(FileState::Of(c.path) == before) << "the workbook was written";
    }
}

// The office opens a file it may not write read-only, and keeps no fills on a
// read-only document; the copy is saved elsewhere, so it is coloured all the
// same.
TEST(BadWorkbook, AFileTheUserMayNotWriteIsColouredAndLeftAsItWas) {
    const std::string path = (Workbooks().folder / "unwritable.xlsx").string();
    fs::copy_file(Workbooks().people, path, fs::copy_options::overwrite_existing);
    {
        const Unwritable unwritable(path);
        if (!unwritable.done()) {
            GTEST_SKIP() << "this test may not make a file unwritable for root here";
        }
        const FileState before = FileState::Of(path);
        {
            auto office = MakeTestOffice(HeadlessOptions());
            const auto book = sheet::OpenExcelWorkbook(*office, path);
            const auto block = book->findBlock("People!$B$2:$E$10");
            const auto summary = sheet::HighlightBlock(*book, block, kNameAndCity);
            EXPECT_EQ(summary.rowsColoured, 7);
            EXPECT_EQ(FillOf(*book, block, 3, 2), kYellow);
            book->saveCopyAs((Workbooks().folder / "unwritable-copy.xlsx").string(), false, {});
        }
        EXPECT_TRUE(FileState::Of(path) == before) << "the workbook was written";
    }
    fs::remove(path);
}

// Formulas keep the results stored in the file: a link to a file that is gone
// keeps its last result instead of becoming an error, a stored result is not
// calculated anew (1+1 stays the 5 the file holds), and reading the cells
// calculates nothing either. (Volatile cells, RAND and NOW, the office gives new
// values as it loads the file and after any change, a fill too, as Excel
// does; no setting of the office keeps theirs.)
// The office also puts a lock file beside a document it opens for editing;
// nothing may be put beside the user's workbook, while it is open either.
TEST(BadWorkbook, StoredResultsAreKeptAndNothingIsPutBeside) {
    const fs::path folder = Workbooks().folder / "alone";
    fs::create_directories(folder);
    const fs::path path = folder / "stored.xlsx";
    fs::copy_file(Workbooks().bad.storedResults, path, fs::copy_options::overwrite_existing);
    {
        auto office = sheet::libreoffice::MakeLibreOffice(HeadlessOptions());
        const auto book = sheet::OpenExcelWorkbook(*office, path.string());
        auto& cells = book->cells(book->findBlock("Stored!A1:D1"));
        const auto texts = [&] {
            dupes::TextTable read;
            cells.readTexts(1, 1, {1, 2, 3, 4}, read);
            return std::vector<std::string>{std::string(read.cell(0)), std::string(read.cell(1)),
                                            std::string(read.cell(2)), std::string(read.cell(3))};
        };
        const auto first = texts();
        EXPECT_EQ(first.at(2), "far away");
        EXPECT_EQ(first.at(3), "5");
        EXPECT_EQ(texts(), first);
        EXPECT_EQ(cells.cellText(1, 1), first.at(0));

        cells.colourSpans({{1, 3, 3}}, kYellow);
        std::vector<std::string> beside;
        for (const auto& entry : fs::directory_iterator(folder)) {
            beside.push_back(entry.path().filename().string());
        }
        EXPECT_EQ(beside, std::vector<std::string>{"stored.xlsx"});
    }
    fs::remove_all(folder);
}
