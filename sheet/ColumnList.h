#pragma once

#include "Block.h"
#include "Workbook.h"

#include <cstdint>
#include <string>
#include <vector>

namespace sheet {

// The column list shown for a block: one entry per block column, left to
// right, the value of its first-row cell, or "<Blank Column n>" when that is
// empty. The window and the batch command both take it from here.
std::vector<std::string> ColumnList(Workbook& workbook, const Block& block);

std::string BlankColumnName(std::int32_t column);

} // namespace sheet
