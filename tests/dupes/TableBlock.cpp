#include "TableBlock.h"

namespace dupes_test {

void TableBlock::place(std::int32_t topRow, std::int32_t leftColumn, const Rows& rows) {
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            texts_[{topRow + static_cast<std::int32_t>(r),
                    leftColumn + static_cast<std::int32_t>(c)}] = rows[r][c];
        }
    }
}

std::string TableBlock::cellText(std::int32_t row, std::int32_t column) {
    ++singleCellReads;
    cellsRead.emplace(row, column);
    const auto found = texts_.find({row, column});
    return found == texts_.end() ? std::string() : found->second;
}

void TableBlock::readTexts(std::int32_t firstRow, std::int32_t rowCount,
                           const std::vector<std::int32_t>& columns, dupes::TextTable& out) {
    bulkReads.push_back({firstRow, rowCount, columns});
    for (std::int32_t row = firstRow; row < firstRow + rowCount; ++row) {
        for (const std::int32_t column : columns) {
            cellsRead.emplace(row, column);
            const auto found = texts_.find({row, column});
            out.append(found == texts_.end() ? std::string_view() : found->second);
        }
    }
}

void TableBlock::colourSpans(const std::vector<dupes::CellSpan>& spans, std::uint32_t colour) {
    spanRequests.push_back(spans);
    for (const dupes::CellSpan& span : spans) {
        for (std::int32_t column = span.firstColumn; column <= span.lastColumn; ++column) {
            fills[{span.row, column}] = colour;
        }
    }
}

std::vector<std::string> FillPicture(const TableBlock& sheet, const dupes::BlockGeometry& block) {
    std::vector<std::string> picture(
        static_cast<std::size_t>(block.rowCount()),
        std::string(static_cast<std::size_t>(block.columnCount()), '.'));
    for (const auto& [cell, colour] : sheet.fills) {
        if (Inside(block, cell)) {
            picture[static_cast<std::size_t>(cell.first - block.firstRow)]
                   [static_cast<std::size_t>(cell.second - block.firstColumn)] = '#';
        }
    }
    return picture;
}

bool Inside(const dupes::BlockGeometry& block, const Cell& cell) {
    return cell.first >= block.firstRow && cell.first <= block.lastRow &&
           cell.second >= block.firstColumn && cell.second <= block.lastColumn;
}

} // namespace dupes_test
