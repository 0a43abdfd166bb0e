// How an office we start is called: its command line and its environment.
#pragma once

#include <string>
#include <vector>

namespace sheet::libreoffice {

// The office program `binary` on the private profile folder `profile`:
// no window of its own, no recovery, no first-start questions.
std::vector<std::string> OfficeArguments(const std::string& binary, const std::string& profile);

// The environment an office we start gets: ours (`variables`, NAME=value
// each), with its temporary folder moved into its profile, so its own
// temporary files go when the profile goes. An office that shows windows
// is given the office's own X11 toolkit unless the user chose one: only
// there do the office's key handlers see the keys of its range box, which
// tell an Escape from an Enter; other toolkits handle them natively.
//
// The office reads and writes file names in the encoding of its locale, so
// under a locale that is not UTF-8 (none set, or C, as under cron) it can
// use no name beyond ASCII. It is then given the same language in UTF-8
// where that is installed, or C.UTF-8.
std::vector<std::string> OfficeEnvironment(const std::vector<std::string>& variables,
                                           const std::string& profile, bool headless);

// A file URL the office reads for any path a user may have: every byte
// outside the unreserved set is percent-encoded, '%', '#', blanks, '$' (which
// the office would expand as a macro on its command line) and non-ASCII
// bytes included. `absolutePath` must be absolute.
std::string FileUrl(const std::string& absolutePath);

} // namespace sheet::libreoffice
