// The highlight run walked literally: one request per cell read and per cell
// coloured, keys kept whole in a KeyMap. Slow on a real spreadsheet, but
// plain enough to serve as the reference the bulk run is checked against.
#include "HighlightRun.h"

#include "KeyMap.h"
#include "PositionList.h"
#include "RowKey.h"
#include "RunInputs.h"

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
    void colourCell(std::int32_t row, std::int32_t column, std::uint32_t colour) override {
        inner_.colourCell(row, column, colour);
        cells_.emplace(row, column);
        rows_.insert(row);
    }
    void readTexts(std::int32_t firstRow, std::int32_t rowCount,
                   const std::vector<std::int32_t>& columns, TextTable& out) override {
        inner_.readTexts(firstRow, rowCount, columns, out);
    }
    // The walk colours cell by cell only; a bulk fill is passed on as it is.
    void colourSpans(const std::vector<CellSpan>& spans, std::uint32_t colour) override {
        inner_.colourSpans(spans, colour);
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
        RowKeyAndPositions row =
            BuildRowKey(block, block.firstRow + offset, options.selectedColumns, recorder);
        if (!keyMap.contains(row.rowKey)) {
            keyMap.add(std::move(row.rowKey), std::move(row.positionList));
            continue;
        }
        ColourPositionList(block, row.positionList, options.colourName, options.entireRow,
                           recorder);
        if (options.kind == RunKind::AllDuplicates) {
            // The first occurrence is painted again at every later one; only
            // the first time changes anything.
            ColourPositionList(block, keyMap.positionListOf(row.rowKey), options.colourName,
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
