#pragma once

#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/table/XCell.hpp>

#include <string>

namespace sheet::libreoffice {

namespace css = com::sun::star;

// A cell's value, not its display, as text: numbers plainly ("5" for a 5
// shown as currency), dates and times in ISO form, truth values as TRUE and
// FALSE, texts as they are, an empty cell as the empty text.
std::string CellValueAsText(const css::uno::Reference<css::table::XCell>& cell,
                            const css::uno::Reference<css::sheet::XSpreadsheetDocument>& document);

} // namespace sheet::libreoffice
