#include "dupes/DuplicateFinder.h"
#include "dupes/FieldHash.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

using dupes::DuplicateFinder;
using dupes::TextTable;
using Indices = std::vector<std::uint32_t>;

TextTable TableOf(std::initializer_list<std::string_view> texts) {
    TextTable table;
    for (const std::string_view text : texts) {
        table.append(text);
    }
    return table;
}

TEST(DuplicateFinder, MatchesRowsFedInDifferentChunks) {
    DuplicateFinder finder(2);
    finder.addRows(TableOf({"a", "1", "b", "2"}), 2);
    finder.addRows(TableOf({"c", "3", "a", "1"}), 2);
    finder.addRows(TableOf({"b", "2", "a", "1"}), 2);
    EXPECT_EQ(finder.rowsAdded(), 6u);
    EXPECT_EQ(finder.rowsRepeatingAnEarlierRow(), (Indices{3, 4, 5}));
    EXPECT_EQ(finder.rowsSharingTheirTexts(), (Indices{0, 1, 3, 4, 5}));
    EXPECT_EQ(finder.duplicateGroups(), 2);
}

TEST(DuplicateFinder, TextsMatchOneByOneNotAsAWhole) {
    DuplicateFinder finder(2);
    finder.addRows(TableOf({"ab", "c", "a", "bc", "", "abc", "abc", ""}), 4);
    EXPECT_TRUE(finder.rowsSharingTheirTexts().empty());
}

TEST(DuplicateFinder, DifferentTextsWithCollidingHashesDoNotMatch) {
    // Found by search: same slot in a fresh table, same tag, different texts.
    const std::string_view first = "r1084362";
    const std::string_view second = "r1322892";
    auto hashOf = [](std::string_view text) {
        dupes::FieldHash hash;
        hash.addField(text);
        return hash.value();
    };
    constexpr std::uint64_t kTagAndSlotBits = 0xFFFFFFFF000003FFull;
    ASSERT_EQ(hashOf(first) & kTagAndSlotBits, hashOf(second) & kTagAndSlotBits);

    DuplicateFinder finder(1);
    finder.addRows(TableOf({first, second, second}), 3);
    EXPECT_EQ(finder.rowsSharingTheirTexts(), (Indices{1, 2}));
}

TEST(DuplicateFinder, RowsWithoutFieldsAreAllTheSame) {
    DuplicateFinder finder(0);
    finder.addRows(TextTable{}, 3);
    EXPECT_EQ(finder.rowsSharingTheirTexts(), (Indices{0, 1, 2}));
    EXPECT_EQ(finder.duplicateGroups(), 1);
}

TEST(DuplicateFinder, FindsEveryRowAgainAfterTheTableHasGrownManyTimes) {
    constexpr std::uint32_t kDistinct = 20000;
    TextTable texts;
    for (int pass = 0; pass < 2; ++pass) {
        for (std::uint32_t i = 0; i < kDistinct; ++i) {
            texts.append(std::to_string(i));
        }
    }
    DuplicateFinder finder(1);
    finder.addRows(texts, 2 * kDistinct);
    const Indices repeats = finder.rowsRepeatingAnEarlierRow();
    ASSERT_EQ(repeats.size(), kDistinct);
    EXPECT_EQ(repeats.front(), kDistinct);
    EXPECT_EQ(repeats.back(), 2 * kDistinct - 1);
    EXPECT_EQ(finder.duplicateGroups(), kDistinct);
}

TEST(DuplicateFinder, KeepsRowsLargerThanItsPagesOfText) {
    const std::string huge(3 << 20, 'h');
    const std::string hugeToo = huge.substr(1) + "i";
    DuplicateFinder finder(1);
    finder.addRows(TableOf({"a", huge, "b", hugeToo, huge, "a", hugeToo, "b"}), 8);
    EXPECT_EQ(finder.rowsRepeatingAnEarlierRow(), (Indices{4, 5, 6, 7}));
}

TEST(DuplicateFinder, RefusesTooFewTexts) {
    DuplicateFinder finder(2);
    EXPECT_THROW(finder.addRows(TableOf({"a", "b", "c"}), 2), std::invalid_argument);
}

} // namespace
