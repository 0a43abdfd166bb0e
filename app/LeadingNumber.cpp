#include "app/LeadingNumber.h"

#include <charconv>
#include <system_error>

namespace {

using Index = std::string_view::size_type;

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool isDigit(std::string_view text, Index at) {
    return at < text.size() && text[at] >= '0' && text[at] <= '9';
}

Index skipDigits(std::string_view text, Index at) {
    while (isDigit(text, at))
        ++at;
    return at;
}

bool isSign(std::string_view text, Index at) {
    return at < text.size() && (text[at] == '+' || text[at] == '-');
}

// Where the number starting at `from` ends, or `from` when none starts there.
Index numberEnd(std::string_view text, Index from) {
    Index at = from;
    if (isSign(text, at))
        ++at;
    const Index digitsFrom = at;
    at = skipDigits(text, at);
    bool anyDigit = at > digitsFrom;
    if (at < text.size() && text[at] == '.') {
        const Index fractionEnd = skipDigits(text, at + 1);
        anyDigit = anyDigit || fractionEnd > at + 1;
        at = fractionEnd;
    }
    if (!anyDigit)
        return from;
    // An exponent counts only when digits follow it: "1e" is just 1.
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        Index exponent = at + 1;
        if (isSign(text, exponent))
            ++exponent;
        if (isDigit(text, exponent))
            at = skipDigits(text, exponent);
    }
    return at;
}

} // namespace

double LeadingNumber(std::string_view text) {
    Index from = 0;
    while (from < text.size() && isBlank(text[from]))
        ++from;
    const Index end = numberEnd(text, from);
    if (end == from)
        return 0.0;
    // from_chars reads a point whatever the locale, and takes no '+'.
    const Index digits = text[from] == '+' ? from + 1 : from;
    double number = 0.0;
    const auto result = std::from_chars(text.data() + digits, text.data() + end, number);
    return result.ec == std::errc() ? number : 0.0;
}
