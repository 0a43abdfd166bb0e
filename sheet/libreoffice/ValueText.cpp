#include "ValueText.h"

#include "Strings.h"
#include "sheet/NumberText.h"

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/sheet/FormulaResult.hpp>
#include <com/sun/star/table/CellContentType.hpp>
#include <com/sun/star/text/XTextRange.hpp>
#include <com/sun/star/util/Date.hpp>
#include <com/sun/star/util/NumberFormat.hpp>
#include <com/sun/star/util/XNumberFormatsSupplier.hpp>

namespace sheet::libreoffice {

using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;

namespace {

std::string NumberValueAsText(const Reference<css::table::XCell>& cell, double value,
                              const Reference<css::sheet::XSpreadsheetDocument>& document) {
    const Reference<css::beans::XPropertySet> cellProperties(cell, UNO_QUERY_THROW);
    sal_Int32 key = 0;
    cellProperties->getPropertyValue("NumberFormat") >>= key;
    const Reference<css::util::XNumberFormatsSupplier> supplier(document, UNO_QUERY_THROW);
    sal_Int16 type = 0;
    supplier->getNumberFormats()->getByKey(key)->getPropertyValue("Type") >>= type;

    if ((type & css::util::NumberFormat::LOGICAL) != 0) {
        return value != 0.0 ? "TRUE" : "FALSE";
    }
    const bool date = (type & css::util::NumberFormat::DATE) != 0;
    const bool time = (type & css::util::NumberFormat::TIME) != 0;
    if (date || time) {
        css::util::Date nullDate(30, 12, 1899);
        const Reference<css::beans::XPropertySet> settings(document, UNO_QUERY_THROW);
        settings->getPropertyValue("NullDate") >>= nullDate;
        return SerialAsText(value, SerialDate{nullDate.Year, nullDate.Month, nullDate.Day}, date,
                            time);
    }
    return NumberAsText(value);
}

} // namespace

std::string CellValueAsText(const Reference<css::table::XCell>& cell,
                            const Reference<css::sheet::XSpreadsheetDocument>& document) {
    const auto type = cell->getType();
    if (type == css::table::CellContentType_EMPTY) {
        return {};
    }
    if (type == css::table::CellContentType_VALUE) {
        return NumberValueAsText(cell, cell->getValue(), document);
    }
    if (type == css::table::CellContentType_FORMULA) {
        const Reference<css::beans::XPropertySet> properties(cell, UNO_QUERY_THROW);
        sal_Int32 result = 0;
        properties->getPropertyValue("FormulaResultType2") >>= result;
        if (result == css::sheet::FormulaResult::VALUE) {
            return NumberValueAsText(cell, cell->getValue(), document);
        }
    }
    // Texts, and formula texts and errors as the cell shows them.
    return ToUtf8(Reference<css::text::XTextRange>(cell, UNO_QUERY_THROW)->getString());
}

} // namespace sheet::libreoffice
