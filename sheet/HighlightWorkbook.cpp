#include "HighlightWorkbook.h"

#include "OpenExcelWorkbook.h"

namespace sheet {

HighlightResult HighlightWorkbook(Spreadsheet& spreadsheet, const HighlightRequest& request,
                                  const dupes::ProgressFunction& progress) {
    HighlightResult result;
    result.workbook = OpenExcelWorkbook(spreadsheet, request.workbookPath);
    result.block = result.workbook->findBlock(request.blockText);
    result.summary = dupes::RunHighlight(request.options, result.block.geometry(),
                                         result.workbook->cells(result.block), progress);
    return result;
}

} // namespace sheet
