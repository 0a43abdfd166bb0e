// A run that cannot start says why in words, before it asks the sheet for
// anything.
#include "RunSupport.h"

#include <gtest/gtest.h>

namespace dupes_test {
namespace {

class RunInputs : public ::testing::TestWithParam<RunFlavour> {
protected:
    std::string errorOf(const dupes::HighlightOptions& options, const dupes::BlockGeometry& block) {
        TableBlock sheet;
        sheet.place(1, 1, {{"a", "a", "a", "a", "a", "a"}, {"a", "a", "a", "a", "a", "a"}});
        try {
            GetParam().run(options, block, sheet);
        } catch (const dupes::RunError& error) {
            EXPECT_TRUE(sheet.cellsRead.empty());
            EXPECT_TRUE(sheet.fills.empty());
            return error.what();
        }
        ADD_FAILURE() << "no RunError";
        return {};
    }
};

TEST_P(RunInputs, ColumnListNarrowerThanTheBlockIsRefused) {
    const dupes::HighlightOptions options{.selectedColumns = Selection("xxxx")};
    EXPECT_EQ(errorOf(options, {1, 1, 2, 6}),
              "The block has 6 columns but the column list has only 4 entries. Choose the block "
              "again with the \"...\" button.");
    EXPECT_EQ(errorOf(dupes::HighlightOptions{}, {1, 1, 2, 1}),
              "The block has 1 column but the column list has only 0 entries. Choose the block "
              "again with the \"...\" button.");
}

TEST_P(RunInputs, BlockEndingBeforeItStartsIsRefused) {
    const dupes::HighlightOptions options{.selectedColumns = Selection("xxxxxx")};
    EXPECT_EQ(errorOf(options, {5, 1, 4, 2}),
              "The block of cells is not a valid range (rows 5 to 4, columns 1 to 2). Choose "
              "the block again with the \"...\" button.");
    EXPECT_NE(errorOf(options, {1, 3, 2, 2}), "");
    EXPECT_NE(errorOf(options, {0, 1, 2, 2}), "");
}

INSTANTIATE_TEST_SUITE_P(, RunInputs, ::testing::ValuesIn(AllRunFlavours()),
                         [](const auto& named) { return named.param.name; });

} // namespace
} // namespace dupes_test
