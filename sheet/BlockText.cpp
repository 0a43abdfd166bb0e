#include "BlockText.h"

#include "SheetError.h"

#include <algorithm>
#include <cctype>

namespace sheet {
namespace {

struct Reference {
    std::optional<std::int32_t> row;
    std::optional<std::int32_t> column;
};

bool IsLetter(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) != 0;
}
bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

[[noreturn]] void Reject(std::string_view text, const std::string& why) {
    throw SheetError("The block \"" + std::string(text) + "\" cannot be used: " + why);
}

// One side of an area: "$B$2", "B2", "$B" or "$2".
std::optional<Reference> ParseReference(std::string_view part, const SheetLimits& limits) {
    Reference ref;
    std::size_t i = 0;
    if (i < part.size() && part[i] == '$') {
        ++i;
    }
    std::int64_t column = 0;
    const std::size_t lettersBegin = i;
    while (i < part.size() && IsLetter(part[i]) && i - lettersBegin < 4) {
        column = column * 26 + (std::toupper(static_cast<unsigned char>(part[i])) - 'A' + 1);
        ++i;
    }
    if (i > lettersBegin) {
        if (column > limits.columns) {
            return std::nullopt;
        }
        ref.column = static_cast<std::int32_t>(column);
        if (i < part.size() && part[i] == '$') {
            ++i;
        }
    } else if (lettersBegin > 0 && i < part.size() && part[i] == '$') {
        return std::nullopt;
    }
    std::int64_t row = 0;
    const std::size_t digitsBegin = i;
    while (i < part.size() && IsDigit(part[i]) && i - digitsBegin < 8) {
        row = row * 10 + (part[i] - '0');
        ++i;
    }
    if (i > digitsBegin) {
        if (row < 1 || row > limits.rows) {
            return std::nullopt;
        }
        ref.row = static_cast<std::int32_t>(row);
    }
    if (i != part.size() || (!ref.row && !ref.column)) {
        return std::nullopt;
    }
    return ref;
}

std::optional<dupes::BlockGeometry> ParseArea(std::string_view area, const SheetLimits& limits) {
    const std::size_t colon = area.find(':');
    const auto first = ParseReference(area.substr(0, colon), limits);
    const auto last =
        colon == std::string_view::npos ? first : ParseReference(area.substr(colon + 1), limits);
    if (!first || !last) {
        return std::nullopt;
    }
    const bool cells = first->row && first->column && last->row && last->column;
    const bool columns = !first->row && !last->row && colon != std::string_view::npos;
    const bool rows = !first->column && !last->column && colon != std::string_view::npos;
    if (!cells && !columns && !rows) {
        return std::nullopt;
    }
    dupes::BlockGeometry g;
    g.firstRow = first->row.value_or(1);
    g.lastRow = last->row.value_or(limits.rows);
    g.firstColumn = first->column.value_or(1);
    g.lastColumn = last->column.value_or(limits.columns);
    if (g.firstRow > g.lastRow) {
        std::swap(g.firstRow, g.lastRow);
    }
    if (g.firstColumn > g.lastColumn) {
        std::swap(g.firstColumn, g.lastColumn);
    }
    return g;
}

std::string Trimmed(std::string_view text) {
    const auto begin = text.find_first_not_of(" \t");
    if (begin == std::string_view::npos) {
        return {};
    }
    return std::string(text.substr(begin, text.find_last_not_of(" \t") - begin + 1));
}

} // namespace

ParsedBlockText ParseBlockText(std::string_view text, const SheetLimits& limits) {
    ParsedBlockText parsed;
    std::string_view address = text;
    if (!text.empty() && text.front() == '\'') {
        // A quoted sheet name; a quote inside it is doubled.
        std::string name;
        std::size_t i = 1;
        for (; i < text.size(); ++i) {
            if (text[i] == '\'') {
                if (i + 1 < text.size() && text[i + 1] == '\'') {
                    name += '\'';
                    ++i;
                    continue;
                }
                break;
            }
            name += text[i];
        }
        if (i + 1 >= text.size() || text[i] != '\'' || text[i + 1] != '!') {
            Reject(text, "a quoted sheet name must be followed by \"!\" and an address.");
        }
        parsed.sheetName = name;
        address = text.substr(i + 2);
    } else if (const auto bang = text.rfind('!'); bang != std::string_view::npos) {
        // Sheet names may hold blanks and are written unquoted, so only the
        // last "!" separates the name from the address.
        parsed.sheetName = std::string(text.substr(0, bang));
        address = text.substr(bang + 1);
    }
    if (parsed.sheetName && parsed.sheetName->empty()) {
        Reject(text, "the sheet name before \"!\" is empty.");
    }
    if (Trimmed(address).empty()) {
        Reject(text, "there is no cell address. Write it like Sheet1!$A$1:$C$10.");
    }
    std::size_t start = 0;
    while (start <= address.size()) {
        const std::size_t comma = std::min(address.find(',', start), address.size());
        const std::string area = Trimmed(address.substr(start, comma - start));
        const auto geometry = ParseArea(area, limits);
        if (!geometry) {
            Reject(text, "\"" + area + "\" is not a cell address. Write it like $A$1:$C$10.");
        }
        parsed.areas.push_back(*geometry);
        start = comma + 1;
    }
    return parsed;
}

std::string ColumnLetters(std::int32_t column) {
    std::string letters;
    while (column > 0) {
        const int remainder = (column - 1) % 26;
        letters.insert(letters.begin(), static_cast<char>('A' + remainder));
        column = (column - 1) / 26;
    }
    return letters;
}

std::string FormatAddress(const std::vector<dupes::BlockGeometry>& areas,
                          const SheetLimits& limits) {
    std::string text;
    for (const auto& a : areas) {
        if (!text.empty()) {
            text += ',';
        }
        const bool allRows = a.firstRow == 1 && a.lastRow == limits.rows;
        const bool allColumns = a.firstColumn == 1 && a.lastColumn == limits.columns;
        const auto column = [](std::int32_t c) { return "$" + ColumnLetters(c); };
        const auto row = [](std::int32_t r) { return "$" + std::to_string(r); };
        if (allRows && !allColumns) {
            text += column(a.firstColumn) + ":" + column(a.lastColumn);
        } else if (allColumns) {
            text += row(a.firstRow) + ":" + row(a.lastRow);
        } else if (a.firstRow == a.lastRow && a.firstColumn == a.lastColumn) {
            text += column(a.firstColumn) + row(a.firstRow);
        } else {
            text += column(a.firstColumn) + row(a.firstRow) + ":" + column(a.lastColumn) +
                    row(a.lastRow);
        }
    }
    return text;
}

} // namespace sheet
