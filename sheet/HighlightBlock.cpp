#include "HighlightBlock.h"

namespace sheet {

dupes::RunSummary HighlightBlock(Workbook& workbook, const Block& block,
                                 const dupes::HighlightOptions& options,
                                 const ProgressListener& progress) {
    return HighlightBlockInFull(workbook, block, options, progress).summary;
}

dupes::HighlightResult HighlightBlockInFull(Workbook& workbook, const Block& block,
                                            const dupes::HighlightOptions& options,
                                            const ProgressListener& progress) {
    RequireOneArea(block);
    const Block used = workbook.usedPart(block);
    const auto report = [&progress](dupes::RunStage stage, std::int64_t done, std::int64_t total) {
        if (!progress) {
            return;
        }
        switch (stage) {
        case dupes::RunStage::Reading:
            progress({Stage::ReadingRows, done, total});
            break;
        case dupes::RunStage::Finding:
            progress({Stage::FindingRepeats, 0, 0});
            break;
        case dupes::RunStage::Colouring:
            progress({Stage::Colouring, 0, 0});
            break;
        }
    };
    return dupes::RunHighlightInFull(options, used.geometry(), workbook.cells(used), report);
}

} // namespace sheet
