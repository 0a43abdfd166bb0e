#include "HighlightBlock.h"

namespace sheet {

dupes::RunSummary HighlightBlock(Workbook& workbook, const Block& block,
                                 const dupes::HighlightOptions& options,
                                 const dupes::ProgressFunction& progress) {
    RequireOneArea(block);
    return dupes::RunHighlight(options, block.geometry(), workbook.cells(block), progress);
}

} // namespace sheet
