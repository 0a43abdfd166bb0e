#pragma once

#include "dupes/BlockAccess.h"

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace dupes_test {

using Cell = std::pair<std::int32_t, std::int32_t>; // sheet row, sheet column
using Rows = std::vector<std::vector<std::string>>;

// A worksheet of texts held in memory, for testing the runs without a
// spreadsheet. Cells never set read as empty. Records every cell read and the
// last fill of every cell, whichever way it was asked for.
class TableBlock : public dupes::BlockAccess {
public:
    // Puts `rows` on the sheet with their first text at (topRow, leftColumn).
    void place(std::int32_t topRow, std::int32_t leftColumn, const Rows& rows);

    std::string cellText(std::int32_t row, std::int32_t column) override;
    void readTexts(std::int32_t firstRow, std::int32_t rowCount,
                   const std::vector<std::int32_t>& columns, dupes::TextTable& out) override;
    void colourSpans(const std::vector<dupes::CellSpan>& spans, std::uint32_t colour) override;

    struct BulkRead {
        std::int32_t firstRow;
        std::int32_t rowCount;
        std::vector<std::int32_t> columns;
        friend bool operator==(const BulkRead&, const BulkRead&) = default;
    };

    std::map<Cell, std::uint32_t> fills;
    std::set<Cell> cellsRead;
    std::int64_t singleCellReads = 0;
    std::vector<BulkRead> bulkReads;
    std::vector<std::vector<dupes::CellSpan>> spanRequests;

private:
    std::map<Cell, std::string> texts_;
};

// The block's cells as text, one string a row: '#' for a filled cell.
std::vector<std::string> FillPicture(const TableBlock& sheet, const dupes::BlockGeometry& block);

bool Inside(const dupes::BlockGeometry& block, const Cell& cell);

} // namespace dupes_test
