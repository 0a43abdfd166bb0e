// The office's profile and temporary files live in TMPDIR, whatever path
// the user has there: each run succeeds and leaves the folder as it was.
#include "BatchProcess.h"
#include "CliFixture.h"
#include "PrivateRun.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

struct Case {
    const char* name;
    const char* folder; // TMPDIR's last part
    bool relative;      // TMPDIR given relative to the run's working folder
};

class TempFolder : public ::testing::TestWithParam<Case> {};

TEST_P(TempFolder, RunSucceedsAndLeavesNothing) {
    const Case& c = GetParam();
    const PrivateRun run(Scratch(), Workbooks().book, c.folder);
    const fs::path tmpdir = c.relative ? fs::relative(run.temp) : run.temp;
    const BatchResult result =
        BatchProcess(
            run.arguments(kPeopleBlock, "1,2"),
            BatchOptions{.environment = {"TMPDIR=" + tmpdir.string()}, .workingFolder = {}})
            .wait();
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(fs::exists(run.output));
    run.expectNothingLeft();
}

// Every kind of byte a path may trip on in one name (a blank, '#', a
// percent escape, '$' that the office would expand, marks a URL may hold
// plainly, non-ASCII letters): each run costs an office start.
INSTANTIATE_TEST_SUITE_P(
    OddPaths, TempFolder,
    ::testing::Values(Case{"OddBytes",
                           " #%41 $HOME${PATH} !&'()*+,:=@; Temp \u00e4\u00f6 \u20ac \u65e5\u672c",
                           false},
                      Case{"Relative", "temp", true}),
    [](const ::testing::TestParamInfo<Case>& param) { return std::string(param.param.name); });

} // namespace
