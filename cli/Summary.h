#pragma once

#include "dupes/HighlightRun.h"

#include <string>
#include <string_view>
#include <vector>

namespace cli {

// What a finished highlight run reports.
struct Report {
    std::string workbook;
    std::string block; // as the workbook names it: "Data!$B$2:$E$40"
    // The part of a whole-column or whole-row block that holds content,
    // when that is what was compared; empty otherwise.
    std::string usedBlock;
    std::string output;
    bool exceptFirst = false;
    std::string colour;
    bool entireRow = false;
    dupes::RunSummary summary;
    double seconds = 0;
};

// A few aligned lines for people.
std::string SummaryText(const Report& report);

// The same as one JSON object on one line, for scripts.
std::string SummaryJson(const Report& report);

// The column list as a JSON array of strings.
std::string JsonArray(const std::vector<std::string>& texts);

// `text` as a JSON string, quotes included. Bytes that are not UTF-8 (a file
// name may hold any) become U+FFFD, so the result is always valid JSON.
std::string JsonString(std::string_view text);

} // namespace cli
