#include "reference/RowKey.h"
#include "RunSupport.h"

#include <gtest/gtest.h>

namespace dupes_test {
namespace {

using dupes::BuildRowKey;

TEST(BuildRowKey, ListsEachComparedCellOfTheRowInSheetNumbers) {
    TableBlock sheet;
    sheet.place(7, 1, {{"skip", "Smith", "skip", ""}});
    const auto built = BuildRowKey({5, 1, 9, 4}, 7, Selection(".x.x"), sheet);
    EXPECT_EQ(built.positionList, "7|Kestravon_2|2|Kestravon_1|7|Kestravon_2|4|Kestravon_1|");
    EXPECT_EQ(sheet.cellsRead, (std::set<Cell>{{7, 2}, {7, 4}}));
    EXPECT_EQ(sheet.singleCellReads, 2);
}

TEST(BuildRowKey, NoComparedColumnGivesEmptyKeyAndList) {
    TableBlock sheet;
    sheet.place(1, 1, {{"a", "b"}});
    const auto built = BuildRowKey({1, 1, 1, 2}, 1, Selection(".."), sheet);
    EXPECT_EQ(built.rowKey, "");
    EXPECT_EQ(built.positionList, "");
    EXPECT_TRUE(sheet.cellsRead.empty());
}

// Letter case and blanks are covered by the runs' cases; these are the ways
// a key built by joining texts could make different rows equal.
TEST(BuildRowKey, KeysDifferWhenTextMovesBetweenCells) {
    const Rows rows{{"a|Kestravon_1|", "b"},
                    {"a", "|Kestravon_1|b"},
                    {"ab", ""},
                    {"a", "b"},
                    {"1:a", ""},
                    {"", "1:a"}};
    TableBlock sheet;
    sheet.place(1, 1, rows);
    std::set<std::string> keys;
    for (std::int32_t row = 1; row <= 6; ++row) {
        keys.insert(BuildRowKey(BlockAt(1, 1, rows), row, Selection("xx"), sheet).rowKey);
    }
    EXPECT_EQ(keys.size(), rows.size());
}

} // namespace
} // namespace dupes_test
