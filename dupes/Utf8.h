#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace dupes {

// One character of a UTF-8 text: its code point and how many bytes it takes.
// A byte that starts no valid sequence (a stray continuation byte, an
// overlong or cut-off sequence, a surrogate) comes back alone, with length 1
// and `valid` false, so text that is not UTF-8 passes through byte for byte.
struct Utf8Char {
    char32_t code = 0;
    std::size_t length = 1;
    bool valid = false;
};

// The character that starts at text[at]; `at` must be inside `text`.
Utf8Char DecodeUtf8(std::string_view text, std::size_t at);

void AppendUtf8(char32_t code, std::string& out);

} // namespace dupes
