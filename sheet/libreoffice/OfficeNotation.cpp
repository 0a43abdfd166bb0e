#include "OfficeNotation.h"

#include "sheet/SheetError.h"

namespace sheet::libreoffice {
namespace {

// Splits at `separator` where it stands outside single quotes.
std::vector<std::string> SplitOutsideQuotes(std::string_view text, char separator) {
    std::vector<std::string> parts(1);
    bool quoted = false;
    for (const char c : text) {
        if (c == '\'') {
            quoted = !quoted;
        }
        if (c == separator && !quoted) {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    return parts;
}

// "$'My Data'.$A$1" -> sheet "My Data", cell "$A$1".
std::pair<std::optional<std::string>, std::string> SplitSheet(const std::string& reference) {
    const auto parts = SplitOutsideQuotes(reference, '.');
    if (parts.size() < 2) {
        return {std::nullopt, reference};
    }
    std::string name = parts.front();
    if (!name.empty() && name.front() == '$') {
        name.erase(0, 1);
    }
    if (name.size() >= 2 && name.front() == '\'' && name.back() == '\'') {
        std::string unquoted;
        for (std::size_t i = 1; i + 1 < name.size(); ++i) {
            unquoted += name[i];
            if (name[i] == '\'' && name[i + 1] == '\'') {
                ++i;
            }
        }
        name = unquoted;
    }
    std::string cell = parts[1];
    for (std::size_t i = 2; i < parts.size(); ++i) {
        cell += "." + parts[i];
    }
    return {name, cell};
}

} // namespace

ParsedBlockText ParseOfficeRange(std::string_view text, const SheetLimits& limits) {
    ParsedBlockText result;
    for (const auto& area : SplitOutsideQuotes(text, ';')) {
        const auto ends = SplitOutsideQuotes(area, ':');
        std::string plain;
        for (const auto& end : ends) {
            auto [sheet, cell] = SplitSheet(end);
            if (sheet && !result.sheetName) {
                result.sheetName = sheet;
            } else if (sheet && *sheet != *result.sheetName) {
                throw SheetError("The block \"" + std::string(text) +
                                 "\" spans several sheets; mark a block on one sheet.");
            }
            plain += (plain.empty() ? "" : ":") + cell;
        }
        const auto parsed = ParseBlockText(plain, limits);
        result.areas.insert(result.areas.end(), parsed.areas.begin(), parsed.areas.end());
    }
    return result;
}

std::string OfficeRangeText(const std::string& sheetName, const dupes::BlockGeometry& area) {
    std::string quoted = "'";
    for (const char c : sheetName) {
        quoted += c;
        if (c == '\'') {
            quoted += '\'';
        }
    }
    quoted += "'";
    return "$" + quoted + "." + FormatAddress({area}, SheetLimits{0, 0});
}

} // namespace sheet::libreoffice
