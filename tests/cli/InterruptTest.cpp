// However a run is ended from outside, and whatever its office is doing
// then, the run ends at once, its office with it, and nothing is left
// behind: no office, no profile or temporary file, nothing beside the
// workbook, no output or part of one.
#include "BatchProcess.h"
#include "CliFixture.h"
#include "PrivateRun.h"
#include "RunTraces.h"
#include "WorkbookMaker.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <thread>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

constexpr int kBigRows = 40000;

// Big enough that loading, colouring and saving each take a while.
const std::string& BigBook() {
    static const std::string path = [] {
        const std::string file = (Workbooks().folder / "big.xlsx").string();
        std::vector<std::vector<CellValue>> rows{
            {std::string("Name"), std::string("City"), std::string("Code"), std::string("Amount")}};
        for (int i = 0; i < kBigRows; ++i) {
            rows.push_back({"Name " + std::to_string(i % 997), "City " + std::to_string(i % 13),
                            static_cast<double>(i % 7), static_cast<double>(i % 101)});
        }
        WorkbookMaker maker;
        maker.create().sheet("Data").rows("A1", rows).saveAs(file);
        return file;
    }();
    return path;
}

const std::string kBigBlock = "Data!$A$1:$D$" + std::to_string(kBigRows + 1);

enum class Stage { Starting, Running, Saving };

struct Case {
    const char* name;
    Stage stage;
    bool freezeOfficeFirst;   // SIGSTOP to the office before the signals
    std::vector<int> signals; // sent to the run, one after the other
    int status;               // the exit status, or 128 + the signal that ended it
    // Whether the run itself lived to say so; the signal ends it otherwise.
    bool saysInterrupted = true;
};

bool Reached(const PrivateRun& run, Stage stage) {
    const pid_t office = run.office();
    switch (stage) {
    case Stage::Starting:
        return office > 0;
    case Stage::Running:
        return office > 0 && OfficeHasOpen(office, run.book);
    case Stage::Saving:
        // The office stores into its private folder first.
        for (const auto& name : Contents(run.temp)) {
            if (fs::path(name).parent_path().filename() == "saved") {
                return true;
            }
        }
        return false;
    }
    return false;
}

void Strike(const PrivateRun& run, pid_t vantrelo, const Case& c) {
    if (c.freezeOfficeFirst) {
        ::kill(run.office(), SIGSTOP);
        std::this_thread::sleep_for(200ms);
    }
    for (const int signal : c.signals) {
        ::kill(vantrelo, signal);
        std::this_thread::sleep_for(50ms);
    }
}

class Interrupt : public ::testing::TestWithParam<Case> {};

TEST_P(Interrupt, EndsTheRunAndLeavesNothing) {
    const Case& c = GetParam();
    const PrivateRun run(Scratch(), BigBook());
    BatchProcess batch(
        run.arguments(kBigBlock, "1,2"),
        BatchOptions{.environment = {"TMPDIR=" + run.temp.string()}, .workingFolder = {}});

    std::optional<BatchResult> result;
    const bool reached = Eventually(120s, [&] {
        result = batch.waitFor(0ms);
        return result || Reached(run, c.stage);
    });
    ASSERT_TRUE(reached && !result)
        << "the run ended before the stage: " << (result ? result->err : "it never reached it");
    Strike(run, batch.pid(), c);

    // Bounds that only keep a broken build from hanging here.
    result = batch.waitFor(5s);
    ASSERT_TRUE(result) << "the run did not end within seconds of the signal";
    EXPECT_EQ(result->status, c.status) << result->err;
    if (c.saysInterrupted) {
        EXPECT_EQ(result->err, "vantrelo: interrupted; nothing was saved\n");
    }
    EXPECT_EQ(result->out, "");
    run.expectNothingLeft();
    EXPECT_EQ(Contents(run.output.parent_path()), std::vector<std::string>{});
    // Guards and offices of a killed run end as our children; reap them.
    while (::waitpid(-1, nullptr, WNOHANG) > 0) {
    }
}

// Not every blow at every stage: each stage and each blow at least once,
// and the blows most likely to leave something during the save.
INSTANTIATE_TEST_SUITE_P(
    SignalsAndKills, Interrupt,
    ::testing::Values(
        Case{"CtrlCWhileStarting", Stage::Starting, false, {SIGINT}, 130},
        Case{"CtrlCWhileRunning", Stage::Running, false, {SIGINT}, 130},
        Case{"CtrlCWhileSaving", Stage::Saving, false, {SIGINT}, 130},
        Case{"TerminateWhileRunning", Stage::Running, false, {SIGTERM}, 143},
        Case{"TerminateWhileSaving", Stage::Saving, false, {SIGTERM}, 143},
        Case{"HangUpWhileStarting", Stage::Starting, false, {SIGHUP}, 129},
        Case{"HangUpWhileSaving", Stage::Saving, false, {SIGHUP}, 129},
        Case{"CtrlCTwiceWhileRunning", Stage::Running, false, {SIGINT, SIGINT}, 130, false},
        Case{"KillWhileStarting", Stage::Starting, false, {SIGKILL}, 137, false},
        Case{"KillWhileSaving", Stage::Saving, false, {SIGKILL}, 137, false},
        Case{"FrozenOfficeWhileRunning", Stage::Running, true, {SIGINT}, 130},
        Case{"FrozenOfficeWhileSaving", Stage::Saving, true, {SIGINT}, 130}),
    [](const ::testing::TestParamInfo<Case>& param) { return std::string(param.param.name); });

} // namespace
