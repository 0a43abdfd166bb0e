#pragma once

#include <filesystem>
#include <functional>

namespace cli {

// Renames the complete file `staged`, which lies in `output`'s folder, to
// `output` in one step, so `output` is always either its earlier self or the
// whole new file; on POSIX systems the file and the folder are flushed to
// the disk. `checkJustBefore` runs right before the rename and may throw to
// stop it. Without `replace` an `output` that appeared meanwhile is never
// replaced. Throws std::runtime_error in words; `staged` is then left for
// the caller to remove.
void MoveIntoPlace(const std::filesystem::path& staged, const std::filesystem::path& output,
                   bool replace, const std::function<void()>& checkJustBefore);

} // namespace cli
