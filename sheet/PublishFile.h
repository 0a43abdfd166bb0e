#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace sheet {

// The one step that puts a file of ours in the user's folder. The file is
// made whole somewhere private first (the office's own folder, say); this
// gives it its final name at once: a rename on the same file system, and
// across file systems a copy into an unnamed file in the destination's
// folder (O_TMPFILE) that is linked in only once complete. No file of ours
// ever stands in that folder under another name, so a process killed at
// any moment leaves it as it was. Where the file system has no unnamed
// files, the copy is written under its final name and removed if it fails.
//
// An existing `destination` is replaced only when `replace` is set; without
// it, one that appeared meanwhile is never touched (the rename refuses it
// atomically). `whatItIs` names the file for messages ("the coloured
// copy"). Throws FileError in words; `finished` is then left for the caller.
void PublishFile(const std::filesystem::path& finished, const std::filesystem::path& destination,
                 bool replace, const std::string& whatItIs);

// The same for a file whose whole contents are in memory.
void PublishContents(std::string_view contents, const std::filesystem::path& destination,
                     bool replace, const std::string& whatItIs);

} // namespace sheet
