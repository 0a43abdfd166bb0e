#pragma once

#include <string>

namespace sheet {

// A number as a plain text, the way a spreadsheet value converts to text:
// at most 15 significant digits, no trailing zeros, an exponent only for very
// large or small numbers ("42", "3.5", "1E+20").
std::string NumberAsText(double value);

// A serial date-time (days since `nullDate`'s epoch, as the spreadsheet keeps
// dates) as "YYYY-MM-DD", "HH:MM:SS" or both.
struct SerialDate {
    int nullYear = 1899;
    int nullMonth = 12;
    int nullDay = 30;
};
std::string SerialAsText(double serial, const SerialDate& epoch, bool withDate, bool withTime);

} // namespace sheet
