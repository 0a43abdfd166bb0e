#include "OpenExcelWorkbook.h"

namespace sheet {

std::unique_ptr<Workbook> OpenExcelWorkbook(Spreadsheet& spreadsheet, const std::string& path) {
    return spreadsheet.openWorkbook(path);
}

} // namespace sheet
