#include "Summary.h"

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

// Length of the UTF-8 sequence starting at text[at], or 0 when it is not one.
std::size_t Utf8Length(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    std::size_t length = 0;
    std::uint32_t lowest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        lowest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        lowest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        lowest = 0x10000;
    } else {
        return 0;
    }
    if (at + length > text.size()) {
        return 0;
    }
    std::uint32_t code = lead & (0x7Fu >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            return 0;
        }
        code = (code << 6) | (byte(at + i) & 0x3Fu);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code < lowest || code > 0x10FFFF || surrogate ? 0 : length;
}

} // namespace

std::string JsonString(std::string_view text) {
    std::string json = "\"";
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            const std::size_t length = Utf8Length(text, i);
            json += length == 0 ? "\xEF\xBF\xBD" : std::string(text.substr(i, length));
            i += length == 0 ? 1 : length;
            continue;
        }
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
                json += static_cast<char>(c);
            }
        }
        ++i;
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

std::string SummaryText(const Report& report) {
    const dupes::RunSummary& s = report.summary;
    const std::string cut = report.usedBlock.empty()
                                ? std::string()
                                : "Block compared:    " + report.usedBlock + " (the used part of " +
                                      report.block + ")\n";
    return cut + "Rows examined:     " + std::to_string(s.rowsExamined) + "\n" +
           "Rows coloured:     " + std::to_string(s.rowsColoured) + "\n" +
           "Duplicate groups:  " + std::to_string(s.duplicateGroups) + "\n" +
           "Cells coloured:    " + std::to_string(s.cellsColoured) + "\n" +
           "Seconds:           " + Seconds(report.seconds) + "\n" +
           "Coloured copy:     " + report.output + "\n";
}

std::string SummaryJson(const Report& report) {
    const dupes::RunSummary& s = report.summary;
    const auto boolean = [](bool value) { return value ? "true" : "false"; };
    return std::string("{") + "\"workbook\":" + JsonString(report.workbook) +
           ",\"block\":" + JsonString(report.block) +
           (report.usedBlock.empty() ? "" : ",\"usedBlock\":" + JsonString(report.usedBlock)) +
           ",\"output\":" + JsonString(report.output) +
           ",\"run\":" + JsonString(report.exceptFirst ? "except-first" : "all") +
           ",\"colour\":" + JsonString(report.colour) +
           ",\"entireRow\":" + boolean(report.entireRow) +
           ",\"rowsExamined\":" + std::to_string(s.rowsExamined) +
           ",\"rowsColoured\":" + std::to_string(s.rowsColoured) +
           ",\"duplicateGroups\":" + std::to_string(s.duplicateGroups) +
           ",\"cellsColoured\":" + std::to_string(s.cellsColoured) +
           ",\"seconds\":" + Seconds(report.seconds) + "}\n";
}

} // namespace cli
