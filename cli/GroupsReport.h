#pragma once

#include "dupes/HighlightRun.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

// --groups FILE: which rows repeat which, one record per group.
enum class ReportFormat { Csv, Json };

// The format the file's extension names (.csv or .json, in any letter case);
// none for any other.
std::optional<ReportFormat> ReportFormatOf(const std::string& path);

struct GroupsReport {
    std::string workbook;
    std::string block;
    bool exceptFirst = false;
    dupes::TextMatching matching;
    std::vector<std::string> columns; // the compared columns, as the column list names them
    std::vector<dupes::RowGroup> groups;
};

// For a spreadsheet: UTF-8 with a byte order mark (so Excel reads it as
// UTF-8), lines ending in CR LF, a header row, then per group its number,
// its row count, its sheet rows separated by blanks, for a run sparing first
// occurrences the first occurrence again (left uncoloured), and the texts of
// its first row, one column per compared column.
std::string GroupsCsv(const GroupsReport& report);

// One JSON object: the run, then "groups", one group a line.
std::string GroupsJson(const GroupsReport& report);

// One CSV field. Quoted where a comma, a quote, a line break or a blank at
// either end would otherwise be lost; a text a spreadsheet would take for a
// formula (starting with =, +, -, @, a tab or a carriage return, and not a
// plain number such as -5) gets a leading apostrophe, so that opening the
// report never runs what a cell held.
std::string CsvField(std::string_view text);

} // namespace cli
