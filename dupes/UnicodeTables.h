#pragma once

#include <span>

namespace dupes::unicode {

// One code point's full case folding (statuses C and F of CaseFolding.txt):
// up to three code points, the unused ones 0.
struct CaseFolding {
    char32_t from;
    char32_t to[3];
};

// An inclusive range of code points.
struct CodeRange {
    char32_t first;
    char32_t last;
};

// Sorted by `from`; code points not listed fold to themselves.
std::span<const CaseFolding> CaseFoldings();

// The White_Space property of PropList.txt, sorted.
std::span<const CodeRange> WhiteSpaceRanges();

} // namespace dupes::unicode
