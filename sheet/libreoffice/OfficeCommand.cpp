// The command line and environment of an office we start.
#include "OfficeCommand.h"

#include <algorithm>

extern char** environ;

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

// A file URL for any path a user may have: every byte outside the
// unreserved set is percent-encoded, '%', '#', blanks, '$' (which the
// office would expand as a macro) and non-ASCII bytes included.
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
    std::vector<std::string> result;
    for (const std::string& variable : variables) {
        if (!Names(variable, "TMPDIR") && !Names(variable, "TMP") && !Names(variable, "TEMP")) {
            result.push_back(variable);
        }
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

std::vector<std::string> OurEnvironment() {
    std::vector<std::string> variables;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        variables.emplace_back(*variable);
    }
    return variables;
}

} // namespace sheet::libreoffice
