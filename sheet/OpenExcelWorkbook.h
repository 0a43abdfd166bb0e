#pragma once

#include "Spreadsheet.h"

#include <memory>
#include <string>

namespace sheet {

// Starts a new instance of the spreadsheet application and opens the
// workbook at `path` in it, still hidden. Every action that needs the
// workbook calls this afresh, so each reads the file anew from disk.
std::unique_ptr<Workbook> OpenExcelWorkbook(Spreadsheet& spreadsheet, const std::string& path,
                                            const ProgressListener& progress = {});

} // namespace sheet
