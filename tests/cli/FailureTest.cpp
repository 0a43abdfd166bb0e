// Failures after the office has started: each said in one line, exit 1,
// nothing saved, and the office ended.
#include "BatchProcess.h"
#include "CliFixture.h"

#include <csignal>
#include <gtest/gtest.h>
#include <memory>
#include <thread>

namespace fs = std::filesystem;

namespace {

struct Failure {
    std::string workbook;
    std::string block;
    std::string columns;
    std::string outputName;
    std::string message; // after "vantrelo: "; OUT stands for the output's path
};

// Each case in a process of its own, all at once: office starts are slow.
void ExpectEachFailsInOneLine(const std::vector<Failure>& failures) {
    const fs::path folder = Scratch();
    std::vector<std::unique_ptr<BatchProcess>> running;
    for (const Failure& f : failures) {
        running.push_back(std::make_unique<BatchProcess>(
            std::vector<std::string>{"highlight", f.workbook, "--block", f.block, "--columns",
                                     f.columns, "--output", (folder / f.outputName).string()}));
    }
    for (std::size_t i = 0; i < failures.size(); ++i) {
        const BatchResult result = running[i]->wait();
        std::string message = failures[i].message;
        if (const auto at = message.find("OUT"); at != std::string::npos) {
            message.replace(at, 3, (folder / failures[i].outputName).string());
        }
        EXPECT_EQ(result.status, 1) << result.err;
        EXPECT_EQ(result.err, "vantrelo: " + message + "\n");
        EXPECT_EQ(result.out, "");
    }
    // Nothing saved, not even a part of a file.
    EXPECT_TRUE(fs::is_empty(folder));
}

} // namespace

TEST(Failure, WorkbookTheOfficeRefuses) {
    const std::string damaged = Workbooks().damaged;
    ExpectEachFailsInOneLine({
        {damaged, kPeopleBlock, "1", "a.xlsx",
         "The workbook \"" + damaged +
             "\" is damaged: LibreOffice could open it only by repairing it, which may lose "
             "data."},
    });
}
