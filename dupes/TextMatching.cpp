#include "TextMatching.h"

#include "UnicodeTables.h"
#include "Utf8.h"

#include <algorithm>

namespace dupes {
namespace {

bool IsWhiteSpace(char32_t code) {
    if (code < 0x80) {
        return code == ' ' || (code >= '\t' && code <= '\r');
    }
    const auto ranges = unicode::WhiteSpaceRanges();
    const auto at = std::lower_bound(
        ranges.begin(), ranges.end(), code,
        [](const unicode::CodeRange& range, char32_t c) { return range.last < c; });
    return at != ranges.end() && at->first <= code;
}

void AppendCaseFolded(char32_t code, std::string& out) {
    if (code < 0x80) {
        out += static_cast<char>(code >= 'A' && code <= 'Z' ? code + ('a' - 'A') : code);
        return;
    }
    const auto foldings = unicode::CaseFoldings();
    const auto at = std::lower_bound(
        foldings.begin(), foldings.end(), code,
        [](const unicode::CaseFolding& folding, char32_t c) { return folding.from < c; });
    if (at == foldings.end() || at->from != code) {
        AppendUtf8(code, out);
        return;
    }
    for (const char32_t folded : at->to) {
        if (folded != 0) {
            AppendUtf8(folded, out);
        }
    }
}

} // namespace

void AppendComparable(std::string_view text, const TextMatching& matching, std::string& out) {
    if (matching.exact()) {
        out.append(text);
        return;
    }
    bool started = false;      // something other than white space was kept
    bool blankPending = false; // white space since then, kept only if more follows
    for (std::size_t at = 0; at < text.size();) {
        const Utf8Char c = DecodeUtf8(text, at);
        if (matching.trimBlanks && c.valid && IsWhiteSpace(c.code)) {
            blankPending = started;
            at += c.length;
            continue;
        }
        if (blankPending) {
            out += ' ';
            blankPending = false;
        }
        started = true;
        if (matching.ignoreCase && c.valid) {
            AppendCaseFolded(c.code, out);
        } else {
            out.append(text.substr(at, c.length));
        }
        at += c.length;
    }
}

} // namespace dupes
