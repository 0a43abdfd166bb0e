#pragma once

#include "dupes/HighlightRun.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

// What a finished highlight run reports.
struct Report {
    // Under --report-only nothing is coloured or saved, and `output` is empty.
    bool reportOnly = false;
    std::string workbook;
    std::string block; // as the workbook names it: "Data!$B$2:$E$40"
    // The part of a whole-column or whole-row block that holds content,
    // when that is what was compared; empty otherwise.
    std::string usedBlock;
    std::string output;
    std::string groupsReport; // where --groups wrote, or empty
    bool exceptFirst = false;
    std::string colour; // a colour of the list, or "per-group"
    bool entireRow = false;
    dupes::TextMatching matching;
    dupes::RunSummary summary;
    std::int64_t coloursUsed = 0;
    double seconds = 0;
};

// "all" or "except-first", as JSON output names the run.
std::string RunName(bool exceptFirst);

// The matching as the JSON output names it: "exact", "ignore-case", "trim"
// or "ignore-case+trim", after the options that ask for it.
std::string MatchingName(const dupes::TextMatching& matching);

// A few aligned lines for people.
std::string SummaryText(const Report& report);

// The same as one JSON object on one line, for scripts.
std::string SummaryJson(const Report& report);

// The column list as a JSON array of strings.
std::string JsonArray(const std::vector<std::string>& texts);

// `text` with every byte that is not part of UTF-8 (a file name may hold
// any) replaced by U+FFFD.
std::string ValidUtf8(std::string_view text);

// `text` as a JSON string, quotes included: ValidUtf8, escaped, so the
// result is always valid JSON.
std::string JsonString(std::string_view text);

} // namespace cli
