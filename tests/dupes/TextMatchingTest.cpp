// What each matching compares a text as: exact by default, Unicode full case
// folding, and blanks trimmed and collapsed.
#include "dupes/TextMatching.h"
#include "dupes/UnicodeTables.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

using dupes::TextMatching;

constexpr TextMatching kExact{};
constexpr TextMatching kIgnoreCase{true, false};
constexpr TextMatching kTrim{false, true};
constexpr TextMatching kBoth{true, true};

struct Form {
    const char* name;
    std::string text;
    TextMatching matching;
    std::string expected;

    friend void PrintTo(const Form& form, std::ostream* out) { *out << form.name; }
};

std::string Comparable(std::string_view text, const TextMatching& matching) {
    std::string form;
    dupes::AppendComparable(text, matching, form);
    return form;
}

class ComparableForm : public ::testing::TestWithParam<Form> {};

TEST_P(ComparableForm, IsWhatTheMatchingCompares) {
    EXPECT_EQ(Comparable(GetParam().text, GetParam().matching), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Matching, ComparableForm,
    ::testing::Values(Form{"ExactKeepsEverything", " Smith\u00A0 X ", kExact, " Smith\u00A0 X "},
                      Form{"SharpSFoldsToTwoLetters", "Straße", kIgnoreCase, "strasse"},
                      Form{"GreekFinalSigma", "ΣΟΦΟΣ ς", kIgnoreCase, "σοφοσ σ"},
                      Form{"DottedCapitalIWithoutTurkishRules", "İ", kIgnoreCase, "i\u0307"},
                      Form{"OutsideTheBasicPlane", "\U00010400", kIgnoreCase, "\U00010428"},
                      Form{"CaseKeepsBytesThatAreNotUtf8",
                           "A\xFF"
                           "B",
                           kIgnoreCase,
                           "a\xFF"
                           "b"},
                      Form{"TrimDropsBothEnds", " \t Smith \r\n", kTrim, "Smith"},
                      Form{"TrimCollapsesInnerRuns", "Ann \t\u00A0 Lee", kTrim, "Ann Lee"},
                      Form{"TrimKnowsUnicodeBlanks", "\u3000\u2003Oslo\u202F\u205F", kTrim, "Oslo"},
                      Form{"TrimKeepsZeroWidthSpace", "a\u200Bb", kTrim, "a\u200Bb"},
                      Form{"OnlyBlanksBecomeEmpty", " \u00A0\t", kTrim, ""},
                      Form{"BothTogether", "  ANN\u00A0\u00A0LEE ", kBoth, "ann lee"},
                      Form{"Empty", "", kBoth, ""}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(UnicodeTables, AreSortedForTheirLookups) {
    const auto foldings = dupes::unicode::CaseFoldings();
    EXPECT_GT(foldings.size(), 1400u);
    EXPECT_TRUE(std::is_sorted(foldings.begin(), foldings.end(),
                               [](const auto& a, const auto& b) { return a.from < b.from; }));
    const auto blanks = dupes::unicode::WhiteSpaceRanges();
    EXPECT_TRUE(std::is_sorted(blanks.begin(), blanks.end(),
                               [](const auto& a, const auto& b) { return a.last < b.first; }));
}

} // namespace
