#pragma once

#include "sheet/Block.h"
#include "sheet/Workbook.h"

#include <cstdint>
#include <string>
#include <vector>

namespace cli {

// The column list the window shows for a block: one entry per block column,
// the value of its first-row cell, or "<Blank Column n>" when that is empty.
std::vector<std::string> ColumnList(sheet::Workbook& workbook, const sheet::Block& block);

std::string BlankColumnName(std::int32_t column);

} // namespace cli
