#include "OpenExcelWorkbook.h"

namespace sheet {

std::unique_ptr<Workbook> OpenExcelWorkbook(Spreadsheet& spreadsheet, const std::string& path,
                                            const ProgressListener& progress) {
    return spreadsheet.openWorkbook(path, progress);
}

} // namespace sheet
