// Starting a program of ours as a child: the guard from our process, and the
// office from the guard.
#pragma once

#include <csignal>
#include <string>
#include <sys/types.h>
#include <vector>

namespace sheet::libreoffice {

// The signals our programs ignore or handle themselves.
inline constexpr int kOurSignals[] = {SIGHUP, SIGINT, SIGTERM, SIGPIPE};

// Starts `arguments` (the program's full path first) with `environment`
// (NAME=value each) in a process group of its own, so that a Ctrl+C meant
// for the group that started it does not reach it and it can be killed
// whole. No signal is blocked in it, and kOurSignals take their usual action
// again. Its standard
// input is `input`, or /dev/null when that is -1; its output goes to
// /dev/null: the office talks on its own. Sets `pid` and returns 0, or
// returns an errno value.
int Spawn(pid_t& pid, std::vector<std::string> arguments, std::vector<std::string> environment,
          int input);

// This process's environment, NAME=value each.
std::vector<std::string> OurEnvironment();

} // namespace sheet::libreoffice
