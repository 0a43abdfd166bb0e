#include "dupes/ColourSpans.h"
#include "RunSupport.h"

#include <gtest/gtest.h>

namespace dupes_test {
namespace {

using dupes::CellSpan;
using dupes::RowColouring;

const dupes::BlockGeometry kBlock{10, 3, 20, 8}; // six columns, C to H

TEST(ColourSpans, OneSpanPerRunOfAdjacentComparedColumns) {
    const RowColouring colouring(kBlock, Selection("xx.x.x"), false);
    const std::vector<std::uint32_t> offsets{0, 4};
    EXPECT_EQ(dupes::BuildColourSpans(offsets, 11, colouring),
              (std::vector<CellSpan>{
                  {11, 3, 4}, {11, 6, 6}, {11, 8, 8}, {15, 3, 4}, {15, 6, 6}, {15, 8, 8}}));
    EXPECT_EQ(colouring.cellsPerRow(), 4);
}

TEST(ColourSpans, EntireRowIsOneSpanAcrossTheBlock) {
    const RowColouring colouring(kBlock, Selection("...x.."), true);
    const std::vector<std::uint32_t> offsets{2};
    EXPECT_EQ(dupes::BuildColourSpans(offsets, 10, colouring), (std::vector<CellSpan>{{12, 3, 8}}));
    EXPECT_EQ(colouring.cellsPerRow(), 6);
}

TEST(ColourSpans, NoComparedColumnMeansNoSpansEvenForEntireRows) {
    const RowColouring colouring(kBlock, Selection("......xx"), true);
    const std::vector<std::uint32_t> offsets{0, 1};
    EXPECT_TRUE(dupes::BuildColourSpans(offsets, 10, colouring).empty());
    EXPECT_EQ(colouring.cellsPerRow(), 0);
}

} // namespace
} // namespace dupes_test
