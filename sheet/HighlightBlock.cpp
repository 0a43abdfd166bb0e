#include "HighlightBlock.h"

namespace sheet {

dupes::RunSummary HighlightBlock(Workbook& workbook, const Block& block,
                                 const dupes::HighlightOptions& options,
                                 const dupes::ProgressFunction& progress) {
    RequireOneArea(block);
    const Block used = workbook.usedPart(block);
    return dupes::RunHighlight(options, used.geometry(), workbook.cells(used), progress);
}

} // namespace sheet
