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

std::string SpanAddress(const dupes::CellSpan& span) {
    const std::string row = std::to_string(span.row);
    std::string address = ColumnLetters(span.firstColumn) + row;
    if (span.lastColumn != span.firstColumn) {
        address += ":" + ColumnLetters(span.lastColumn) + row;
    }
    return address;
}

std::vector<std::string> UnionAddresses(const std::vector<dupes::CellSpan>& spans,
                                        std::size_t maxLength) {
    std::vector<std::string> groups;
    std::string group;
    for (const auto& span : spans) {
        const std::string address = SpanAddress(span);
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
