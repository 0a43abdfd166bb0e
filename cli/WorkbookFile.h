#pragma once

#include <filesystem>

namespace cli {

// Refuses, before any office starts, a workbook that does not exist, is a
// folder or anything else but a regular file, or cannot be read. Throws
// std::runtime_error saying which.
void CheckWorkbook(const std::filesystem::path& workbook);

} // namespace cli
