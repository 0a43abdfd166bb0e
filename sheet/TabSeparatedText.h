#pragma once

#include "dupes/TextTable.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace sheet {

// Parses tab-separated text as the office copies a block of cells: one line
// a row, each ended by a line break (but for a single cell), tabs between fields, and a field
// holding a tab or line break written in quotes with inner quotes doubled. Appends exactly rows x
// columns fields to `out` and returns true, or appends nothing and returns false when the text has
// another shape (a row left out, a field too many or too few).
//
// A field that begins with a quote may be ambiguous: the office writes a text
// such as "a" (quotes included) without further quoting. Such a field is read
// as quoted where that fits; unless it then holds a tab or line break, which
// only a quoted field can, its index in `out` goes to `ambiguous` so the
// caller can read the cell itself. So does a field holding a control
// character other than a tab or line break.
bool ParseTabSeparated(std::string_view text, std::size_t rows, std::size_t columns,
                       dupes::TextTable& out, std::vector<std::size_t>& ambiguous);

} // namespace sheet
