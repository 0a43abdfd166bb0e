#pragma once

#include <filesystem>
#include <string_view>

// A path as the window holds it, UTF-8, for the file system.
std::filesystem::path PathOf(std::string_view utf8);

// True when the path's last-modified time can be read. Never reports a
// failure: anything that goes wrong just gives false.
bool FileExists(const std::filesystem::path& path);

// An existing ordinary file: not a folder, not a hidden or system file.
bool IsOrdinaryFile(const std::filesystem::path& path);
