#include "sheet/TabSeparatedText.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> Parse(std::string_view text, std::size_t rows, std::size_t columns,
                               std::vector<std::size_t>* ambiguousOut = nullptr) {
    dupes::TextTable table;
    table.append("before");
    std::vector<std::size_t> ambiguous;
    if (!sheet::ParseTabSeparated(text, rows, columns, table, ambiguous)) {
        EXPECT_EQ(table.size(), 1u) << "a rejected text appended fields";
        EXPECT_TRUE(ambiguous.empty());
        return {"<rejected>"};
    }
    if (ambiguousOut != nullptr) {
        *ambiguousOut = ambiguous;
    }
    std::vector<std::string> fields;
    for (std::size_t i = 1; i < table.size(); ++i) {
        fields.emplace_back(table.cell(i));
    }
    return fields;
}

using Fields = std::vector<std::string>;

} // namespace

TEST(TabSeparatedText, PlainAndQuotedFields) {
    EXPECT_EQ(Parse("a\tb\nc\td\n", 2, 2), (Fields{"a", "b", "c", "d"}));
    EXPECT_EQ(Parse("a\tb\r\nc\td\r\n", 2, 2), (Fields{"a", "b", "c", "d"}));
    EXPECT_EQ(Parse("\"x\ty\"\t\"line\nbreak\"\n", 1, 2), (Fields{"x\ty", "line\nbreak"}));
    EXPECT_EQ(Parse("\"say \"\"hi\"\"\"\t\n", 1, 2), (Fields{"say \"hi\"", ""}));
    EXPECT_EQ(Parse("\t\n\t\n", 2, 2), (Fields{"", "", "", ""}));
    EXPECT_EQ(Parse("  blank  \tПривет\n", 1, 2), (Fields{"  blank  ", "Привет"}));
}

TEST(TabSeparatedText, AnotherShapeIsRejectedWhole) {
    EXPECT_EQ(Parse("a\tb\n", 2, 2), Fields{"<rejected>"});          // a row left out
    EXPECT_EQ(Parse("a\tb\tc\n", 1, 2), Fields{"<rejected>"});       // a field too many
    EXPECT_EQ(Parse("a\nb\n", 1, 2), Fields{"<rejected>"});          // a field too few
    EXPECT_EQ(Parse("a\nb\nc\n", 2, 1), Fields{"<rejected>"});       // a row too many
    EXPECT_EQ(Parse("a\tb\nc\td", 2, 2), Fields{"<rejected>"});      // the last line break missing
    EXPECT_EQ(Parse("\"open\tfield\n", 1, 1), Fields{"<rejected>"}); // unclosed quote
}

// The office leaves a text with quotes but no tab or line break unquoted, so
// a field starting with a quote is read as well as it can and reported.
TEST(TabSeparatedText, FieldsStartingWithAQuoteAreReported) {
    std::vector<std::size_t> ambiguous;
    EXPECT_EQ(Parse("say \"hi\"\t\"a\"b\t\"quoted\"\n\"open\n", 2, 3, &ambiguous),
              Fields{"<rejected>"}); // the second row has one field, not three
    EXPECT_EQ(Parse("say \"hi\"\t\"a\"b\t\"quoted\"\n", 1, 3, &ambiguous),
              (Fields{"say \"hi\"", "\"a\"b", "quoted"}));
    EXPECT_EQ(ambiguous, (std::vector<std::size_t>{2, 3})); // indices in the table, after "before"
    // A quoted reading that swallows a line break changes the shape: refused.
    EXPECT_EQ(Parse("\"x\ny\"\n", 2, 1), Fields{"<rejected>"});
    // What holds a tab or line break was quoted for sure.
    EXPECT_EQ(Parse("\"x\ty\"\t\"z\"\n", 1, 2, &ambiguous), (Fields{"x\ty", "z"}));
    EXPECT_EQ(ambiguous, (std::vector<std::size_t>{2}));
    EXPECT_EQ(Parse("ok\t\"a\x01"
                    "b\nc\"\tx\x02\n",
                    1, 3, &ambiguous),
              (Fields{"ok",
                      "a\x01"
                      "b\nc",
                      "x\x02"}));
    EXPECT_EQ(ambiguous, (std::vector<std::size_t>{2, 3}));
}

TEST(TabSeparatedText, ASingleCellNeedsNoLineBreak) {
    EXPECT_EQ(Parse("only", 1, 1), Fields{"only"});
    EXPECT_EQ(Parse("only\n", 1, 1), Fields{"only"});
    EXPECT_EQ(Parse("a\tb", 1, 2), Fields{"<rejected>"});
}
