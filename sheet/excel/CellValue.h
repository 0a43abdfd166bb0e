#pragma once

#include <cstdint>
#include <string>

namespace sheet::excel {

// A cell's value as Excel hands it over, reduced to plain values so that its
// conversion to text needs no Windows types.
struct CellValue {
    enum class Kind { Empty, Number, Date, Boolean, Text, Error };
    Kind kind = Kind::Empty;
    double number = 0;      // Number; Date as an automation date
    bool boolean = false;   // Boolean
    std::string text;       // Text, in UTF-8
    std::int32_t error = 0; // Error: Excel's cell error number (2042 for #N/A)

    static CellValue Empty() { return {}; }
    static CellValue OfNumber(double value) { return {Kind::Number, value, false, {}, 0}; }
    static CellValue OfDate(double value) { return {Kind::Date, value, false, {}, 0}; }
    static CellValue OfBoolean(bool value) { return {Kind::Boolean, 0, value, {}, 0}; }
    static CellValue OfText(std::string value) { return {Kind::Text, 0, false, std::move(value), 0}; }
    static CellValue OfError(std::int32_t code) { return {Kind::Error, 0, false, {}, code}; }
};

// The value as text: numbers plainly ("5" for a 5 shown as currency), dates
// and times in ISO form (the date alone when there is no time of day, the
// time alone on the automation epoch's own day), truth values as TRUE and
// FALSE, texts as they are, an empty cell as the empty text, cell errors as
// Excel shows them ("#N/A").
std::string CellValueAsText(const CellValue& value);

// Excel's display of a cell error number: 2042 -> "#N/A"; an unknown number
// as "Error 2042".
std::string CellErrorText(std::int32_t code);

// An automation date (days since 1899-12-30; before it the fraction still
// counts forward from midnight, so -1.25 is 1899-12-29 06:00) as days on one
// straight line, the way SerialAsText counts.
double AutomationDateAsSerial(double date);

} // namespace sheet::excel
