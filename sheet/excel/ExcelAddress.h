#pragma once

#include "dupes/BlockGeometry.h"
#include "dupes/CellSpan.h"
#include "sheet/BlockText.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace sheet::excel {

// Excel refuses an address text longer than this in one Range call.
constexpr std::size_t kMaxAddressLength = 255;

// A sheet name as Excel's references write it: always quoted, a quote inside
// doubled ("'My Data'", "'Bob''s'"). Quoting a name that needs none is allowed.
std::string QuotedSheetName(std::string_view name);

// A block text taken apart, in the form Excel's Application.Range takes:
// every area carries the sheet, because an unqualified area in a union would
// refer to the active sheet ("'Data'!$B$2:$E$40,'Data'!$G$2"). Without a
// sheet name the areas stand alone and mean the active sheet.
std::string ExcelReference(const ParsedBlockText& block);

// One area as a relative address: "B4", "A3:C3" or "A3:C7". Relative and
// without "$" because it is shorter, and so more areas fit in one request.
std::string AreaAddress(const dupes::BlockGeometry& area);

// The spans as areas, in the order given: a span that continues the one
// before it on the next row, with the same columns, joins its area.
std::vector<dupes::BlockGeometry> AreasOf(const std::vector<dupes::CellSpan>& spans);

// The spans' areas as union address texts ("A1:C1,A3:C7,..."), each at most
// `maxLength` characters, the areas in the order given, each exactly once.
// Throws std::invalid_argument when a single area's address is longer than
// `maxLength`.
std::vector<std::string> UnionAddresses(const std::vector<dupes::CellSpan>& spans,
                                        std::size_t maxLength = kMaxAddressLength);

} // namespace sheet::excel
