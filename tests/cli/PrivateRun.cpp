#include "PrivateRun.h"

#include "CliFixture.h"
#include "OfficeProcesses.h"
#include "RunTraces.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>
#include <iterator>
#include <stdexcept>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// A new folder in `parent` with a name of its own.
fs::path NewFolderIn(const fs::path& parent) {
    std::string pattern = (parent / "vantrelo-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("no temporary folder in " + parent.string());
    }
    return pattern;
}

} // namespace

PrivateRun::PrivateRun(const fs::path& folder, const std::string& workbook,
                       const std::string& tempName, const fs::path& tempParent)
    : root(folder), book(folder / "work" / fs::path(workbook).filename()),
      temp(tempParent.empty() ? folder / tempName : NewFolderIn(tempParent) / tempName),
      output(folder / "out" / ("coloured" + fs::path(workbook).extension().string())) {
    fs::create_directories(book.parent_path());
    fs::create_directories(temp);
    fs::create_directories(output.parent_path());
    fs::copy_file(workbook, book);
    bytes = Bytes(book);
    modified = fs::last_write_time(book);
    officePipesBefore = OfficeSockets();
}

PrivateRun::~PrivateRun() {
    if (temp.parent_path() != root) {
        std::error_code ec;
        fs::remove_all(temp.parent_path(), ec);
    }
}

std::vector<std::string> PrivateRun::arguments(const std::string& block,
                                               const std::string& columns) const {
    return {"highlight", book.string(), "--block",  block,
            "--columns", columns,       "--output", output.string()};
}

pid_t PrivateRun::office() const {
    const auto offices = OfficesNaming(temp.string());
    return offices.empty() ? -1 : offices.front();
}

void PrivateRun::expectNothingLeft() const {
    // After a SIGKILL of the run its watchdog needs a moment.
    EXPECT_TRUE(Eventually(5s, [&] { return office() < 0; }))
        << "an office of the run is left running";
    for (const pid_t pid : OfficesNaming(temp.string())) {
        ::kill(pid, SIGKILL);
    }
    EXPECT_TRUE(Eventually(5s, [&] { return Contents(temp).empty(); }))
        << "left in the temporary folder: " << ::testing::PrintToString(Contents(temp));
    // Only new pipes count that nobody listens on: other offices may run meanwhile.
    const auto newPipes = [&] {
        std::vector<std::string> added;
        std::ranges::set_difference(OfficeSockets(), officePipesBefore, std::back_inserter(added));
        std::erase_if(added, Listened);
        return added;
    };
    EXPECT_TRUE(Eventually(5s, [&] { return newPipes().empty(); }))
        << "left in /tmp: " << ::testing::PrintToString(newPipes());
    EXPECT_EQ(Contents(book.parent_path()), std::vector<std::string>{book.filename().string()});
    std::vector<std::string> folders{"out", "work"};
    if (temp.parent_path() == root) {
        folders.push_back(temp.filename().string());
    }
    std::sort(folders.begin(), folders.end());
    std::vector<std::string> top;
    for (const auto& entry : fs::directory_iterator(root)) {
        top.push_back(entry.path().filename().string());
    }
    std::sort(top.begin(), top.end());
    EXPECT_EQ(top, folders);
    EXPECT_TRUE(Bytes(book) == bytes) << "the workbook was written";
    EXPECT_EQ(fs::last_write_time(book), modified);
}
