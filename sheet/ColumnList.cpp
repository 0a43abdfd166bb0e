#include "ColumnList.h"

namespace sheet {

std::string BlankColumnName(std::int32_t column) {
    return "<Blank Column " + std::to_string(column) + ">";
}

std::vector<std::string> ColumnList(Workbook& workbook, const Block& block) {
    RequireOneArea(block);
    std::vector<std::string> list;
    const std::int32_t columns = block.geometry().columnCount();
    list.reserve(static_cast<std::size_t>(columns));
    for (std::int32_t i = 1; i <= columns; ++i) {
        std::string value = workbook.headerValue(block, i);
        list.push_back(value.empty() ? BlankColumnName(i) : std::move(value));
    }
    return list;
}

} // namespace sheet
