#pragma once

// The workbooks the out-of-process stand-in for Excel opens: text files a
// test writes, with what the stand-in is to do first, then the sheets. The
// program never reads them; only the stand-in does, in Excel's place.
//
//   #record    Z:\tmp\road\record.txt   where it writes what it was told
//   #inputbox  People!$A$1:$C$7         what the input box answers; cancel: False
//   #busy      3000                     once open, calls are busy this many ms
//   #crash     colour                   its process dies when told to colour
//   #sheet     People                   a sheet; its rows follow, one a line,
//   Name       City     Age             cells parted by tabs
//
// Keys and values are parted by a tab; the keys before the first #sheet are
// all optional. The record gets a line per cell coloured
// ("fill<TAB>People<TAB>2<TAB>1<TAB>65535"), per call answered "retry later"
// ("retry-later") and "crash" before the process dies.

#include "MemorySpreadsheet.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

namespace fake {

struct StandInScript {
    std::filesystem::path record;              // none: nothing is recorded
    std::optional<std::string> inputBoxAnswer; // none: Cancel
    std::chrono::milliseconds busy{0};
    bool crashWhenColouring = false;
};

struct StandInWorkbook {
    memory_sheet::Book book;
    StandInScript script;
};

// Throws std::runtime_error in Excel's manner for a file of another kind.
StandInWorkbook ReadStandInWorkbook(const std::filesystem::path& file);

} // namespace fake
