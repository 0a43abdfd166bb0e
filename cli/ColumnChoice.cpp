#include "ColumnChoice.h"

#include "Arguments.h"

#include <algorithm>
#include <cstddef>
#include <limits>
#include <stdexcept>

namespace cli {
namespace {

struct RawItem {
    std::string text;
    bool escaped = false; // held an escape, so it was meant as a name
};

std::vector<RawItem> SplitAtCommas(std::string_view text) {
    std::vector<RawItem> items(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\' && i + 1 < text.size() && (text[i + 1] == ',' || text[i + 1] == '\\')) {
            items.back().text += text[++i];
            items.back().escaped = true;
        } else if (c == ',') {
            items.emplace_back();
        } else {
            items.back().text += c;
        }
    }
    return items;
}

std::string_view WithoutBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool AllDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::int32_t ColumnNumber(std::string_view digits) {
    std::int64_t value = 0;
    for (const char c : digits) {
        value = value * 10 + (c - '0');
        if (value > std::numeric_limits<std::int32_t>::max()) {
            throw UsageError("--columns: " + std::string(digits) +
                             " is too large to be a column number");
        }
    }
    if (value == 0) {
        throw UsageError("--columns: column numbers count from 1, so 0 names no column");
    }
    return static_cast<std::int32_t>(value);
}

// The list for a message, cut short: a whole-row block has thousands.
std::string Listed(const std::vector<std::string>& columnList) {
    constexpr std::size_t kShown = 12;
    std::string text;
    for (std::size_t i = 0; i < columnList.size() && i < kShown; ++i) {
        text += (i == 0 ? "" : ", ") + columnList[i];
    }
    if (columnList.size() > kShown) {
        text += ", ... (" + std::to_string(columnList.size()) + " in all)";
    }
    return text;
}

} // namespace

ColumnChoice ParseColumnChoice(std::string_view text) {
    if (WithoutBlanks(text).empty()) {
        throw UsageError("--columns needs at least one column: numbers, names or all");
    }
    ColumnChoice choice;
    if (text == "all") {
        choice.all = true;
        return choice;
    }
    for (const RawItem& raw : SplitAtCommas(text)) {
        if (raw.text.empty()) {
            throw UsageError("--columns \"" + std::string(text) +
                             "\" has an empty item; separate columns by single commas");
        }
        const std::string_view trimmed = WithoutBlanks(raw.text);
        if (!raw.escaped && AllDigits(trimmed)) {
            choice.items.push_back(ColumnItem{ColumnNumber(trimmed), {}});
        } else {
            choice.items.push_back(ColumnItem{0, raw.text});
        }
    }
    return choice;
}

std::vector<bool> SelectColumns(const ColumnChoice& choice,
                                const std::vector<std::string>& columnList,
                                const std::string& blockName) {
    std::vector<bool> selected(columnList.size(), choice.all);
    for (const ColumnItem& item : choice.items) {
        if (item.number > 0) {
            if (static_cast<std::size_t>(item.number) > columnList.size()) {
                throw std::runtime_error(
                    "the block " + blockName + " has " + std::to_string(columnList.size()) +
                    " columns, so it has no column " + std::to_string(item.number));
            }
            selected[static_cast<std::size_t>(item.number - 1)] = true;
            continue;
        }
        const auto found = std::find(columnList.begin(), columnList.end(), item.name);
        if (found == columnList.end()) {
            throw std::runtime_error("the block " + blockName + " has no column named \"" +
                                     item.name + "\"; its columns are: " + Listed(columnList));
        }
        const auto index = static_cast<std::size_t>(found - columnList.begin());
        if (const auto again = std::find(found + 1, columnList.end(), item.name);
            again != columnList.end()) {
            throw std::runtime_error(
                "the name \"" + item.name + "\" stands for columns " + std::to_string(index + 1) +
                " and " + std::to_string(again - columnList.begin() + 1) + " of the block " +
                blockName + "; give the number of the one you mean");
        }
        selected[index] = true;
    }
    return selected;
}

} // namespace cli
