#pragma once

#include "sheet/BlockText.h"

#include <optional>
#include <string>
#include <string_view>

namespace sheet::libreoffice {

// The office's own range notation ("$Sheet1.$A$1:$C$5", "$'My Data'.B2",
// "A1:C5", areas joined by ";") taken apart into the sheet name, if any,
// and the areas. Throws SheetError when it is not a range.
ParsedBlockText ParseOfficeRange(std::string_view text, const SheetLimits& limits);

// A block in the office's notation, for the range box's initial value.
std::string OfficeRangeText(const std::string& sheetName, const dupes::BlockGeometry& area);

} // namespace sheet::libreoffice
