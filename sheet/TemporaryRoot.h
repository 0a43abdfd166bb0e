#pragma once

#include <filesystem>

namespace sheet {

// Where a backend keeps its own files while it works, and so where a save
// needs room first. On Windows, Excel's copies go in the user's temporary
// folder (empty when Windows names none); elsewhere the office's private
// folder goes in TMPDIR, made absolute (the office is told the path, and
// its working folder differs), or /tmp.
std::filesystem::path TemporaryRoot();

} // namespace sheet
