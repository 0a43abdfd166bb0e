// The Excel backend's pure helpers: address texts, the union splitting, cell
// values as text, UTF-16 and the save formats. No Windows needed.

#include "Thrown.h"

#include "sheet/SheetError.h"
#include "sheet/excel/CellValue.h"
#include "sheet/excel/ExcelAddress.h"
#include "sheet/excel/FileFormat.h"
#include "sheet/excel/Utf16.h"

#include <gtest/gtest.h>
#include <stdexcept>

using dupes::CellSpan;
using sheet::excel::CellValue;
using sheet::excel::CellValueAsText;

namespace {

std::string Reference(const std::string& text) {
    return sheet::excel::ExcelReference(sheet::ParseBlockText(text, sheet::SheetLimits{}));
}

std::int32_t ColumnNumber(const std::string& letters) {
    std::int32_t column = 0;
    for (const char c : letters) {
        column = column * 26 + (c - 'A' + 1);
    }
    return column;
}

// "B4", "A3:C3" or "A3:C7" back to one span per row, to prove the groups
// hold the spans given.
void AppendSpansOf(const std::string& address, std::vector<CellSpan>& spans) {
    const auto one = [](const std::string& cell) {
        std::size_t digits = cell.find_first_of("0123456789");
        return std::pair{ColumnNumber(cell.substr(0, digits)), std::stoi(cell.substr(digits))};
    };
    const std::size_t colon = address.find(':');
    const auto [first, firstRow] = one(address.substr(0, colon));
    const auto [last, lastRow] =
        colon == std::string::npos ? std::pair{first, firstRow} : one(address.substr(colon + 1));
    for (std::int32_t row = firstRow; row <= lastRow; ++row) {
        spans.push_back(CellSpan{row, first, last});
    }
}

std::vector<CellSpan> SpansOf(const std::vector<std::string>& groups) {
    std::vector<CellSpan> spans;
    for (const auto& group : groups) {
        std::size_t start = 0;
        while (start <= group.size()) {
            const std::size_t comma = std::min(group.find(',', start), group.size());
            AppendSpansOf(group.substr(start, comma - start), spans);
            start = comma + 1;
        }
    }
    return spans;
}

// Rows with repeats as a run colours them: some whole rows, some split into
// runs of compared columns, far apart, close together and on neighbouring
// rows.
std::vector<CellSpan> ManySpans(int count) {
    std::vector<CellSpan> spans;
    for (int i = 0; i < count; ++i) {
        const std::int32_t row = 2 + i * 7 + (i % 3) * 100000;
        if (i % 4 == 0) {
            spans.push_back({row, 1, 16384});
        } else if (i % 4 == 1) {
            for (std::int32_t next = row; next < row + 1 + i % 6; ++next) {
                spans.push_back({next, 3, 5});
            }
        } else {
            spans.push_back({row, 2, 4});
            spans.push_back({row, 27 + i % 5, 27 + i % 5});
        }
    }
    return spans;
}

} // namespace

TEST(ExcelHelpers, SheetNamesAreQuotedTheWayExcelReadsThem) {
    EXPECT_EQ(sheet::excel::QuotedSheetName("Data"), std::string("'Data'"));
    EXPECT_EQ(sheet::excel::QuotedSheetName("My Data"), std::string("'My Data'"));
    EXPECT_EQ(sheet::excel::QuotedSheetName("Bob's"), std::string("'Bob''s'"));
    EXPECT_EQ(sheet::excel::QuotedSheetName("Zürich!"), std::string("'Zürich!'"));
}

TEST(ExcelHelpers, BlockTextsBecomeExcelReferences) {
    EXPECT_EQ(Reference("Data!$B$2:$E$40"), std::string("'Data'!$B$2:$E$40"));
    // A name with blanks is written unquoted in the block box; Excel needs quotes.
    EXPECT_EQ(Reference("My Data!$C$5:$F$9"), std::string("'My Data'!$C$5:$F$9"));
    EXPECT_EQ(Reference("'Bob''s'!B2"), std::string("'Bob''s'!$B$2"));
    // Every area of a union carries the sheet.
    EXPECT_EQ(Reference("Data!$A$1,$C$3:$D$4"), std::string("'Data'!$A$1,'Data'!$C$3:$D$4"));
    // No sheet: the active one, as Excel reads an unqualified reference.
    EXPECT_EQ(Reference("B2:E40"), std::string("$B$2:$E$40"));
    EXPECT_EQ(Reference("$A:$C"), std::string("$A:$C"));
    EXPECT_EQ(Reference("Data!$2:$5"), std::string("'Data'!$2:$5"));
}

TEST(ExcelHelpers, AreasBecomeShortRelativeAddresses) {
    using dupes::BlockGeometry;
    EXPECT_EQ(sheet::excel::AreaAddress(BlockGeometry{4, 2, 4, 2}), std::string("B4"));
    EXPECT_EQ(sheet::excel::AreaAddress(BlockGeometry{3, 1, 3, 3}), std::string("A3:C3"));
    EXPECT_EQ(sheet::excel::AreaAddress(BlockGeometry{3, 1, 7, 3}), std::string("A3:C7"));
    EXPECT_EQ(sheet::excel::AreaAddress(BlockGeometry{2, 2, 9, 2}), std::string("B2:B9"));
    EXPECT_EQ(sheet::excel::AreaAddress(BlockGeometry{1, 1, 1, 16384}), std::string("A1:XFD1"));
    EXPECT_EQ(sheet::excel::AreaAddress(BlockGeometry{1048576, 16384, 1048576, 16384}),
              std::string("XFD1048576"));
    EXPECT_EQ(sheet::excel::AreaAddress(BlockGeometry{1048576, 16383, 1048576, 16384}),
              std::string("XFC1048576:XFD1048576"));
}

TEST(ExcelHelpers, ConsecutiveRowsOfOneWidthBecomeOneArea) {
    using dupes::BlockGeometry;
    EXPECT_TRUE(
        (sheet::excel::AreasOf(
             {{2, 1, 3}, {3, 1, 3}, {4, 1, 3}, {6, 1, 3}, {7, 2, 3}, {8, 2, 3}, {9, 2, 3}}) ==
         std::vector<BlockGeometry>{{2, 1, 4, 3}, {6, 1, 6, 3}, {7, 2, 9, 3}}));
    // Only a span that follows on the next row joins; order is kept.
    EXPECT_EQ(sheet::excel::AreasOf({{5, 1, 3}, {4, 1, 3}}).size(), std::size_t{2});
    EXPECT_EQ(sheet::excel::AreasOf({{5, 2, 4}, {5, 27, 27}, {6, 2, 4}, {6, 27, 27}}).size(),
              std::size_t{4});
    EXPECT_TRUE(sheet::excel::UnionAddresses({{2, 3, 6}, {3, 3, 6}, {4, 3, 6}, {8, 3, 6}}) ==
                std::vector<std::string>{"C2:F4,C8:F8"});
}

TEST(ExcelHelpers, FewSpansMakeOneUnion) {
    EXPECT_TRUE(sheet::excel::UnionAddresses({}).empty());
    const auto groups = sheet::excel::UnionAddresses({{1, 1, 3}, {3, 1, 3}, {4, 2, 2}});
    EXPECT_EQ(groups.size(), std::size_t{1});
    EXPECT_EQ(groups.front(), std::string("A1:C1,A3:C3,B4"));
}

TEST(ExcelHelpers, UnionsStayWithinExcelsAddressLimit) {
    const auto spans = ManySpans(2000);
    const auto groups = sheet::excel::UnionAddresses(spans);
    EXPECT_TRUE(groups.size() > 1);
    bool allFit = true;
    for (const auto& group : groups) {
        allFit = allFit && !group.empty() && group.size() <= sheet::excel::kMaxAddressLength;
    }
    EXPECT_TRUE(allFit);
    // Every span exactly once, in the order given.
    EXPECT_TRUE(SpansOf(groups) == spans);
}

TEST(ExcelHelpers, UnionsArePackedFull) {
    // Greedy: no group could have taken the next group's first span, so the
    // number of requests stays small.
    for (const std::size_t limit : {std::size_t{255}, std::size_t{40}, std::size_t{21}}) {
        const auto groups = sheet::excel::UnionAddresses(ManySpans(300), limit);
        bool tight = true;
        for (std::size_t i = 0; i + 1 < groups.size(); ++i) {
            const std::size_t firstNext = std::min(groups[i + 1].find(','), groups[i + 1].size());
            tight = tight && groups[i].size() + 1 + firstNext > limit;
        }
        EXPECT_TRUE(tight);
        EXPECT_TRUE(SpansOf(groups) == ManySpans(300));
    }
}

TEST(ExcelHelpers, AGroupHoldsExactlyTheLimit) {
    // A1, C2, A3, ... A65 joined take 250 characters; ",A100" makes 255.
    // The columns alternate so that no two spans join into one area.
    std::vector<CellSpan> spans;
    std::string expected;
    for (std::int32_t row = 1; row <= 65; ++row) {
        const std::int32_t column = row % 2 == 1 ? 1 : 3;
        spans.push_back({row, column, column});
        expected += (row == 1 ? "" : ",") + sheet::ColumnLetters(column) + std::to_string(row);
    }
    spans.push_back({100, 1, 1});
    expected += ",A100";
    EXPECT_EQ(expected.size(), sheet::excel::kMaxAddressLength);
    const auto groups = sheet::excel::UnionAddresses(spans);
    EXPECT_EQ(groups.size(), std::size_t{1});
    EXPECT_EQ(groups.front(), expected);
    // One more starts a second group.
    spans.push_back({9, 2, 2});
    const auto split = sheet::excel::UnionAddresses(spans);
    EXPECT_EQ(split.size(), std::size_t{2});
    EXPECT_EQ(split.front(), expected);
    EXPECT_EQ(split.back(), std::string("B9"));
    // The same at a small limit.
    EXPECT_EQ(sheet::excel::UnionAddresses({{1, 1, 3}, {3, 1, 3}, {4, 2, 2}}, 14).size(),
              std::size_t{1});
    EXPECT_TRUE(sheet::excel::UnionAddresses({{1, 1, 3}, {3, 1, 3}, {4, 2, 2}}, 13) ==
                (std::vector<std::string>{"A1:C1,A3:C3", "B4"}));
}

TEST(ExcelHelpers, ASpanLongerThanTheLimitIsRefused) {
    EXPECT_PRED2(Contains, Thrown<std::invalid_argument>([&] {
                     sheet::excel::UnionAddresses({{1, 1, 3}}, 3);
                 }),
                 "A1:C1");
}

TEST(ExcelHelpers, NumbersArePlainText) {
    EXPECT_EQ(CellValueAsText(CellValue::OfNumber(42)), std::string("42"));
    EXPECT_EQ(CellValueAsText(CellValue::OfNumber(-3.5)), std::string("-3.5"));
    EXPECT_EQ(CellValueAsText(CellValue::OfNumber(1e20)), std::string("1E+20"));
    EXPECT_EQ(CellValueAsText(CellValue::OfNumber(0.1)), std::string("0.1"));
}

TEST(ExcelHelpers, DatesAreIso) {
    EXPECT_EQ(CellValueAsText(CellValue::OfDate(45352)), std::string("2024-03-01"));
    EXPECT_EQ(CellValueAsText(CellValue::OfDate(45352.75)), std::string("2024-03-01 18:00:00"));
    EXPECT_EQ(CellValueAsText(CellValue::OfDate(0.5)), std::string("12:00:00"));
    EXPECT_EQ(CellValueAsText(CellValue::OfDate(0)), std::string("1899-12-30"));
    // Within a second of midnight: the next day, no time.
    EXPECT_EQ(CellValueAsText(CellValue::OfDate(45352.999999999)), std::string("2024-03-02"));
    // Before the epoch the fraction still counts forward from midnight.
    EXPECT_EQ(CellValueAsText(CellValue::OfDate(-1.25)), std::string("1899-12-29 06:00:00"));
    EXPECT_EQ(sheet::excel::AutomationDateAsSerial(-0.5), 0.5);
    EXPECT_EQ(sheet::excel::AutomationDateAsSerial(-2.75), -1.25);
}

TEST(ExcelHelpers, TruthValuesTextsEmptiesAndErrors) {
    EXPECT_EQ(CellValueAsText(CellValue::OfBoolean(true)), std::string("TRUE"));
    EXPECT_EQ(CellValueAsText(CellValue::OfBoolean(false)), std::string("FALSE"));
    EXPECT_EQ(CellValueAsText(CellValue::OfText("  Oslo ")), std::string("  Oslo "));
    EXPECT_EQ(CellValueAsText(CellValue::OfText("")), std::string());
    EXPECT_EQ(CellValueAsText(CellValue::Empty()), std::string());
    EXPECT_EQ(CellValueAsText(CellValue::OfError(2042)), std::string("#N/A"));
    EXPECT_EQ(CellValueAsText(CellValue::OfError(2007)), std::string("#DIV/0!"));
    EXPECT_EQ(CellValueAsText(CellValue::OfError(2029)), std::string("#NAME?"));
    EXPECT_EQ(CellValueAsText(CellValue::OfError(9999)), std::string("Error 9999"));
}

TEST(ExcelHelpers, Utf16RoundTrips) {
    const std::string text = "Zürich € 𝄞 日本";
    const std::u16string wide = sheet::excel::Utf8ToUtf16(text);
    EXPECT_EQ(wide.size(), std::size_t{14}); // 𝄞 takes a surrogate pair
    EXPECT_TRUE(wide == u"Zürich € 𝄞 日本");
    EXPECT_EQ(sheet::excel::Utf16ToUtf8(wide), text);
}

TEST(ExcelHelpers, BrokenSequencesBecomeReplacementCharacters) {
    EXPECT_TRUE(sheet::excel::Utf8ToUtf16("a\xC3") == u"a\uFFFD");
    EXPECT_TRUE(sheet::excel::Utf8ToUtf16("\xC0\xAF") == u"\uFFFD");     // overlong
    EXPECT_TRUE(sheet::excel::Utf8ToUtf16("\xED\xA0\x80") == u"\uFFFD"); // a surrogate
    const char16_t lone[] = {u'x', char16_t(0xD800), u'y', 0};
    EXPECT_EQ(sheet::excel::Utf16ToUtf8(lone), std::string("x\xEF\xBF\xBDy"));
}

TEST(ExcelHelpers, SaveFormatsFollowTheExtension) {
    EXPECT_EQ(sheet::excel::FileFormatFor("out.xlsx"), 51);
    EXPECT_EQ(sheet::excel::FileFormatFor("C:\\Data\\OUT.XLS"), 56);
    EXPECT_EQ(sheet::excel::FileFormatFor("out.xlsm"), 52);
    EXPECT_EQ(sheet::excel::FileFormatFor("out.xlsb"), 50);
    EXPECT_EQ(sheet::excel::FileFormatFor("out.ods"), 60);
    EXPECT_PRED2(Contains,
                 Thrown<sheet::SheetError>([&] { sheet::excel::FileFormatFor("out.csv"); }),
                 ".xlsx, .xlsm, .xlsb, .xls or .ods");
    EXPECT_TRUE(sheet::excel::KeepsCellFills(51));
    EXPECT_TRUE(sheet::excel::KeepsCellFills(56));
    EXPECT_TRUE(!sheet::excel::KeepsCellFills(6));     // CSV
    EXPECT_TRUE(!sheet::excel::KeepsCellFills(-4158)); // text
}
