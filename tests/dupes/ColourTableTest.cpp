#include "dupes/ColourTable.h"

#include <gtest/gtest.h>

namespace {

using dupes::HighlightColour;

TEST(ColourTable, NamesGiveFillsWithRedInTheLowestByte) {
    const std::pair<std::string_view, std::uint32_t> table[] = {
        {"Yellow", 0x00FFFFu}, {"Red", 0x0000FFu}, {"Blue", 0xFF0000u}, {"Green", 0x00FF00u}};
    for (const auto& [name, fill] : table) {
        const auto colour = dupes::HighlightColourFor(name);
        ASSERT_TRUE(colour.has_value()) << name;
        EXPECT_EQ(dupes::ColourValue(*colour), fill) << name;
        EXPECT_EQ(dupes::ColourName(*colour), name);
    }
}

TEST(ColourTable, ListsTheColoursInTheOrderShown) {
    std::vector<std::string_view> names;
    for (const HighlightColour colour : dupes::kHighlightColours) {
        names.push_back(dupes::ColourName(colour));
    }
    EXPECT_EQ(names, (std::vector<std::string_view>{"Yellow", "Red", "Blue", "Green"}));
}

TEST(ColourTable, OtherNamesHaveNone) {
    for (const std::string_view name : {"", "yellow", "RED", " Blue", "Green ", "Purple"}) {
        EXPECT_FALSE(dupes::HighlightColourFor(name).has_value()) << '"' << name << '"';
    }
}

} // namespace
