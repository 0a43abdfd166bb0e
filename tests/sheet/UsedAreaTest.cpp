#include "sheet/UsedArea.h"

#include <gtest/gtest.h>

namespace {

using dupes::BlockGeometry;

struct Cut {
    const char* name;
    BlockGeometry block;
    std::optional<BlockGeometry> used;
    BlockGeometry expected;

    friend void PrintTo(const Cut& cut, std::ostream* out) { *out << cut.name; }
};

const sheet::SheetLimits kLimits{1000, 50};

class UsedAreaCut : public ::testing::TestWithParam<Cut> {};

TEST_P(UsedAreaCut, CutsWholeLinesOnly) {
    const Cut& c = GetParam();
    EXPECT_EQ(sheet::CutToUsedArea(c.block, c.used, kLimits), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, UsedAreaCut,
    ::testing::Values(
        Cut{"WholeColumnsToTheLastUsedRow", {1, 1, 1000, 6}, BlockGeometry{1, 1, 21, 9},
            {1, 1, 21, 6}},
        Cut{"WholeColumnsKeepTheirColumns", {1, 3, 1000, 4}, BlockGeometry{4, 1, 9, 2},
            {1, 3, 9, 4}},
        Cut{"WholeRowsToTheLastUsedColumn", {2, 1, 9, 50}, BlockGeometry{1, 1, 30, 7},
            {2, 1, 9, 7}},
        Cut{"WholeSheetToTheUsedArea", {1, 1, 1000, 50}, BlockGeometry{3, 2, 40, 8},
            {1, 1, 40, 8}},
        Cut{"EmptySheetKeepsTheFirstRow", {1, 1, 1000, 3}, std::nullopt, {1, 1, 1, 3}},
        Cut{"ContentOnlyBesideTheBlockKeepsItsFirstRow", {1, 1, 1000, 3}, BlockGeometry{1, 9, 1, 9},
            {1, 1, 1, 3}},
        Cut{"OrdinaryBlockUnchanged", {2, 2, 999, 49}, BlockGeometry{1, 1, 5, 5},
            {2, 2, 999, 49}},
        Cut{"BlockReachingTheLastRowFromBelowTheTopUnchanged", {5, 1, 1000, 2},
            BlockGeometry{1, 1, 5, 5}, {5, 1, 1000, 2}}),
    [](const auto& param) { return std::string(param.param.name); });

} // namespace
