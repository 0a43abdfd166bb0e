// The words between an office's guard program and the process it guards:
// its command line, and the messages over the socket on its standard input,
// one word and at most one number a message.
#pragma once

#include <string_view>

namespace sheet::libreoffice::guard_words {

// vantrelo-office-guard [--folder PATH] [--pipe NAME] -- OFFICE ARGUMENTS...
inline constexpr std::string_view kFolder = "--folder";
inline constexpr std::string_view kPipe = "--pipe";
inline constexpr std::string_view kOffice = "--";

// From the guard.
inline constexpr std::string_view kStarted = "started"; // pid: the office runs (again)
inline constexpr std::string_view kExited = "exited";   // wait status: it has ended for good
inline constexpr std::string_view kFailed = "failed";   // errno: it could not be started

// To the guard. The end of input without "end" or "handover" means the
// guarded process is gone: the office is killed and its leftovers removed.
inline constexpr std::string_view kKill = "kill";         // at once, and never restart it
inline constexpr std::string_view kEnd = "end";           // milliseconds to wait for it to end
inline constexpr std::string_view kHandOver = "handover"; // it is the user's: never kill it

} // namespace sheet::libreoffice::guard_words
