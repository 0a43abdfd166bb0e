// A killed office leaves its pipes' sockets in /tmp, where the office's
// runtime puts them whatever TMPDIR says: they go with it, for whatever
// profile folder a user's TMPDIR gives, though only our own pipe's name is
// known to us.
#include "OfficeFixture.h"
#include "OfficeProcesses.h"

#include "sheet/libreoffice/OfficeProcess.h"
#include "sheet/libreoffice/UnoConnection.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <set>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace fs = std::filesystem;
using sheet::libreoffice::OfficeProcess;

namespace {

// Sets TMPDIR for the lifetime of the object, and puts the old one back.
class TemporaryFolderVariable {
public:
    explicit TemporaryFolderVariable(const fs::path& folder) {
        if (const char* old = std::getenv("TMPDIR")) {
            old_ = old;
        }
        ::setenv("TMPDIR", folder.c_str(), 1);
    }
    ~TemporaryFolderVariable() {
        if (old_) {
            ::setenv("TMPDIR", old_->c_str(), 1);
        } else {
            ::unsetenv("TMPDIR");
        }
    }
    TemporaryFolderVariable(const TemporaryFolderVariable&) = delete;
    TemporaryFolderVariable& operator=(const TemporaryFolderVariable&) = delete;

private:
    std::optional<std::string> old_;
};

std::set<std::string> OfficeSockets() {
    std::set<std::string> sockets;
    const std::string prefix = "OSL_PIPE_" + std::to_string(::getuid()) + "_";
    for (const auto& entry : fs::directory_iterator("/tmp")) {
        if (entry.path().filename().string().rfind(prefix, 0) == 0) {
            sockets.insert(entry.path().string());
        }
    }
    return sockets;
}

// Other offices may be running meanwhile: what counts is that no socket
// is left that nobody listens on.
bool Listened(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    const int probe = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
    const bool listened =
        ::connect(probe, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(probe);
    return listened;
}

class OfficePipes : public ::testing::TestWithParam<const char*> {};

} // namespace

TEST_P(OfficePipes, GoWithAKilledOffice) {
    const fs::path folder = Workbooks().folder / GetParam();
    fs::create_directories(folder);
    const TemporaryFolderVariable tmpdir(folder);
    const auto before = OfficeSockets();

    OfficeProcess office({LIBREOFFICE_PROGRAM_DIR, true, nullptr});
    sheet::libreoffice::ConnectToOffice(office, LIBREOFFICE_PROGRAM_DIR, std::chrono::seconds(60));
    std::vector<std::string> made;
    std::ranges::set_difference(OfficeSockets(), before, std::back_inserter(made));
    const std::string ours = "/tmp/OSL_PIPE_" + std::to_string(::getuid()) + "_" + office.pipeName();
    EXPECT_NE(std::ranges::find(made, ours), made.end()) << "no UNO pipe found";
    EXPECT_TRUE(std::ranges::any_of(made, [](const std::string& path) {
        return path.find("SingleOfficeIPC_") != std::string::npos;
    })) << "no single-instance pipe found";

    const auto offices = PrivateOfficeProcesses();
    ASSERT_EQ(offices.size(), 1u);
    ::kill(offices.front(), SIGKILL);
    office.end(std::chrono::seconds(10));
    for (const std::string& path : made) {
        EXPECT_TRUE(!fs::exists(fs::symlink_status(path)) || Listened(path))
            << path << " was left behind";
    }
    EXPECT_TRUE(fs::is_empty(folder)) << "the profile was left behind";
}

// Every kind of byte the profile's URL encodes, and the marks the office
// decodes again, in one folder name: each office start costs a second.
INSTANTIATE_TEST_SUITE_P(TemporaryFolders, OfficePipes,
                         ::testing::Values("plain", "odd #%; marks!$HOME&'()*+,:=@ unicodé-数据"),
                         [](const ::testing::TestParamInfo<const char*>& param) {
                             return param.index == 0 ? "Plain" : "Odd";
                         });
