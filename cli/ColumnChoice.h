#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

// One item of --columns: a block column number counted from 1, or a name as
// the column list shows it.
struct ColumnItem {
    std::int32_t number = 0; // 0: the item is a name
    std::string name;

    friend bool operator==(const ColumnItem&, const ColumnItem&) = default;
};

// --columns taken apart before the workbook is open: `all`, or items split
// at commas ("\," is a comma inside a name, "\\" a backslash). An item of
// digits only, blanks around them allowed, is a number. Throws UsageError
// for an empty list or item, or a number of 0 or too large to be a column.
struct ColumnChoice {
    bool all = false;
    std::vector<ColumnItem> items;
};
ColumnChoice ParseColumnChoice(std::string_view text);

// The selected flags for a block whose column list is `columnList`, one flag
// per block column. Throws std::runtime_error, naming `blockName`, for a
// number beyond the block, a name not in the list, or a name the list holds
// more than once.
std::vector<bool> SelectColumns(const ColumnChoice& choice,
                                const std::vector<std::string>& columnList,
                                const std::string& blockName);

} // namespace cli
