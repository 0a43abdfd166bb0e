// Workbooks and outputs the command refuses before it starts an office: each
// said in words, nothing written, nothing touched. The command runs here,
// in this process, with a spreadsheet that may never be made; one case runs
// it as a process, for what the program adds: the exit status, the one line
// on standard error and no office's folder in TMPDIR.
#include "BatchProcess.h"
#include "CliFixture.h"
#include "MemorySpreadsheet.h"
#include "cli/Commands.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>
#include <variant>

namespace fs = std::filesystem;

namespace {

enum class Needs { Nothing, Root, NotRoot };

struct Refusal {
    const char* name;
    std::string workbook; // in the work folder
    std::string output;   // in the work folder; ABS stands for the work folder's path
    bool force;
    int status;          // 2 for a command line that cannot be meant, 1 for a refusal
    std::string message; // a part of what the command says
    Needs needs = Needs::Nothing;
};

// The work folder every case starts from: the workbook, an earlier copy, and
// names that are no regular file.
void MakeWorkFolder(const fs::path& work) {
    fs::create_directories(work / "sub");
    fs::copy_file(Workbooks().book, work / "in.xlsx");
    std::ofstream(work / "old.xlsx") << "earlier work";
    fs::create_symlink(work / "in.xlsx", work / "in-link.xlsx");
    fs::create_hard_link(work / "in.xlsx", work / "in-hard.xlsx");
    fs::create_symlink(work / "old.xlsx", work / "old-link.xlsx");
    fs::create_symlink(work / "nowhere.xlsx", work / "dangling.xlsx");
    fs::create_directory(work / "folder.xlsx");
    ::mkfifo((work / "pipe.xlsx").c_str(), 0644);
    // As root this is what /dev/null is; elsewhere the case is skipped.
    ::mknod((work / "device.xlsx").c_str(), S_IFCHR | 0666, makedev(1, 3));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = (work / "socket.xlsx").string();
    socketPath.copy(address.sun_path, sizeof address.sun_path - 1);
    ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    ::close(fd);
    fs::create_directory(work / "locked");
    fs::permissions(work / "locked", fs::perms::owner_read | fs::perms::owner_exec);
    std::ofstream(work / "unreadable.xlsx") << "secret";
    fs::permissions(work / "unreadable.xlsx", fs::perms::none);
}

std::string Spelled(std::string path, const fs::path& work) {
    if (const auto at = path.find("ABS"); at != std::string::npos) {
        path.replace(at, 3, work.string());
    }
    return path;
}

// The work folder as the working folder, for as long as the object lives.
class InFolder {
public:
    explicit InFolder(const fs::path& folder) : old_(fs::current_path()) {
        fs::current_path(folder);
    }
    ~InFolder() { fs::current_path(old_); }
    InFolder(const InFolder&) = delete;
    InFolder& operator=(const InFolder&) = delete;

private:
    fs::path old_;
};

std::vector<std::string> Arguments(const Refusal& r, const fs::path& work) {
    std::vector<std::string> arguments{
        "highlight", r.workbook,  "--block",  kPeopleBlock,
        "--columns", "Name,City", "--output", Spelled(r.output, work)};
    if (r.force) {
        arguments.emplace_back("--force");
    }
    return arguments;
}

class Refused : public ::testing::TestWithParam<Refusal> {};

} // namespace

TEST_P(Refused, BeforeAnyOfficeStarts) {
    const Refusal& r = GetParam();
    const bool root = ::geteuid() == 0;
    if ((r.needs == Needs::Root && !root) || (r.needs == Needs::NotRoot && root)) {
        GTEST_SKIP() << (root ? "root reads and writes whatever the permissions say"
                              : "only root makes a device node");
    }
    const fs::path work = Scratch() / "work";
    MakeWorkFolder(work);
    const auto before = Listing(work);
    const std::string inBytes = Bytes(work / "in.xlsx");

    int status = 0;
    std::string message;
    bool officeAsked = false;
    memory_sheet::MemorySpreadsheet none;
    const cli::SpreadsheetMaker maker = [&](const std::shared_ptr<sheet::StopSwitch>&) {
        officeAsked = true;
        return memory_sheet::Borrowed(none);
    };
    std::ostringstream out, err;
    {
        const InFolder inWork(work);
        try {
            const cli::Command command = cli::ParseArguments(Arguments(r, work));
            cli::RunHighlightCommand(std::get<cli::HighlightCommand>(command), maker, out, err);
        } catch (const cli::UsageError& e) {
            status = 2;
            message = e.what();
        } catch (const std::exception& e) {
            status = 1;
            message = e.what();
        }
    }

    EXPECT_EQ(status, r.status) << message;
    EXPECT_NE(message.find(Spelled(r.message, work)), std::string::npos) << message;
    EXPECT_FALSE(officeAsked) << "an office was asked for";
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(Listing(work), before);
    EXPECT_TRUE(Bytes(work / "in.xlsx") == inBytes);
}

// The program around the command: one line on standard error, exit status
// 1, and not even the office's private folder made.
TEST(Refused, AsAProcess) {
    const fs::path scratch = Scratch();
    const fs::path work = scratch / "work";
    const fs::path tmp = scratch / "tmp";
    fs::create_directory(tmp);
    MakeWorkFolder(work);
    const auto before = Listing(work);
    const BatchResult result = RunBatch(
        Arguments({"AnExistingFileWithoutForce", "in.xlsx", "old.xlsx", false, 1, ""}, work),
        {.environment = {"TMPDIR=" + tmp.string()}, .workingFolder = work});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "vantrelo: the output \"old.xlsx\" exists; add --force to replace it\n");
    EXPECT_EQ(result.out, "");
    EXPECT_TRUE(fs::is_empty(tmp)) << "an office or a save was started";
    EXPECT_EQ(Listing(work), before);
}

INSTANTIATE_TEST_SUITE_P(
    Batch, Refused,
    ::testing::Values(
        Refusal{"TheWorkbookItself", "in.xlsx", "in.xlsx", true, 1,
                "the output \"in.xlsx\" is the workbook itself, which is never written"},
        Refusal{"TheWorkbookByAnotherPath", "in.xlsx", "ABS/sub/../in.xlsx", true, 1,
                "is the workbook itself"},
        Refusal{"TheWorkbookThroughALink", "in.xlsx", "in-link.xlsx", true, 1,
                "is the workbook itself"},
        Refusal{"TheWorkbookByAHardLink", "in.xlsx", "in-hard.xlsx", true, 1,
                "is the workbook itself"},
        Refusal{"TheLinkGivenAsWorkbook", "in-link.xlsx", "ABS/in.xlsx", true, 1,
                "is the workbook itself"},
        Refusal{"AnExistingFileWithoutForce", "in.xlsx", "old.xlsx", false, 1,
                "the output \"old.xlsx\" exists; add --force to replace it"},
        Refusal{"ALinkEvenWithForce", "in.xlsx", "old-link.xlsx", true, 1, "is a symbolic link"},
        Refusal{"ALinkToNowhere", "in.xlsx", "dangling.xlsx", false, 1, "is a symbolic link"},
        Refusal{"AFolder", "in.xlsx", "folder.xlsx", true, 1, "is a folder; name a file"},
        Refusal{"ANamedPipe", "in.xlsx", "pipe.xlsx", true, 1, "is a named pipe, not a file"},
        Refusal{"ADeviceNode", "in.xlsx", "device.xlsx", true, 1, "is a device, not a file",
                Needs::Root},
        Refusal{"ASocket", "in.xlsx", "socket.xlsx", true, 1, "is not a regular file"},
        Refusal{"AMissingFolder", "in.xlsx", "no/such/out.xlsx", false, 1,
                "the folder \"ABS/no/such\" for the output does not exist"},
        Refusal{"AFolderNotWritable", "in.xlsx", "locked/out.xlsx", false, 1,
                "permission to write in", Needs::NotRoot},
        Refusal{"ANameTooLong", "in.xlsx", std::string(251, 'n') + ".xlsx", false, 1,
                "has a name of 256 bytes, longer than the 255 its folder allows"},
        Refusal{"AMacroWorkbookName", "in.xlsx", "out.xlsm", false, 2,
                "names a workbook with macros, which the coloured copy is not; choose a name "
                "ending in .xlsx, .xls, .ods or .fods"},
        Refusal{"AFormatWithoutColours", "in.xlsx", "out.csv", true, 2,
                "names a format that does not keep cell colours"},
        Refusal{"NoExtension", "in.xlsx", "out", false, 2, "has no extension to name the format"},
        Refusal{"AMissingWorkbook", "no-such.xlsx", "out.xlsx", false, 1,
                "the workbook \"no-such.xlsx\" does not exist"},
        Refusal{"AFolderAsWorkbook", "folder.xlsx", "out.xlsx", false, 1,
                "the workbook \"folder.xlsx\" is a folder; name a workbook file"},
        Refusal{"APipeAsWorkbook", "pipe.xlsx", "out.xlsx", false, 1,
                "the workbook \"pipe.xlsx\" is not a regular file"},
        Refusal{"AnUnreadableWorkbook", "unreadable.xlsx", "out.xlsx", false, 1,
                "the workbook \"unreadable.xlsx\" cannot be read: Permission denied",
                Needs::NotRoot}),
    [](const auto& param) { return std::string(param.param.name); });
