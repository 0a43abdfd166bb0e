// A killed office leaves its pipes' sockets in /tmp, where the office's
// runtime puts them whatever TMPDIR says: they go with it, for whatever
// profile folder a user's TMPDIR gives, though only our own pipe's name is
// known to us.
#include "OfficeFixture.h"
#include "OfficeProcesses.h"
#include "ScopedVariable.h"

#include "sheet/libreoffice/OfficeProcess.h"
#include "sheet/libreoffice/UnoConnection.h"

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace fs = std::filesystem;
using sheet::libreoffice::OfficeProcess;

namespace {

class OfficePipes : public ::testing::TestWithParam<const char*> {};

} // namespace

TEST_P(OfficePipes, GoWithAKilledOffice) {
    const fs::path folder = Workbooks().folder / GetParam();
    fs::create_directories(folder);
    const ScopedVariable tmpdir("TMPDIR", folder);
    const auto before = OfficeSockets();

    OfficeProcess office(HeadlessOptions());
    sheet::libreoffice::ConnectToOffice(office);
    std::vector<std::string> made;
    std::ranges::set_difference(OfficeSockets(), before, std::back_inserter(made));
    const std::string ours =
        "/tmp/OSL_PIPE_" + std::to_string(::getuid()) + "_" + office.pipeName();
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
