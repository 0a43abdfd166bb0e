#pragma once

#include "sheet/Workbook.h"

#include <filesystem>
#include <string>

namespace cli {

// Refuses, before any office starts, an output that is the workbook itself
// (by any path: relative, through links); one that exists when `force` is
// not given; anything that is not a regular file, even with `force` (a
// folder, a device, a pipe, a socket, a symbolic link); one whose folder does
// not exist or cannot be written; and a name longer than its folder allows.
// Throws std::runtime_error saying which and what to do.
void CheckOutput(const std::filesystem::path& workbook, const std::filesystem::path& output,
                 bool force);

// A file the command writes, as the summary names it: absolute and plain,
// in UTF-8 as the command line gave it.
std::string AbsolutePath(const std::string& utf8);

// The same checks for another file the command writes, named `whatItIs` in
// the messages ("the groups report").
void CheckOutputFile(const std::filesystem::path& workbook, const std::filesystem::path& path,
                     bool force, const std::string& whatItIs);

// Saves the workbook's coloured copy to `output`. The office makes it whole
// in its private folder and publishes it under `output`'s name in one step
// (sheet::PublishFile), so a failed, interrupted or killed save leaves
// neither a partial file nor a damaged earlier one, and nothing of ours in
// `output`'s folder. Throws in words on failure.
void SaveCopy(sheet::Workbook& workbook, const sheet::ProgressListener& progress,
              const std::filesystem::path& workbookPath, const std::filesystem::path& output,
              bool force);

} // namespace cli
