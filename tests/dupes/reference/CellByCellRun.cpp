#include "CellByCellRun.h"

#include "KeyMap.h"
#include "PositionList.h"
#include "RowKey.h"
#include "dupes/RunInputs.h"

#include <set>
#include <unordered_set>
#include <utility>

namespace dupes {
namespace {

// Passes every request on and remembers which cells received a fill, so the
// summary counts distinct cells however often a cell was painted.
class FillRecorder : public BlockAccess {
public:
    explicit FillRecorder(BlockAccess& inner) : inner_(inner) {}

    std::string cellText(std::int32_t row, std::int32_t column) override {
        return inner_.cellText(row, column);
    }
    void readTexts(std::int32_t firstRow, std::int32_t rowCount,
                   const std::vector<std::int32_t>& columns, TextTable& out) override {
        inner_.readTexts(firstRow, rowCount, columns, out);
    }
    void colourSpans(const std::vector<CellSpan>& spans, std::uint32_t colour) override {
        inner_.colourSpans(spans, colour);
        for (const CellSpan& span : spans) {
            for (std::int32_t column = span.firstColumn; column <= span.lastColumn; ++column) {
                cells_.emplace(span.row, column);
            }
            rows_.insert(span.row);
        }
    }

    std::int64_t cellsFilled() const { return static_cast<std::int64_t>(cells_.size()); }
    std::int64_t rowsFilled() const { return static_cast<std::int64_t>(rows_.size()); }

private:
    BlockAccess& inner_;
    std::set<std::pair<std::int32_t, std::int32_t>> cells_;
    std::set<std::int32_t> rows_;
};

} // namespace

RunSummary RunHighlightCellByCell(const HighlightOptions& options, const BlockGeometry& block,
                                  BlockAccess& access) {
    CheckRunInputs(options, block);
    FillRecorder recorder(access);
    KeyMap keyMap;
    std::unordered_set<std::string> repeatedKeys;

    const std::int32_t lastOffset = block.lastRow - block.firstRow;
    for (std::int32_t offset = FirstExaminedOffset(options.kind); offset <= lastOffset; ++offset) {
        RowKeyAndPositions row = BuildRowKey(block, block.firstRow + offset,
                                             options.selectedColumns, recorder, options.matching);
        if (!keyMap.contains(row.rowKey)) {
            keyMap.add(std::move(row.rowKey), std::move(row.positionList));
            continue;
        }
        ColourPositionList(block, row.positionList, options.colour, options.entireRow, recorder);
        if (options.kind == RunKind::AllDuplicates) {
            // The first occurrence is painted again at every later one; only
            // the first time changes anything.
            ColourPositionList(block, keyMap.positionListOf(row.rowKey), options.colour,
                               options.entireRow, recorder);
        }
        repeatedKeys.insert(std::move(row.rowKey));
    }

    return RunSummary{
        .rowsExamined = RowsExamined(options.kind, block),
        .rowsColoured = recorder.rowsFilled(),
        .duplicateGroups = static_cast<std::int64_t>(repeatedKeys.size()),
        .cellsColoured = recorder.cellsFilled(),
    };
}

} // namespace dupes
