#include "NumberText.h"

#include <chrono>
#include <cmath>
#include <cstdio>

namespace sheet {

std::string NumberAsText(double value) {
    if (value == 0.0) {
        return "0"; // also -0
    }
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    std::string text = buffer;
    // %G already drops trailing zeros; the exponent keeps at least two
    // digits in C ("1E+20", "1E-07"), which is how spreadsheets write it too.
    const auto e = text.find('E');
    if (e != std::string::npos) {
        const std::string mantissa = text.substr(0, e);
        char sign = text[e + 1];
        std::string digits = text.substr(e + 2);
        while (digits.size() > 2 && digits.front() == '0') { // never more than 3 digits
            digits.erase(0, 1);
        }
        text = mantissa + "E" + sign + digits;
    }
    return text;
}

std::string SerialAsText(double serial, const SerialDate& epoch, bool withDate, bool withTime) {
    using namespace std::chrono;
    // Round to whole seconds first so 23:59:59.9997 does not show as 24:00.
    const auto totalSeconds = static_cast<long long>(std::llround(serial * 86400.0));
    long long days = totalSeconds / 86400;
    long long seconds = totalSeconds % 86400;
    if (seconds < 0) {
        seconds += 86400;
        --days;
    }
    const sys_days nullDay =
        year_month_day{year{epoch.nullYear}, month{static_cast<unsigned>(epoch.nullMonth)},
                       day{static_cast<unsigned>(epoch.nullDay)}};
    const year_month_day date{nullDay + std::chrono::days{days}};
    char buffer[64];
    std::string text;
    if (withDate) {
        std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02u", static_cast<int>(date.year()),
                      static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
        text = buffer;
    }
    if (withTime) {
        std::snprintf(buffer, sizeof buffer, "%02lld:%02lld:%02lld", seconds / 3600,
                      (seconds / 60) % 60, seconds % 60);
        text += (text.empty() ? "" : " ") + std::string(buffer);
    }
    return text;
}

} // namespace sheet
