#include "ExcelAddress.h"

#include <stdexcept>

namespace sheet::excel {

std::string QuotedSheetName(std::string_view name) {
    std::string quoted = "'";
    for (const char c : name) {
        quoted += c;
        if (c == '\'') {
            quoted += '\'';
        }
    }
    return quoted + "'";
}

std::string ExcelReference(const ParsedBlockText& block) {
    // The limits the text was parsed with decide how whole columns and rows
    // are written back; Excel reads "$A:$C" on sheets of any size.
    const SheetLimits limits;
    std::string reference;
    for (const auto& area : block.areas) {
        if (!reference.empty()) {
            reference += ',';
        }
        if (block.sheetName) {
            reference += QuotedSheetName(*block.sheetName) + "!";
        }
        reference += FormatAddress({area}, limits);
    }
    return reference;
}

std::string AreaAddress(const dupes::BlockGeometry& area) {
    std::string address = ColumnLetters(area.firstColumn) + std::to_string(area.firstRow);
    if (area.lastColumn != area.firstColumn || area.lastRow != area.firstRow) {
        address += ":" + ColumnLetters(area.lastColumn) + std::to_string(area.lastRow);
    }
    return address;
}

std::vector<dupes::BlockGeometry> AreasOf(const std::vector<dupes::CellSpan>& spans) {
    std::vector<dupes::BlockGeometry> areas;
    for (const auto& span : spans) {
        if (!areas.empty() && areas.back().lastRow + 1 == span.row &&
            areas.back().firstColumn == span.firstColumn && areas.back().lastColumn == span.lastColumn) {
            areas.back().lastRow = span.row;
        } else {
            areas.push_back({span.row, span.firstColumn, span.row, span.lastColumn});
        }
    }
    return areas;
}

std::vector<std::string> UnionAddresses(const std::vector<dupes::CellSpan>& spans,
                                        std::size_t maxLength) {
    std::vector<std::string> groups;
    std::string group;
    for (const auto& area : AreasOf(spans)) {
        const std::string address = AreaAddress(area);
        if (address.size() > maxLength) {
            throw std::invalid_argument("the cell address " + address + " is longer than " +
                                        std::to_string(maxLength) + " characters");
        }
        if (group.empty()) {
            group = address;
        } else if (group.size() + 1 + address.size() <= maxLength) {
            group += ',';
            group += address;
        } else {
            groups.push_back(std::move(group));
            group = address;
        }
    }
    if (!group.empty()) {
        groups.push_back(std::move(group));
    }
    return groups;
}

} // namespace sheet::excel
