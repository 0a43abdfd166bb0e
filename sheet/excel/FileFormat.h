#pragma once

#include <string>

namespace sheet::excel {

// Excel's file format number (XlFileFormat) for a file name's extension,
// among the formats that keep cell fills: .xlsx 51, .xlsm 52, .xlsb 50,
// .xls 56, .ods 60. Throws SheetError naming the choices for any other.
int FileFormatFor(const std::string& path);

// Whether a workbook of this format, saved and opened again, still has its
// cell fills (false for the text formats such as CSV).
bool KeepsCellFills(int fileFormat);

} // namespace sheet::excel
