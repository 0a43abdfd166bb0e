#include "GroupsReport.h"

#include "Summary.h"

#include "sheet/Utf8Path.h"

#include <algorithm>
#include <cctype>

namespace cli {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A sign, then digits with separators and a decimal mark, maybe a percent
// sign: what a spreadsheet reads as a number, never as a formula.
bool IsPlainNumber(std::string_view text) {
    std::size_t at = text.empty() || (text[0] != '+' && text[0] != '-') ? 0 : 1;
    if (at == text.size() || !IsDigit(text[at])) {
        return false;
    }
    if (text.back() == '%') {
        text.remove_suffix(1);
    }
    return std::all_of(text.begin() + static_cast<std::ptrdiff_t>(at), text.end(),
                       [](char c) { return IsDigit(c) || c == '.' || c == ','; });
}

bool LooksLikeFormula(std::string_view text) {
    return !text.empty() && std::string_view("=+-@\t\r").find(text[0]) != std::string_view::npos &&
           !IsPlainNumber(text);
}

std::string Joined(const std::vector<std::int32_t>& rows, const std::string& separator) {
    std::string joined;
    for (const std::int32_t row : rows) {
        joined += (joined.empty() ? "" : separator) + std::to_string(row);
    }
    return joined;
}

std::string CsvLine(const std::vector<std::string>& fields) {
    std::string line;
    for (const std::string& field : fields) {
        line += (line.empty() ? "" : ",") + CsvField(field);
    }
    return line + "\r\n";
}

} // namespace

std::optional<ReportFormat> ReportFormatOf(const std::string& path) {
    const std::string extension = sheet::LowerCaseExtension(path);
    if (extension == ".csv") {
        return ReportFormat::Csv;
    }
    if (extension == ".json") {
        return ReportFormat::Json;
    }
    return std::nullopt;
}

std::string CsvField(std::string_view text) {
    std::string field = ValidUtf8(text);
    bool quoted = field.find_first_of(",\"\r\n") != std::string::npos ||
                  (!field.empty() && (std::isblank(static_cast<unsigned char>(field.front())) ||
                                      std::isblank(static_cast<unsigned char>(field.back()))));
    if (LooksLikeFormula(field)) {
        field.insert(0, "'");
        quoted = true;
    }
    if (!quoted) {
        return field;
    }
    std::string escaped = "\"";
    for (const char c : field) {
        escaped += c == '"' ? "\"\"" : std::string(1, c);
    }
    return escaped + "\"";
}

std::string GroupsCsv(const GroupsReport& report) {
    std::vector<std::string> header{"Group", "Rows", "Sheet rows"};
    if (report.exceptFirst) {
        header.emplace_back("First occurrence");
    }
    header.insert(header.end(), report.columns.begin(), report.columns.end());
    std::string csv = "\xEF\xBB\xBF" + CsvLine(header);
    for (std::size_t g = 0; g < report.groups.size(); ++g) {
        const dupes::RowGroup& group = report.groups[g];
        std::vector<std::string> fields{std::to_string(g + 1), std::to_string(group.rows.size()),
                                        Joined(group.rows, " ")};
        if (report.exceptFirst) {
            fields.push_back(std::to_string(group.rows.front()));
        }
        fields.insert(fields.end(), group.firstRowTexts.begin(), group.firstRowTexts.end());
        csv += CsvLine(fields);
    }
    return csv;
}

std::string GroupsJson(const GroupsReport& report) {
    std::string json = "{\"workbook\":" + JsonString(report.workbook) +
                       ",\"block\":" + JsonString(report.block) +
                       ",\"run\":" + JsonString(RunName(report.exceptFirst)) +
                       ",\"matching\":" + JsonString(MatchingName(report.matching)) +
                       ",\"columns\":" + JsonArray(report.columns) + ",\"groups\":[";
    for (std::size_t g = 0; g < report.groups.size(); ++g) {
        const dupes::RowGroup& group = report.groups[g];
        json += std::string(g == 0 ? "\n" : ",\n") + "{\"group\":" + std::to_string(g + 1) +
                ",\"rows\":" + std::to_string(group.rows.size()) + ",\"sheetRows\":[" +
                Joined(group.rows, ",") + "]" +
                (report.exceptFirst ? ",\"firstOccurrence\":" + std::to_string(group.rows.front())
                                    : "") +
                ",\"texts\":" + JsonArray(group.firstRowTexts) + "}";
    }
    return json + "\n]}\n";
}

} // namespace cli
