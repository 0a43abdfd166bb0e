#pragma once

#include <filesystem>
#include <string>
#include <sys/types.h>
#include <vector>

// A run of the batch command on its own copy of a workbook, with a
// temporary folder and an output folder of its own, so that whatever it
// leaves is its own.
struct PrivateRun {
    // Everything under `folder`; the temporary folder is named `tempName`,
    // or is made in `tempParent` (another disk, say) when one is given.
    PrivateRun(const std::filesystem::path& folder, const std::string& workbook,
               const std::string& tempName = "temp", const std::filesystem::path& tempParent = {});
    // Removes a temporary folder made in `tempParent`.
    ~PrivateRun();
    PrivateRun(const PrivateRun&) = delete;
    PrivateRun& operator=(const PrivateRun&) = delete;

    // highlight on the copy, saving to `output`.
    std::vector<std::string> arguments(const std::string& block, const std::string& columns) const;
    // The first office whose command line names the temporary folder, or -1.
    pid_t office() const;
    // Fails the test for anything the run left: an office, anything in its
    // temporary folder (a watchdog may need a moment), anything beside the
    // workbook or beside its folders (a stray folder a badly encoded path
    // makes), or a change to the workbook's bytes or time.
    void expectNothingLeft() const;

    std::filesystem::path root, book, temp, output;
    std::string bytes;
    std::filesystem::file_time_type modified;
    std::vector<std::string> officePipesBefore; // the office runtime's pipes in /tmp
};
