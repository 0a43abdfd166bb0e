#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

// What a run of the batch command may leave behind, seen from outside.

// Office processes, whoever their parent, whose command line holds `text`
// (a run's private temporary folder, which its profile is in).
std::vector<pid_t> OfficesNaming(const std::string& text);

// Whether an office process has `file` open.
bool OfficeHasOpen(pid_t office, const std::filesystem::path& file);

// Every path under `folder`, relative to it, sorted.
std::vector<std::string> Contents(const std::filesystem::path& folder);

// Asks `done` every few milliseconds for up to `time`; whether it came true.
bool Eventually(std::chrono::milliseconds time, const std::function<bool()>& done);
