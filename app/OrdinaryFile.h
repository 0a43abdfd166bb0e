#pragma once

#include <filesystem>

// True when the path's last-modified time can be read. Never reports a
// failure: anything that goes wrong just gives false.
bool FileExists(const std::filesystem::path& path);

// An existing ordinary file: not a folder, not a hidden or system file.
bool IsOrdinaryFile(const std::filesystem::path& path);
