// However a run is ended from outside, and whatever its office is doing
// then, the run ends at once, its office with it, and nothing is left
// behind: no office, no profile or temporary file, nothing beside the
// workbook, no output or part of one. An office killed under the run ends
// it too, said in words.
#include "BatchProcess.h"
#include "CliFixture.h"
#include "PrivateRun.h"
#include "RunTraces.h"
#include "WorkbookMaker.h"

#include <algorithm>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <thread>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

constexpr int kBigRows = 15000;

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

enum class Stage { Starting, Running, Saving, Publishing };

// What the run says on standard error as it ends.
enum class Says {
    Interrupted,   // that it was interrupted and saved nothing
    Nothing,       // a signal ended it before it could say anything
    OfficeStopped, // that LibreOffice stopped, in one line
};

struct Case {
    const char* name;
    Stage stage;
    int officeSignal;         // sent to the office first: SIGSTOP freezes it, SIGKILL ends it
    std::vector<int> signals; // then sent to the run, one after the other
    int status;               // the exit status, or 128 + the signal that ended it
    Says says = Says::Interrupted;
    // TMPDIR on another disk than the output, so that the copy is written
    // into the output's folder, unnamed, before it takes its name.
    bool tempOnAnotherDisk = false;
};

bool Reached(const PrivateRun& run, pid_t vantrelo, Stage stage) {
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
    case Stage::Publishing:
        // The copy takes its name in one step, whole; from another disk it
        // is written unnamed into the output's folder first.
        return !Contents(run.output.parent_path()).empty() ||
               HoldsUnnamedFileIn(vantrelo, run.output.parent_path());
    }
    return false;
}

// A zip package (.xlsx) that ends as a whole one does: with the record that
// closes its central directory, in the last 22 bytes when it has no comment.
bool WholePackage(const fs::path& file) {
    const std::string bytes = Bytes(file);
    return bytes.size() >= 22 && bytes.compare(bytes.size() - 22, 4, "PK\x05\x06") == 0;
}

void Strike(const PrivateRun& run, pid_t vantrelo, const Case& c) {
    if (c.officeSignal != 0) {
        ::kill(run.office(), c.officeSignal);
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
    const auto elsewhere = c.tempOnAnotherDisk ? OtherDisk(Scratch()) : std::nullopt;
    if (c.tempOnAnotherDisk && !elsewhere) {
        GTEST_SKIP() << "no other disk here for the temporary folder";
    }
    const PrivateRun run(Scratch(), BigBook(), "temp", elsewhere.value_or(fs::path()));
    NamesAppearing outputFolder(run.output.parent_path());
    BatchProcess batch(
        run.arguments(kBigBlock, "1,2"),
        BatchOptions{.environment = {"TMPDIR=" + run.temp.string()}, .workingFolder = {}});

    std::optional<BatchResult> result;
    const auto reach = [&](Stage stage, std::chrono::milliseconds pause) {
        return Eventually(
            120s,
            [&] {
                result = batch.waitFor(0ms);
                return result || Reached(run, batch.pid(), stage);
            },
            pause);
    };
    // The copy is published within milliseconds of the save: from the save
    // on, the run is watched without a pause.
    const bool reached = c.stage == Stage::Publishing
                             ? reach(Stage::Saving, 10ms) && !result && reach(c.stage, 0ms)
                             : reach(c.stage, 10ms);
    ASSERT_TRUE(reached && !result)
        << "the run ended before the stage: " << (result ? result->err : "it never reached it");
    Strike(run, batch.pid(), c);

    // Bounds that only keep a broken build from hanging here.
    result = batch.waitFor(5s);
    ASSERT_TRUE(result) << "the run did not end within seconds of the signal";
    EXPECT_EQ(result->status, c.status) << result->err;
    switch (c.says) {
    case Says::Interrupted:
        EXPECT_EQ(result->err, "vantrelo: interrupted; nothing was saved\n");
        break;
    case Says::OfficeStopped:
        EXPECT_EQ(result->err.rfind("vantrelo: LibreOffice ", 0), 0u) << result->err;
        EXPECT_NE(result->err.find("stopped"), std::string::npos) << result->err;
        EXPECT_EQ(std::count(result->err.begin(), result->err.end(), '\n'), 1) << result->err;
        break;
    case Says::Nothing:
        break;
    }
    EXPECT_EQ(result->out, "");
    run.expectNothingLeft();
    // No file of the run ever stood in the output's folder under another
    // name, not even for a moment: a kill then would have left it there.
    for (const std::string& name : outputFolder.sinceStart()) {
        EXPECT_EQ(name, run.output.filename().string());
    }
    // Struck as the copy is given its name, the run may have put it in
    // place whole; anything else there, a part or a stray file, is a fault.
    const auto left = Contents(run.output.parent_path());
    if (c.stage == Stage::Publishing && !left.empty()) {
        EXPECT_EQ(left, std::vector<std::string>{run.output.filename().string()});
        EXPECT_TRUE(WholePackage(run.output)) << "a part of the copy was left";
    } else {
        EXPECT_EQ(left, std::vector<std::string>{});
    }
    // Guards and offices of a killed run end as our children; reap them.
    while (::waitpid(-1, nullptr, WNOHANG) > 0) {
    }
}

// Not every blow at every stage: each stage and each blow at least once.
// Ctrl+C, a termination request and a closed terminal share one handler,
// so Ctrl+C stands for the three once the office is up; the others are
// tried as it starts, for their exit status. The save meets Ctrl+C, a
// kill, a frozen and a killed office; the publishing of the copy a kill.
INSTANTIATE_TEST_SUITE_P(
    SignalsAndKills, Interrupt,
    ::testing::Values(
        Case{"CtrlCWhileStarting", Stage::Starting, 0, {SIGINT}, 130},
        Case{"CtrlCWhileRunning", Stage::Running, 0, {SIGINT}, 130},
        Case{"CtrlCWhileSaving", Stage::Saving, 0, {SIGINT}, 130},
        Case{"TerminateWhileStarting", Stage::Starting, 0, {SIGTERM}, 143},
        Case{"HangUpWhileStarting", Stage::Starting, 0, {SIGHUP}, 129},
        Case{"CtrlCTwiceWhileRunning", Stage::Running, 0, {SIGINT, SIGINT}, 130, Says::Nothing},
        Case{"KillWhileStarting", Stage::Starting, 0, {SIGKILL}, 137, Says::Nothing},
        Case{"KillWhileSaving", Stage::Saving, 0, {SIGKILL}, 137, Says::Nothing},
        Case{"FrozenOfficeWhileRunning", Stage::Running, SIGSTOP, {SIGINT}, 130},
        Case{"FrozenOfficeWhileSaving", Stage::Saving, SIGSTOP, {SIGINT}, 130},
        Case{"OfficeKilledWhileRunning", Stage::Running, SIGKILL, {}, 1, Says::OfficeStopped},
        Case{"OfficeKilledWhileSaving", Stage::Saving, SIGKILL, {}, 1, Says::OfficeStopped},
        Case{"KillWhilePublishing", Stage::Publishing, 0, {SIGKILL}, 137, Says::Nothing},
        Case{"KillWhilePublishingFromAnotherDisk",
             Stage::Publishing,
             0,
             {SIGKILL},
             137,
             Says::Nothing,
             true}),
    [](const ::testing::TestParamInfo<Case>& param) { return std::string(param.param.name); });

} // namespace
