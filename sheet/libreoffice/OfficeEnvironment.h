#pragma once

#include <string>
#include <vector>

namespace sheet::libreoffice {

// The environment an office we start gets: ours (`variables`, NAME=value
// each), with its temporary folder moved into its profile, so its own
// temporary files go when the profile goes. An office that shows windows
// is given the office's own X11 toolkit unless the user chose one: only
// there do the office's key handlers see the keys of its range box, which
// tell an Escape from an Enter; other toolkits handle them natively.
std::vector<std::string> OfficeEnvironment(const std::vector<std::string>& variables,
                                           const std::string& profile, bool headless);

} // namespace sheet::libreoffice
