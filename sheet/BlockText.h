#pragma once

#include "dupes/BlockGeometry.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sheet {

// A block text taken apart: "Data!$B$2:$E$40", "'My Data'!A1", "$A:$C",
// "$2:$5", "B2,D4:E5". The spreadsheet's own notation never appears here.
struct ParsedBlockText {
    std::optional<std::string> sheetName; // none: the active sheet
    std::vector<dupes::BlockGeometry> areas;
};

// The sheet's size, for whole columns and rows and for bounds checks.
struct SheetLimits {
    std::int32_t rows = 1048576;
    std::int32_t columns = 16384;
};

// Throws SheetError with a description when the text is not a block.
ParsedBlockText ParseBlockText(std::string_view text, const SheetLimits& limits);

// "$B$2:$E$40", "$C$5", "$A:$C", "$2:$5"; areas joined by commas.
std::string FormatAddress(const std::vector<dupes::BlockGeometry>& areas,
                          const SheetLimits& limits);

// 1 -> "A", 27 -> "AA".
std::string ColumnLetters(std::int32_t column);

} // namespace sheet
