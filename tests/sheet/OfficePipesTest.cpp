// A killed office leaves its pipes in /tmp, where the office's runtime puts
// them whatever TMPDIR says. Their names must be known before the office
// starts, for whatever profile folder a user's TMPDIR gives, so that they go
// with the office even when it is killed before it ever answered.
#include "OfficeFixture.h"

#include "sheet/libreoffice/OfficeProcess.h"
#include "sheet/libreoffice/UnoConnection.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>

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

class OfficePipes : public ::testing::TestWithParam<const char*> {};

} // namespace

TEST_P(OfficePipes, AreForeseenAndGoWithAKilledOffice) {
    const fs::path folder = Workbooks().folder / GetParam();
    fs::create_directories(folder);
    const TemporaryFolderVariable tmpdir(folder);

    OfficeProcess office({LIBREOFFICE_PROGRAM_DIR, true, nullptr});
    sheet::libreoffice::ConnectToOffice(office, LIBREOFFICE_PROGRAM_DIR, std::chrono::seconds(60));
    const auto foreseen = office.pipeFiles();
    const auto listening = office.listeningPipes();
    EXPECT_TRUE(std::ranges::any_of(listening, [](const std::string& path) {
        return path.find("SingleOfficeIPC_") != std::string::npos;
    })) << "no single-instance pipe found";
    for (const std::string& path : listening) {
        EXPECT_NE(std::ranges::find(foreseen, path), foreseen.end())
            << path << " was not foreseen; foreseen: " << ::testing::PrintToString(foreseen);
    }

    ::kill(office.pid(), SIGKILL);
    office.end(std::chrono::seconds(10));
    for (const std::string& path : listening) {
        EXPECT_FALSE(fs::exists(fs::symlink_status(path))) << path << " was left behind";
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
