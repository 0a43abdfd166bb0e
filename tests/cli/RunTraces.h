#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
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

// Asks `done` every `pause` for up to `time`; whether it came true.
bool Eventually(std::chrono::milliseconds time, const std::function<bool()>& done,
                std::chrono::milliseconds pause = std::chrono::milliseconds(10));

// Whether `process` holds a file open in `folder` that has no name there
// yet (O_TMPFILE), as a copy has while it is written from another disk.
bool HoldsUnnamedFileIn(pid_t process, const std::filesystem::path& folder);

// A folder on another disk than `than`, or none here.
std::optional<std::filesystem::path> OtherDisk(const std::filesystem::path& than);

// Every name given to a file in a folder from now on, in order, however
// briefly it stood there: a file renamed on at once is seen too.
class NamesAppearing {
public:
    explicit NamesAppearing(const std::filesystem::path& folder);
    ~NamesAppearing();
    NamesAppearing(const NamesAppearing&) = delete;
    NamesAppearing& operator=(const NamesAppearing&) = delete;

    std::vector<std::string> sinceStart();

private:
    int fd_;
    std::vector<std::string> names_;
};
