#pragma once

#include "Spreadsheet.h"
#include "dupes/HighlightRun.h"

#include <memory>
#include <string>

namespace sheet {

struct HighlightRequest {
    std::string workbookPath;
    std::string blockText; // as the block box holds it: "Data!$B$2:$E$40"
    dupes::HighlightOptions options;
};

struct HighlightResult {
    std::unique_ptr<Workbook> workbook; // coloured, unsaved, still hidden
    Block block;
    dupes::RunSummary summary;
};

// A highlight run on a workbook: opens it in a new instance, resolves the
// block, finds the duplicate rows and colours them. The caller shows the
// result or saves a copy. On any failure the instance is closed without
// saving and ended before the error (SheetError or dupes::RunError) leaves.
HighlightResult HighlightWorkbook(Spreadsheet& spreadsheet, const HighlightRequest& request,
                                  const dupes::ProgressFunction& progress = {});

} // namespace sheet
