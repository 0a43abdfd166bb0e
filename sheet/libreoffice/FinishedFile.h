#pragma once

#include <filesystem>

namespace sheet::libreoffice {

// Moves the finished file `from` to `to`, replacing what is there. Across
// file systems the bytes are copied into an unnamed file in `to`'s folder
// that gets its name only once complete, so a process killed mid-copy leaves
// nothing there. Throws SheetError in words.
void MoveFinishedFile(const std::filesystem::path& from, const std::filesystem::path& to);

} // namespace sheet::libreoffice
