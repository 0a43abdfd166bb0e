#pragma once

#include <string>
#include <string_view>

namespace dupes {

// How compared texts match. Exact, byte for byte, unless a forgiving rule is
// asked for. Under every rule each compared cell is matched on its own, so
// texts never run into one another across cells.
struct TextMatching {
    // Unicode full case folding (statuses C and F of CaseFolding.txt, without
    // the Turkic rules): "STRASSE" and "straße" match, so do "ǅ" and "ǆ".
    // Canonically equivalent spellings (a precomposed "é" and "e" with a
    // combining accent) still differ.
    bool ignoreCase = false;
    // White space (the White_Space property, no-break and ideographic spaces
    // included) dropped at both ends, and each run of it inside the text
    // taken as one ordinary space.
    bool trimBlanks = false;

    bool exact() const { return !ignoreCase && !trimBlanks; }

    friend bool operator==(const TextMatching&, const TextMatching&) = default;
};

// Appends to `out` the form of `text` that is compared under `matching`;
// two texts match exactly when their forms are equal. Bytes that are not
// UTF-8 are kept as they are.
void AppendComparable(std::string_view text, const TextMatching& matching, std::string& out);

} // namespace dupes
