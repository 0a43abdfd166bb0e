// The command line and environment of an office we start.
#include "OfficeCommand.h"

#include "Strings.h"

#include <algorithm>
#include <locale.h>
#include <optional>

namespace sheet::libreoffice {
namespace {

bool Names(const std::string& variable, std::string_view name) {
    return variable.size() > name.size() && variable.compare(0, name.size(), name) == 0 &&
           variable[name.size()] == '=';
}

bool Has(const std::vector<std::string>& variables, std::string_view name) {
    return std::ranges::any_of(variables,
                               [&](const std::string& variable) { return Names(variable, name); });
}

std::optional<std::string> ValueOf(const std::vector<std::string>& variables,
                                   std::string_view name) {
    for (const std::string& variable : variables) {
        if (Names(variable, name) && variable.size() > name.size() + 1) {
            return variable.substr(name.size() + 1);
        }
    }
    return std::nullopt;
}

// "de_DE.UTF-8", "C.utf8", "sr_RS.utf8@latin": the codeset between the dot
// and any modifier, in any of its spellings.
bool IsUtf8(const std::string& locale) {
    const auto dot = locale.find('.');
    if (dot == std::string::npos) {
        return false;
    }
    std::string codeset = AsciiLower(locale.substr(dot + 1, locale.find('@', dot) - dot - 1));
    std::erase(codeset, '-');
    return codeset == "utf8";
}

// The same language in UTF-8 where that locale is installed; C.UTF-8,
// which every current C library has, where not.
std::string Utf8LocaleFor(const std::string& locale) {
    const std::string language = locale.substr(0, locale.find_first_of(".@"));
    if (!language.empty() && language != "C" && language != "POSIX") {
        const std::string candidate = language + ".UTF-8";
        if (const locale_t installed = ::newlocale(LC_CTYPE_MASK, candidate.c_str(), locale_t{})) {
            ::freelocale(installed);
            return candidate;
        }
    }
    return "C.UTF-8";
}

} // namespace

std::vector<std::string> OfficeArguments(const std::string& binary, const std::string& profile) {
    return {
        binary,          "-env:UserInstallation=" + FileUrl(profile),
        "--invisible",   "--norestore",
        "--nologo",      "--nodefault",
        "--nolockcheck", "--nofirststartwizard",
    };
}

std::vector<std::string> OfficeEnvironment(const std::vector<std::string>& variables,
                                           const std::string& profile, bool headless) {
    // The C library takes the character set from the first of these set.
    std::string_view decides = "LC_CTYPE";
    std::string locale = "C";
    for (const std::string_view name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        if (const auto value = ValueOf(variables, name)) {
            decides = name == "LANG" ? "LC_CTYPE" : name;
            locale = *value;
            break;
        }
    }
    const bool utf8 = IsUtf8(locale);
    std::vector<std::string> result;
    for (const std::string& variable : variables) {
        if (!Names(variable, "TMPDIR") && !Names(variable, "TMP") && !Names(variable, "TEMP") &&
            (utf8 || !Names(variable, decides))) {
            result.push_back(variable);
        }
    }
    if (!utf8) {
        result.push_back(std::string(decides) + "=" + Utf8LocaleFor(locale));
    }
    const std::string temp = profile + "/tmp";
    for (const char* name : {"TMPDIR=", "TMP=", "TEMP="}) {
        result.push_back(name + temp);
    }
    // The X11 toolkit needs an X display; on Wayland alone the office picks its own.
    if (!headless && Has(variables, "DISPLAY") && !Has(variables, "SAL_USE_VCLPLUGIN")) {
        result.emplace_back("SAL_USE_VCLPLUGIN=gen");
    }
    return result;
}

std::string FileUrl(const std::string& absolutePath) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (const char c : absolutePath) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                           (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' ||
                           byte == '_' || byte == '~' || byte == '/';
        if (plain) {
            url += c;
        } else {
            url += '%';
            url += kHex[byte >> 4];
            url += kHex[byte & 0xF];
        }
    }
    return url;
}

} // namespace sheet::libreoffice
