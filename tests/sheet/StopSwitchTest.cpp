// The switch's promises to a backend that hooks its office to it: the
// action runs once, on the pulling thread, at once when registered late,
// and never after its hook is gone.
#include "sheet/StopSwitch.h"

#include <atomic>
#include <gtest/gtest.h>
#include <optional>
#include <thread>

using namespace std::chrono_literals;

namespace {

struct Case {
    const char* name;
    bool pullBeforeHook;
    bool dropHookBeforePull;
    int expectedRuns;
};

class StopSwitchHook : public ::testing::TestWithParam<Case> {};

TEST_P(StopSwitchHook, RunsItsActionOnceWhileRegistered) {
    const Case& c = GetParam();
    sheet::StopSwitch stop;
    std::atomic<int> runs{0};
    if (c.pullBeforeHook) {
        stop.pull();
    }
    std::optional<sheet::StopSwitch::Hook> hook(stop.onPull([&runs] { ++runs; }));
    if (c.dropHookBeforePull) {
        hook.reset();
    }
    std::thread([&stop] {
        stop.pull();
        stop.pull();
    }).join();
    EXPECT_EQ(runs.load(), c.expectedRuns);
    EXPECT_TRUE(stop.pulled());
}

INSTANTIATE_TEST_SUITE_P(Lifetimes, StopSwitchHook,
                         ::testing::Values(Case{"PulledWhileRegistered", false, false, 1},
                                           Case{"RegisteredAfterPull", true, false, 1},
                                           Case{"DroppedBeforePull", false, true, 0}),
                         [](const ::testing::TestParamInfo<Case>& param) {
                             return std::string(param.param.name);
                         });

TEST(StopSwitch, WaitEndsWhenAnotherThreadPulls) {
    sheet::StopSwitch stop;
    EXPECT_FALSE(stop.waitFor(1ms));
    std::thread puller([&stop] {
        std::this_thread::sleep_for(20ms);
        stop.pull();
    });
    // Far longer than the test takes: only a pull can end this wait.
    EXPECT_TRUE(stop.waitFor(10min));
    puller.join();
}

} // namespace
