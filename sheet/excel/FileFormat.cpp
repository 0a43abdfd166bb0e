#include "FileFormat.h"

#include "sheet/SheetError.h"
#include "sheet/Utf8Path.h"

namespace sheet::excel {

int FileFormatFor(const std::string& path) {
    const std::string extension = LowerCaseExtension(path);
    if (extension == ".xlsx") {
        return 51; // xlOpenXMLWorkbook
    }
    if (extension == ".xlsm") {
        return 52; // xlOpenXMLWorkbookMacroEnabled
    }
    if (extension == ".xlsb") {
        return 50; // xlExcel12
    }
    if (extension == ".xls") {
        return 56; // xlExcel8
    }
    if (extension == ".ods") {
        return 60; // xlOpenDocumentSpreadsheet
    }
    throw SheetError(
        "Cannot save as \"" + path +
        "\": choose a name ending in .xlsx, .xlsm, .xlsb, .xls or .ods, which keep cell colours.");
}

bool KeepsCellFills(int fileFormat) {
    switch (fileFormat) {
    case -4143: // xlWorkbookNormal
    case 39:    // xlExcel5, xlExcel7
    case 43:    // xlExcel9795
    case 17:    // xlTemplate
    case 50:
    case 51:
    case 52:
    case 53: // xlOpenXMLTemplateMacroEnabled
    case 54: // xlOpenXMLTemplate
    case 56:
    case 60:
    case 61: // xlOpenXMLStrictWorkbook
        return true;
    default:
        return false;
    }
}

} // namespace sheet::excel
