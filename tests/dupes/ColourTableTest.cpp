#include "dupes/ColourTable.h"

#include <gtest/gtest.h>

namespace {

using dupes::HighlightColourFor;

TEST(ColourTable, NamesGiveFillsWithRedInTheLowestByte) {
    EXPECT_EQ(HighlightColourFor("Yellow"), 0x00FFFFu);
    EXPECT_EQ(HighlightColourFor("Red"), 0x0000FFu);
    EXPECT_EQ(HighlightColourFor("Blue"), 0xFF0000u);
    EXPECT_EQ(HighlightColourFor("Green"), 0x00FF00u);
}

TEST(ColourTable, OtherNamesHaveNone) {
    for (const std::string_view name : {"", "yellow", "RED", " Blue", "Green ", "Purple"}) {
        EXPECT_FALSE(HighlightColourFor(name).has_value()) << '"' << name << '"';
    }
}

} // namespace
