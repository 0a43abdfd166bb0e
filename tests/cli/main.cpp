#include "CliFixture.h"
#include "OfficeProcesses.h"

#include <gtest/gtest.h>
#include <sys/prctl.h>

namespace {

// After every test: no office left running, and no workbook written.
class AfterEachTest : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo&) override {
        EXPECT_EQ(EndPrivateOfficeProcesses({}), 0) << "office processes were left running";
        ExpectInputsUnchanged();
    }
};

} // namespace

int main(int argc, char** argv) {
    // An office that a batch process left behind when it ended becomes our
    // child, so the check after each test finds it.
    ::prctl(PR_SET_CHILD_SUBREAPER, 1);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(MakeCliEnvironment());
    ::testing::UnitTest::GetInstance()->listeners().Append(new AfterEachTest);
    return RUN_ALL_TESTS();
}
