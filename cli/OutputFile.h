#pragma once

#include "sheet/Workbook.h"

#include <filesystem>

namespace cli {

// Refuses, before any office starts, an output that is the workbook itself
// (by any path: relative, through links), one that exists when `force` is
// not given, a folder, or one whose folder does not exist. Throws
// std::runtime_error saying which.
void CheckOutput(const std::filesystem::path& workbook, const std::filesystem::path& output,
                 bool force);

// Saves the workbook's coloured copy to `output` by way of a new file beside
// it, renamed over `output` only once complete: a failed save leaves neither
// a half-written file nor a damaged earlier one. Checks again that `output`
// is not the workbook, and, without `force`, that it did not appear
// meanwhile.
void SaveCopy(sheet::Workbook& workbook, const std::filesystem::path& workbookPath,
              const std::filesystem::path& output, bool force);

} // namespace cli
