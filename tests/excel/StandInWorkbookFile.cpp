#include "StandInWorkbookFile.h"

#include "sheet/Utf8Path.h"

#include <fstream>
#include <stdexcept>
#include <vector>

namespace fake {
namespace {

std::vector<std::string> Split(const std::string& line) {
    std::vector<std::string> cells(1);
    for (const char c : line) {
        if (c == '\t') {
            cells.emplace_back();
        } else {
            cells.back() += c;
        }
    }
    return cells;
}

} // namespace

StandInWorkbook ReadStandInWorkbook(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    StandInWorkbook read;
    memory_sheet::Rows rows;
    const auto placeRows = [&] {
        if (!read.book.sheets.empty()) {
            read.book.sheets.back().place(1, 1, rows);
        }
        rows.clear();
    };
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const std::vector<std::string> cells = Split(line);
        const std::string& key = cells[0];
        const std::string value = cells.size() > 1 ? cells[1] : "";
        if (key == "#sheet") {
            placeRows();
            read.book.sheets.push_back({value, {}});
        } else if (!read.book.sheets.empty()) {
            rows.push_back(cells);
        } else if (key == "#record") {
            read.script.record = sheet::PathOf(value);
        } else if (key == "#inputbox") {
            read.script.inputBoxAnswer =
                value == "cancel" ? std::nullopt : std::optional<std::string>(value);
        } else if (key == "#busy") {
            read.script.busy = std::chrono::milliseconds(std::stoi(value));
        } else if (key == "#crash") {
            read.script.crashWhenColouring = value == "colour";
        }
    }
    placeRows();
    if (read.book.sheets.empty()) {
        throw std::runtime_error("The stand-in for Excel cannot open \"" +
                                 file.filename().string() + "\": it holds no #sheet.");
    }
    return read;
}

} // namespace fake
