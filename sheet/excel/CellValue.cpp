#include "CellValue.h"

#include "sheet/NumberText.h"

#include <cmath>

namespace sheet::excel {

double AutomationDateAsSerial(double date) {
    if (date >= 0) {
        return date;
    }
    const double days = std::trunc(date);
    return days + (days - date);
}

std::string CellErrorText(std::int32_t code) {
    switch (code) {
    case 2000: return "#NULL!";
    case 2007: return "#DIV/0!";
    case 2015: return "#VALUE!";
    case 2023: return "#REF!";
    case 2029: return "#NAME?";
    case 2036: return "#NUM!";
    case 2042: return "#N/A";
    case 2045: return "#SPILL!";
    default: return "Error " + std::to_string(code);
    }
}

std::string CellValueAsText(const CellValue& value) {
    switch (value.kind) {
    case CellValue::Kind::Empty:
        return {};
    case CellValue::Kind::Number:
        return NumberAsText(value.number);
    case CellValue::Kind::Date: {
        const double serial = AutomationDateAsSerial(value.number);
        // Decided on whole seconds, as SerialAsText rounds them.
        const auto seconds = std::llround(serial * 86400.0);
        const bool withTime = seconds % 86400 != 0;
        const bool withDate = seconds < 0 || seconds >= 86400 || !withTime;
        return SerialAsText(serial, SerialDate{1899, 12, 30}, withDate, withTime);
    }
    case CellValue::Kind::Boolean:
        return value.boolean ? "TRUE" : "FALSE";
    case CellValue::Kind::Text:
        return value.text;
    case CellValue::Kind::Error:
        return CellErrorText(value.error);
    }
    return {};
}

} // namespace sheet::excel
