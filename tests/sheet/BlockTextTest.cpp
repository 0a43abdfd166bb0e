#include "sheet/BlockText.h"
#include "sheet/Colour.h"
#include "sheet/SheetError.h"

#include <gtest/gtest.h>

using dupes::BlockGeometry;
using sheet::FormatAddress;
using sheet::ParseBlockText;
using sheet::SheetLimits;

namespace {

const SheetLimits kLimits{};

BlockGeometry Area(int firstRow, int firstColumn, int lastRow, int lastColumn) {
    return BlockGeometry{firstRow, firstColumn, lastRow, lastColumn};
}

} // namespace

TEST(BlockText, SheetNameIsEverythingBeforeTheLastBang) {
    const auto parsed = ParseBlockText("My Data!x!$B$2:$E$40", kLimits);
    EXPECT_EQ(parsed.sheetName, "My Data!x");
    ASSERT_EQ(parsed.areas.size(), 1u);
    EXPECT_EQ(parsed.areas[0], Area(2, 2, 40, 5));
}

TEST(BlockText, QuotedSheetNameWithDoubledQuote) {
    const auto parsed = ParseBlockText("'Bob''s List'!A1", kLimits);
    EXPECT_EQ(parsed.sheetName, "Bob's List");
    EXPECT_EQ(parsed.areas[0], Area(1, 1, 1, 1));
}

TEST(BlockText, NoSheetPartMeansTheActiveSheet) {
    const auto parsed = ParseBlockText("c5:f9", kLimits);
    EXPECT_FALSE(parsed.sheetName.has_value());
    EXPECT_EQ(parsed.areas[0], Area(5, 3, 9, 6));
}

TEST(BlockText, WholeColumnsRowsReversedCornersAndSeveralAreas) {
    const auto parsed = ParseBlockText("S!$A:$C,$2:$5,$E$9:$D$3", kLimits);
    ASSERT_EQ(parsed.areas.size(), 3u);
    EXPECT_EQ(parsed.areas[0], Area(1, 1, kLimits.rows, 3));
    EXPECT_EQ(parsed.areas[1], Area(2, 1, 5, kLimits.columns));
    EXPECT_EQ(parsed.areas[2], Area(3, 4, 9, 5));
}

TEST(BlockText, FormatWritesWhatParseReads) {
    for (const char* text :
         {"$B$2:$E$40", "$C$5", "$A:$C", "$2:$5", "$A$1:$B$2,$D$4", "$XFD$1048576"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(FormatAddress(ParseBlockText(text, kLimits).areas, kLimits), text);
    }
    EXPECT_EQ(sheet::ColumnLetters(1), "A");
    EXPECT_EQ(sheet::ColumnLetters(26), "Z");
    EXPECT_EQ(sheet::ColumnLetters(27), "AA");
    EXPECT_EQ(sheet::ColumnLetters(16384), "XFD");
}

TEST(BlockText, RejectsWhatIsNoBlockWithAReason) {
    for (const char* text : {"", "Data!", "!A1", "A0", "A1:", "XFE1", "A1048577", "1A", "A1:B",
                             "$$A1", "'Unclosed!A1", "Data!A1;B2", "hello"}) {
        SCOPED_TRACE(text);
        try {
            ParseBlockText(text, kLimits);
            ADD_FAILURE() << "accepted";
        } catch (const sheet::SheetError& e) {
            EXPECT_NE(std::string(e.what()).find("cannot be used"), std::string::npos) << e.what();
        }
    }
}

TEST(Colour, RedMovesBetweenLowestAndHighestByte) {
    EXPECT_EQ(sheet::SwapRedAndBlue(0x00FFFF), 0xFFFF00u); // yellow
    EXPECT_EQ(sheet::SwapRedAndBlue(0x0000FF), 0xFF0000u); // red
    EXPECT_EQ(sheet::SwapRedAndBlue(0x00FF00), 0x00FF00u); // green
    EXPECT_EQ(sheet::SwapRedAndBlue(sheet::SwapRedAndBlue(0x123456)), 0x123456u);
}
