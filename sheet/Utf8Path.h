#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace sheet {

// A path held as UTF-8 text (a window's text, a command line argument), for
// the file system. Not std::filesystem::path(std::string), which Windows
// reads in the ANSI code page.
std::filesystem::path PathOf(std::string_view utf8);

// The other way: a path as UTF-8 text, for messages, summaries and the
// gateway, whatever Windows' code page.
std::string PathText(const std::filesystem::path& path);

// The extension of a path held as UTF-8, its ASCII letters in lower case:
// ".xlsx" for "Book.XLSX", empty for none. Formats are told by it.
std::string LowerCaseExtension(std::string_view utf8);

} // namespace sheet
