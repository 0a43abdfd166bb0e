#pragma once

#include "Com.h"
#include "dupes/BlockAccess.h"

namespace sheet::excel {

// The cells of one worksheet of a workbook open in Excel.
class ExcelCells final : public dupes::BlockAccess {
public:
    explicit ExcelCells(Dispatch worksheet);

    std::string cellText(std::int32_t row, std::int32_t column) override;
    // In bulk where that is exact, else cell by cell: see ExcelCells.cpp.
    void readTexts(std::int32_t firstRow, std::int32_t rowCount,
                   const std::vector<std::int32_t>& columns, dupes::TextTable& out) override;
    // Spans of one width on consecutive rows go as one area, and one
    // Interior.Color serves every union of areas whose address fits one request.
    void colourSpans(const std::vector<dupes::CellSpan>& spans, std::uint32_t colour) override;

private:
    Dispatch cell(std::int32_t row, std::int32_t column);
    Dispatch rangeOf(const dupes::BlockGeometry& area);
    std::string textOf(std::int32_t row, std::int32_t column);
    std::vector<bool> showTextsAsTheyAre(const Dispatch& range, const dupes::BlockGeometry& area);
    void readColumns(const dupes::BlockGeometry& area, std::vector<dupes::TextTable>& columns);
    void paint(const Dispatch& range, std::uint32_t colour);

    Dispatch worksheet_;
    Dispatch cells_; // Worksheet.Cells, every cell of the sheet
    Member item_{L"Item"};
    Member text_{L"Text"};
    Member range_{L"Range"};
    Member value2_{L"Value2"};
    Member numberFormat_{L"NumberFormat"};
    Member interior_{L"Interior"};
    Member color_{L"Color"};
};

} // namespace sheet::excel
