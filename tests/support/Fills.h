#pragma once

#include "sheet/Block.h"
#include "sheet/Workbook.h"

#include <cstdint>
#include <optional>

// The fill of one cell of the block's worksheet, or none when it has none,
// read from whichever backend the workbook is: the runs never read fills, so
// the gateway does not offer it; the tests do it here.
std::optional<std::uint32_t> FillOf(sheet::Workbook& workbook, const sheet::Block& block,
                                    std::int32_t row, std::int32_t column);
