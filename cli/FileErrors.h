#pragma once

#include <filesystem>
#include <string>

namespace cli {

// Why a file operation in `folder` failed, in words a user can act on:
// "the disk holding \"/data\" is full". `error` is an errno value.
std::string FileErrorInWords(int error, const std::filesystem::path& folder);

std::string Quoted(const std::filesystem::path& path);

} // namespace cli
