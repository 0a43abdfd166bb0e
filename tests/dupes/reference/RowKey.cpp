#include "RowKey.h"

namespace dupes {

RowKeyAndPositions BuildRowKey(const BlockGeometry& block, std::int32_t row,
                               const std::vector<bool>& selectedColumns, BlockAccess& access,
                               const TextMatching& matching) {
    RowKeyAndPositions result;
    const std::string rowText = std::to_string(row);
    for (std::int32_t offset = 0; offset < block.columnCount(); ++offset) {
        if (!selectedColumns[static_cast<std::size_t>(offset)]) {
            continue;
        }
        const std::int32_t column = block.firstColumn + offset;
        std::string text;
        AppendComparable(access.cellText(row, column), matching, text);

        result.rowKey += std::to_string(text.size());
        result.rowKey += ':';
        result.rowKey += text;

        result.positionList += rowText;
        result.positionList += kRowColumnSeparator;
        result.positionList += std::to_string(column);
        result.positionList += kFieldSeparator;
    }
    return result;
}

} // namespace dupes
