#include "Fills.h"

#include "BeneathBinding.h"

std::optional<std::uint32_t> FillOf(sheet::Workbook& workbook, const sheet::Block& block,
                                    std::int32_t row, std::int32_t column) {
    return Beneath(workbook, block).fillOf(block, row, column);
}
