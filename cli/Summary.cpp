#include "Summary.h"

#include "dupes/Utf8.h"

#include <cstdint>
#include <cstdio>
#include <sstream>

namespace cli {
namespace {

std::string Seconds(double seconds) {
    std::ostringstream text;
    text.imbue(std::locale::classic()); // a decimal point, whatever the user's locale
    text.setf(std::ios::fixed);
    text.precision(2);
    text << seconds;
    return text.str();
}

} // namespace

std::string ValidUtf8(std::string_view text) {
    std::string valid;
    valid.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const dupes::Utf8Char character = dupes::DecodeUtf8(text, i);
        valid += character.valid ? text.substr(i, character.length) : "\xEF\xBF\xBD";
        i += character.length;
    }
    return valid;
}

std::string JsonString(std::string_view text) {
    std::string json = "\"";
    for (const char byte : ValidUtf8(text)) {
        const auto c = static_cast<unsigned char>(byte);
        switch (c) {
        case '"':
            json += "\\\"";
            break;
        case '\\':
            json += "\\\\";
            break;
        case '\b':
            json += "\\b";
            break;
        case '\f':
            json += "\\f";
            break;
        case '\n':
            json += "\\n";
            break;
        case '\r':
            json += "\\r";
            break;
        case '\t':
            json += "\\t";
            break;
        default:
            if (c < 0x20 || c == 0x7F) {
                char escaped[7];
                std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(c));
                json += escaped;
            } else {
                json += byte;
            }
        }
    }
    return json + "\"";
}

std::string JsonArray(const std::vector<std::string>& texts) {
    std::string json = "[";
    for (std::size_t i = 0; i < texts.size(); ++i) {
        json += (i == 0 ? "" : ",") + JsonString(texts[i]);
    }
    return json + "]";
}

std::string RunName(bool exceptFirst) {
    return exceptFirst ? "except-first" : "all";
}

std::string MatchingName(const dupes::TextMatching& matching) {
    if (matching.exact()) {
        return "exact";
    }
    return std::string(matching.ignoreCase ? "ignore-case" : "") +
           (matching.ignoreCase && matching.trimBlanks ? "+" : "") +
           (matching.trimBlanks ? "trim" : "");
}

std::string SummaryText(const Report& report) {
    const dupes::RunSummary& s = report.summary;
    const auto line = [](const std::string& label, const std::string& value) {
        return label + std::string(19 - label.size(), ' ') + value + "\n";
    };
    std::string text;
    if (!report.usedBlock.empty()) {
        text +=
            line("Block compared:", report.usedBlock + " (the used part of " + report.block + ")");
    }
    text += line("Rows examined:", std::to_string(s.rowsExamined));
    if (!report.reportOnly) {
        text += line("Rows coloured:", std::to_string(s.rowsColoured));
    }
    text += line("Duplicate groups:", std::to_string(s.duplicateGroups));
    if (!report.reportOnly) {
        text += line("Cells coloured:", std::to_string(s.cellsColoured)) +
                line("Colours used:", std::to_string(report.coloursUsed));
    }
    text += line("Matching:", MatchingName(report.matching)) +
            line("Seconds:", Seconds(report.seconds));
    if (!report.reportOnly) {
        text += line("Coloured copy:", report.output);
    }
    if (!report.groupsReport.empty()) {
        text += line("Groups report:", report.groupsReport);
    }
    return text;
}

std::string SummaryJson(const Report& report) {
    const dupes::RunSummary& s = report.summary;
    const auto boolean = [](bool value) { return value ? "true" : "false"; };
    return std::string("{") + "\"workbook\":" + JsonString(report.workbook) +
           ",\"block\":" + JsonString(report.block) +
           (report.usedBlock.empty() ? "" : ",\"usedBlock\":" + JsonString(report.usedBlock)) +
           ",\"output\":" + (report.reportOnly ? "null" : JsonString(report.output)) +
           (report.groupsReport.empty() ? ""
                                        : ",\"groupsReport\":" + JsonString(report.groupsReport)) +
           ",\"run\":" + JsonString(RunName(report.exceptFirst)) +
           ",\"colour\":" + JsonString(report.colour) +
           ",\"entireRow\":" + boolean(report.entireRow) +
           ",\"matching\":" + JsonString(MatchingName(report.matching)) +
           ",\"rowsExamined\":" + std::to_string(s.rowsExamined) +
           ",\"rowsColoured\":" + std::to_string(s.rowsColoured) +
           ",\"duplicateGroups\":" + std::to_string(s.duplicateGroups) +
           ",\"cellsColoured\":" + std::to_string(s.cellsColoured) +
           ",\"coloursUsed\":" + std::to_string(report.coloursUsed) +
           ",\"seconds\":" + Seconds(report.seconds) + "}\n";
}

} // namespace cli
