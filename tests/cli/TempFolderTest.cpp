// The office's profile and temporary files live in TMPDIR, whatever path
// the user has there: the run succeeds and leaves the folder as it was.
#include "BatchProcess.h"
#include "CliFixture.h"
#include "PrivateRun.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

// Every kind of byte a path may trip on in one name (a blank, '#', a
// percent escape, '$' that the office would expand, marks a URL may hold
// plainly, non-ASCII letters), given relative to the working folder: each
// run costs an office start.
TEST(TempFolder, OddAndRelativeRunSucceedsAndLeavesNothing) {
    const PrivateRun run(Scratch(), Workbooks().book,
                         " #%41 $HOME${PATH} !&'()*+,:=@; Temp \u00e4\u00f6 \u20ac \u65e5\u672c");
    const BatchResult result =
        BatchProcess(run.arguments(kPeopleBlock, "1,2"),
                     BatchOptions{.environment = {"TMPDIR=" + fs::relative(run.temp).string()},
                                  .workingFolder = {}})
            .wait();
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(fs::exists(run.output));
    run.expectNothingLeft();
}
