#pragma once

#include <filesystem>
#include <functional>

namespace cli {

// Puts the complete file `staged` at `output` in one step, so `output` is
// always either its earlier self or the whole new file. On the same disk the
// file is renamed; else it is copied to a short hidden name beside `output`,
// flushed to the disk, and that is renamed. `checkJustBefore` runs right
// before the final rename and may throw to stop it. Without `replace` an
// `output` that appeared meanwhile is never replaced. Throws
// std::runtime_error in words; a failure leaves nothing beside `output`.
void MoveIntoPlace(const std::filesystem::path& staged, const std::filesystem::path& output,
                   bool replace, const std::function<void()>& checkJustBefore);

} // namespace cli
