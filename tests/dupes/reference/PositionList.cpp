#include "PositionList.h"

#include "RowKey.h"
#include "dupes/ColourTable.h"

#include <charconv>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace dupes {
namespace {

std::int32_t ParseSheetNumber(std::string_view text) {
    std::int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) {
        throw std::invalid_argument("Not a sheet number in a position list: \"" +
                                    std::string(text) + "\"");
    }
    return value;
}

void ColourOneCell(std::int32_t row, std::int32_t column, HighlightColour colour,
                   BlockAccess& access) {
    access.colourSpans({CellSpan{row, column, column}}, ColourValue(colour));
}

void ColourEntry(const BlockGeometry& block, std::string_view entry, HighlightColour colour,
                 bool entireRow, BlockAccess& access) {
    const std::size_t split = entry.find(kRowColumnSeparator);
    if (split == std::string_view::npos) {
        throw std::invalid_argument("A position list entry without a column: \"" +
                                    std::string(entry) + "\"");
    }
    const std::int32_t row = ParseSheetNumber(entry.substr(0, split));
    const std::int32_t column = ParseSheetNumber(entry.substr(split + kRowColumnSeparator.size()));
    if (!entireRow) {
        ColourOneCell(row, column, colour, access);
        return;
    }
    // A row with several compared cells is painted once per cell; the result
    // is the same as once.
    for (std::int32_t blockColumn = block.firstColumn; blockColumn <= block.lastColumn;
         ++blockColumn) {
        ColourOneCell(row, blockColumn, colour, access);
    }
}

} // namespace

void ColourPositionList(const BlockGeometry& block, std::string_view positionList,
                        HighlightColour colour, bool entireRow, BlockAccess& access) {
    while (!positionList.empty()) {
        const std::size_t end = positionList.find(kFieldSeparator);
        const std::string_view entry = positionList.substr(0, end);
        if (!entry.empty()) {
            ColourEntry(block, entry, colour, entireRow, access);
        }
        if (end == std::string_view::npos) {
            break;
        }
        positionList.remove_prefix(end + kFieldSeparator.size());
    }
}

} // namespace dupes
