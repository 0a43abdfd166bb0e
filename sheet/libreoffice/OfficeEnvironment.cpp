#include "OfficeEnvironment.h"

#include <algorithm>

namespace sheet::libreoffice {
namespace {

bool Names(const std::string& variable, const std::string& name) {
    return variable.size() > name.size() && variable.compare(0, name.size(), name) == 0 &&
           variable[name.size()] == '=';
}

bool Has(const std::vector<std::string>& variables, const std::string& name) {
    return std::ranges::any_of(variables,
                               [&](const std::string& variable) { return Names(variable, name); });
}

} // namespace

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

} // namespace sheet::libreoffice
