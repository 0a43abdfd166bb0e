#pragma once

#include "sheet/Block.h"
#include "sheet/Workbook.h"

#include <cstdint>
#include <optional>

// The fill of one cell of the block's worksheet, or none when it has none,
// read beneath the binding of a workbook that the memory spreadsheet or the
// test office (MakeTestOffice) opened.
std::optional<std::uint32_t> FillOf(sheet::Workbook& workbook, const sheet::Block& block,
                                    std::int32_t row, std::int32_t column);
