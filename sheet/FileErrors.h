#pragma once

#include "SheetError.h"

#include <filesystem>
#include <string>

namespace sheet {

// A file operation the system refused; `error` is its errno value, kept so
// that a caller can tell "exists" from the rest.
class FileError : public SheetError {
public:
    FileError(const std::string& what, int error) : SheetError(what), error_(error) {}
    int error() const { return error_; }

private:
    int error_;
};

// Why a file operation in `folder` failed, in words a user can act on:
// "the disk holding \"/data\" is full". `error` is an errno value.
std::string FileErrorInWords(int error, const std::filesystem::path& folder);

std::string Quoted(const std::filesystem::path& path);

} // namespace sheet
