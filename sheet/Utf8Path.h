#pragma once

#include <filesystem>
#include <string_view>

namespace sheet {

// A path held as UTF-8 text (a window's text, a command line argument), for
// the file system. Not std::filesystem::path(std::string), which Windows
// reads in the ANSI code page.
std::filesystem::path PathOf(std::string_view utf8);

} // namespace sheet
