// The guard program on its own, with a stand-in for the office: however the
// process that started it ends, the stand-in and what it started go, and so
// does what an office leaves; after a hand-over it runs on, and its folder
// goes once it ends. The start-up sweep removes only what nobody holds.
#include "sheet/libreoffice/OfficeGuard.h"
#include "ScopedVariable.h"
#include "sheet/libreoffice/Spawn.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using namespace sheet::libreoffice;

namespace {

bool Eventually(const std::function<bool()>& done) {
    for (int tries = 0; tries < 500 && !done(); ++tries) {
        std::this_thread::sleep_for(10ms);
    }
    return done();
}

// The stand-in for the office and its child (shells that name its folder).
std::vector<pid_t> StandIns(const std::string& folder) {
    std::vector<pid_t> processes;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/proc", ec)) {
        std::string cmdline(4096, '\0'); // a process that has ended reads as nothing
        std::ifstream(entry.path() / "cmdline", std::ios::binary).read(cmdline.data(), 4096);
        if (cmdline.rfind("/bin/sh", 0) == 0 && cmdline.find(folder) != std::string::npos) {
            processes.push_back(std::atoi(entry.path().filename().c_str()));
        }
    }
    return processes;
}

// A socket file at `path`; listened on while the returned descriptor is open.
int SocketFile(const fs::path& path, bool listen) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    if (listen) {
        ::listen(fd, 1);
    } else {
        ::close(fd);
    }
    return fd;
}

enum class Ending { KilledWhileStarting, KilledWhileRunning, KilledAfterHandOver, EndedByUs };

struct Case {
    const char* name;
    Ending ending;
};

class Guard : public ::testing::TestWithParam<Case> {};

} // namespace

TEST_P(Guard, LeavesNothingOnceTheOfficeHasEnded) {
    const Ending ending = GetParam().ending;
    char pattern[] = "/tmp/vantrelo-guard-test-XXXXXX";
    const fs::path folder = ::mkdtemp(pattern);
    const std::string prefix = "/tmp/OSL_PIPE_" + std::to_string(::getuid()) + "_";
    const std::string pipe = folder.filename().string();
    std::ofstream(prefix + pipe) << "our pipe";
    SocketFile(prefix + pipe + "-refusing", false);
    const int listened = SocketFile(prefix + pipe + "-listened", true);
    const auto started = [&] { return fs::exists(folder / "started"); };

    const pid_t us = ::fork();
    if (us == 0) {
        try {
            OfficeGuard guard(
                {folder.string(), pipe},
                {"/bin/sh", "-c",
                 ": > \"$0/started\"; /bin/sh -c 'sleep 600; :' \"$0\" & sleep 600; :", folder},
                OurEnvironment(), nullptr);
            if (ending != Ending::KilledWhileStarting) {
                Eventually(started);
            }
            if (ending == Ending::KilledAfterHandOver) {
                guard.handOver();
            } else if (ending == Ending::EndedByUs) {
                guard.end(100ms);
                ::_exit(0);
            }
            ::raise(SIGKILL);
        } catch (...) {
        }
        ::_exit(1);
    }
    int status = 0;
    ::waitpid(us, &status, 0);
    ASSERT_EQ(ending == Ending::EndedByUs ? 0 : SIGKILL,
              ending == Ending::EndedByUs ? WEXITSTATUS(status) : WTERMSIG(status));
    if (ending == Ending::KilledAfterHandOver) {
        std::this_thread::sleep_for(300ms);
        EXPECT_FALSE(StandIns(folder).empty()) << "the office handed over was ended";
        EXPECT_TRUE(fs::exists(folder));
        for (const pid_t pid : StandIns(folder)) {
            ::kill(pid, SIGKILL); // the user quits it
        }
    }
    EXPECT_TRUE(Eventually([&] { return StandIns(folder).empty(); })) << "left running";
    EXPECT_TRUE(Eventually([&] { return !fs::exists(folder); })) << "its folder was left";
    EXPECT_FALSE(fs::exists(prefix + pipe));
    EXPECT_FALSE(fs::exists(prefix + pipe + "-refusing"));
    EXPECT_TRUE(fs::exists(prefix + pipe + "-listened")) << "a live socket was removed";
    ::close(listened);
    fs::remove(prefix + pipe + "-listened");
}

INSTANTIATE_TEST_SUITE_P(
    Endings, Guard,
    ::testing::Values(Case{"KilledWhileTheOfficeStarts", Ending::KilledWhileStarting},
                      Case{"KilledWhileItRuns", Ending::KilledWhileRunning},
                      Case{"KilledAfterHandOver", Ending::KilledAfterHandOver},
                      Case{"EndedByUs", Ending::EndedByUs}),
    [](const ::testing::TestParamInfo<Case>& param) { return std::string(param.param.name); });

TEST(StartUpSweep, RemovesOnlyOurFoldersThatNobodyHolds) {
    char pattern[] = "/tmp/vantrelo-sweep-test-XXXXXX";
    const fs::path root = ::mkdtemp(pattern);
    const ScopedVariable tmpdir("TMPDIR", root), cache("XDG_CACHE_HOME", root / "cache");
    struct Folder {
        fs::path path;
        bool old, held, stays;
    };
    const std::vector<Folder> folders{
        {root / "vantrelo-office-abandoned", true, false, false},
        {root / "vantrelo-office-held", true, true, true},
        {root / "vantrelo-office-just-made", false, false, true},
        {root / "vantrelo-profile-template-0", true, false, true}, // no release made this name
        {root / "cache/vantrelo/office-profile-setup-abandoned", true, false, false},
        {root / "cache/vantrelo/office-profile-0", true, false, true},
    };
    for (const Folder& folder : folders) {
        fs::create_directories(folder.path / "user");
        if (folder.held) {
            HoldAsInUse(folder.path);
        }
        if (folder.old) {
            fs::last_write_time(folder.path, fs::file_time_type::clock::now() - 2min);
        }
    }
    RemoveStaleProfiles();
    for (const Folder& folder : folders) {
        EXPECT_EQ(fs::exists(folder.path), folder.stays) << folder.path;
    }
    fs::remove_all(root);
}
