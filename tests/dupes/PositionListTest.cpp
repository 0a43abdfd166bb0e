#include "reference/PositionList.h"
#include "RunSupport.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace dupes_test {
namespace {

using dupes::ColourPositionList;
using dupes::HighlightColour;

const dupes::BlockGeometry kBlock{4, 2, 9, 5};
const std::string kTwoCells = "6|Kestravon_2|3|Kestravon_1|6|Kestravon_2|5|Kestravon_1|";

TEST(ColourPositionList, FillsTheNamedCellsOneRequestEach) {
    TableBlock sheet;
    ColourPositionList(kBlock, kTwoCells, HighlightColour::Red, false, sheet);
    EXPECT_EQ(sheet.fills, (std::map<Cell, std::uint32_t>{{{6, 3}, 0xFFu}, {{6, 5}, 0xFFu}}));
    EXPECT_EQ(sheet.spanRequests,
              (std::vector<std::vector<dupes::CellSpan>>{{{6, 3, 3}}, {{6, 5, 5}}}));
}

TEST(ColourPositionList, EntireRowFillsEveryBlockColumnOfTheRowAndNoOther) {
    TableBlock sheet;
    ColourPositionList(kBlock, kTwoCells, HighlightColour::Blue, true, sheet);
    std::map<Cell, std::uint32_t> expected;
    for (std::int32_t column = 2; column <= 5; ++column) {
        expected[{6, column}] = 0xFF0000u;
    }
    EXPECT_EQ(sheet.fills, expected);
}

TEST(ColourPositionList, FillsNothingForAnEmptyList) {
    TableBlock sheet;
    ColourPositionList(kBlock, "", HighlightColour::Red, true, sheet);
    EXPECT_TRUE(sheet.fills.empty());
}

TEST(ColourPositionList, RejectsAMalformedList) {
    TableBlock sheet;
    EXPECT_THROW(ColourPositionList(kBlock, "6|Kestravon_1|", HighlightColour::Red, false, sheet),
                 std::invalid_argument);
    EXPECT_THROW(ColourPositionList(kBlock, "6|Kestravon_2|x|Kestravon_1|", HighlightColour::Red,
                                    false, sheet),
                 std::invalid_argument);
}

} // namespace
} // namespace dupes_test
