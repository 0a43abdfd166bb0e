#pragma once

#include "MemorySpreadsheet.h"
#include "sheet/Workbook.h"
#include "sheet/libreoffice/LibreOffice.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <utility>

// The workbooks the batch command is run on, made once per test binary.
struct CliWorkbooks {
    std::filesystem::path folder;
    // People!$B$2:$G$11: Name, City, a blank header, 5 shown as currency,
    // "Last, First", Note; repeats in rows 3..11, a repeat below the block
    // in row 12, fills at A1, C3, F5 and H4. Twice!$A$1:$C$3 has the header
    // Name twice.
    std::string book;
    std::string damaged; // an .xlsx name on bytes that are no workbook
    std::string sample;  // examples/people.xlsx, as committed
};
const CliWorkbooks& Workbooks();

inline constexpr const char* kPeopleBlock = "People!$B$2:$G$11";
inline constexpr const char* kSampleBlock = "People!$A$1:$F$21";

namespace testing {
class Environment;
}
// Makes the workbooks before the first test and removes them after the last.
::testing::Environment* MakeCliEnvironment();
// Every workbook given to the command still holds the bytes it was made with.
void ExpectInputsUnchanged();

// A fresh, empty folder for the running test.
std::filesystem::path Scratch();

std::string Bytes(const std::filesystem::path& path);

// What a folder holds, one entry a name: its kind, size and modification
// time, so that any file added, removed or touched shows as a difference.
std::map<std::string, std::string> Listing(const std::filesystem::path& folder);

sheet::libreoffice::LibreOfficeOptions Headless();

// The fills of every cell of the block and of a border one cell wide around
// it, by (row, column); none where a cell has no fill.
using Fills = std::map<std::pair<int, int>, std::optional<std::uint32_t>>;
Fills FillsAround(sheet::Workbook& workbook, const sheet::Block& block);

// The fills the test book is made with.
const Fills& BookFills();

// What a saved copy shows through the office: the fills around the block
// `blockText` names, and the block's display texts as a workbook held in
// memory, with the block at its place on a sheet of its name.
struct CopyShown {
    Fills fills;
    memory_sheet::Book texts;
};
CopyShown ReadCopy(const std::string& path, const std::string& blockText);
