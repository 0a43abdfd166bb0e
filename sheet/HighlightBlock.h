#pragma once

#include "Block.h"
#include "Progress.h"
#include "Workbook.h"
#include "dupes/HighlightRun.h"

namespace sheet {

// The highlight run on a block of an open workbook: reads the compared
// columns, finds the repeated rows and colours them. A block of whole
// columns or rows is run on its used part (Workbook::usedPart). The window's buttons and
// the batch command both run exactly this; showing the result or saving a
// copy is the caller's. Throws SheetError for a block of several areas or a
// refusal of the spreadsheet, dupes::RunError for inputs a run cannot take.
dupes::RunSummary HighlightBlock(Workbook& workbook, const Block& block,
                                 const dupes::HighlightOptions& options,
                                 const ProgressListener& progress = {});

// The same, with all the run found: the groups it was asked to list and how
// many colours it gave.
dupes::HighlightResult HighlightBlockInFull(Workbook& workbook, const Block& block,
                                            const dupes::HighlightOptions& options,
                                            const ProgressListener& progress = {});

} // namespace sheet
