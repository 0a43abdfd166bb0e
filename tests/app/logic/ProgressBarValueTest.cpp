// The bar's value through an action: moved by the office's reports, crept
// on by time between them, never back, full at the end.
#include "app/ProgressBarValue.h"

#include <gtest/gtest.h>

namespace {

using Clock = ProgressBarValue::Clock;
using sheet::Stage;
using std::chrono::seconds;

const Clock::time_point start{};

TEST(ProgressBarValue, ReportsMoveTheBarWithinTheirStagesStretch) {
    ProgressBarValue bar(ProgressBarValue::RunStretch, start);
    bar.report({Stage::ReadingRows, 50, 100}, start);
    // Reading rows takes 55 to 80 of a run.
    EXPECT_EQ(bar.valueAt(start), 67);
    bar.report({Stage::Colouring, 0, 0}, start);
    EXPECT_EQ(bar.valueAt(start), 85);
    bar.fill();
    EXPECT_EQ(bar.valueAt(start), 100);
}

TEST(ProgressBarValue, CreepsByTimeTowardsTheStretchsEndWithoutReachingIt) {
    ProgressBarValue bar(ProgressBarValue::RunStretch, start);
    bar.report({Stage::LoadingWorkbook, 10, 100}, start); // 15 to 55
    const int reported = bar.valueAt(start);
    EXPECT_EQ(reported, 19);
    const int later = bar.valueAt(start + seconds(3));
    EXPECT_GT(later, reported);
    EXPECT_LT(later, 55);
    EXPECT_LT(bar.valueAt(start + seconds(600)), 55);
    EXPECT_GT(bar.valueAt(start + seconds(600)), later);
}

TEST(ProgressBarValue, NeverMovesBack) {
    ProgressBarValue bar(ProgressBarValue::RunStretch, start);
    bar.report({Stage::LoadingWorkbook, 0, 0}, start);
    const int crept = bar.valueAt(start + seconds(10));
    // A late report of less than the creep has shown keeps the bar where it is.
    bar.report({Stage::LoadingWorkbook, 5, 100}, start + seconds(10));
    EXPECT_EQ(bar.valueAt(start + seconds(10)), crept);
}

TEST(ProgressBarValue, AHeldStretchStandsStill) {
    ProgressBarValue bar(ProgressBarValue::BlockChoiceStretch, start);
    bar.report({Stage::StartingOffice, 0, 0}, start);
    EXPECT_EQ(bar.valueAt(start), 0);
    bar.enter(ProgressBarValue::blockChoiceAsking, start);
    EXPECT_EQ(bar.valueAt(start + seconds(60)), ProgressBarValue::blockChoiceAsking.from);
    bar.enter(ProgressBarValue::blockChoiceListing, start + seconds(60));
    EXPECT_GT(bar.valueAt(start + seconds(61)), ProgressBarValue::blockChoiceListing.from);
}

} // namespace
