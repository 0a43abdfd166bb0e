#include "Fills.h"

#include "MemorySpreadsheet.h"
#include "sheet/SheetError.h"
#include "sheet/ThreadBoundWorkbook.h"
#include "sheet/libreoffice/CalcWorkbook.h"

std::optional<std::uint32_t> FillOf(sheet::Workbook& workbook, const sheet::Block& block,
                                    std::int32_t row, std::int32_t column) {
    bool isMemory = false;
    const auto fill = memory_sheet::MemoryFillOf(workbook, block.sheetName, row, column, isMemory);
    if (isMemory) {
        return fill;
    }
    if (auto* office =
            dynamic_cast<sheet::libreoffice::CalcWorkbook*>(&sheet::BackendOf(workbook))) {
        return office->fillOf(block, row, column);
    }
    throw sheet::SheetError("no way to read fills from this workbook's backend");
}
