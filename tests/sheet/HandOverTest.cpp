// An office handed over to the user is the user's: neither the run's stop
// switch nor its guard kills it, and its private profile goes only once
// the user has ended it.
#include "OfficeFixture.h"
#include "OfficeProcesses.h"
#include "sheet/OpenExcelWorkbook.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <thread>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// The private profile folder that `office`'s command line names.
fs::path ProfileOf(pid_t office) {
    std::ifstream file("/proc/" + std::to_string(office) + "/cmdline", std::ios::binary);
    const std::string cmdline{std::istreambuf_iterator<char>(file),
                              std::istreambuf_iterator<char>()};
    const char* tmp = std::getenv("TMPDIR");
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(tmp != nullptr ? tmp : "/tmp", ec)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("vantrelo-office-", 0) == 0 && cmdline.find("/" + name) != std::string::npos) {
            return entry.path();
        }
    }
    return {};
}

bool Alive(pid_t pid) {
    return ::kill(pid, 0) == 0;
}

} // namespace

TEST(HandOver, TheUsersOfficeOutlivesUsAndTakesItsProfileWhenItEnds) {
    const auto before = PrivateOfficeProcesses();
    auto options = HeadlessOptions();
    options.stop = std::make_shared<sheet::StopSwitch>();
    auto office = sheet::libreoffice::MakeLibreOffice(options);
    auto book = sheet::OpenExcelWorkbook(*office, Workbooks().xlsx);
    const auto after = PrivateOfficeProcesses();
    ASSERT_EQ(after.size(), before.size() + 1);
    const pid_t pid = *std::find_if(after.begin(), after.end(), [&](pid_t p) {
        return std::find(before.begin(), before.end(), p) == before.end();
    });
    const fs::path profile = ProfileOf(pid);
    ASSERT_FALSE(profile.empty());

    book->handOverToUser();
    book.reset();
    options.stop->pull();
    std::this_thread::sleep_for(500ms);
    EXPECT_TRUE(Alive(pid)) << "the office handed over was ended";
    EXPECT_TRUE(fs::exists(profile));

    ::kill(pid, SIGKILL); // the user quits it
    // The bound only keeps a broken build from hanging here.
    for (int wait = 0; wait < 100 && fs::exists(profile); ++wait) {
        std::this_thread::sleep_for(100ms);
    }
    EXPECT_FALSE(fs::exists(profile)) << "the profile outlived the user's office";
}
