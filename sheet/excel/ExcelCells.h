#pragma once

#include "Com.h"
#include "dupes/BlockAccess.h"

namespace sheet::excel {

// The cells of one worksheet of a workbook open in Excel.
class ExcelCells final : public dupes::BlockAccess {
public:
    explicit ExcelCells(Dispatch worksheet);

    std::string cellText(std::int32_t row, std::int32_t column) override;
    // Cell by cell: Range.Text of a range of several cells is Null unless
    // they all show the same text, and no bulk read here is known to equal
    // the per-cell text.
    void readTexts(std::int32_t firstRow, std::int32_t rowCount,
                   const std::vector<std::int32_t>& columns, dupes::TextTable& out) override;
    // Spans of one width on consecutive rows go as one area, and one
    // Interior.Color serves every union of areas whose address fits one request.
    void colourSpans(const std::vector<dupes::CellSpan>& spans, std::uint32_t colour) override;

private:
    Dispatch cell(std::int32_t row, std::int32_t column);
    std::string textOf(std::int32_t row, std::int32_t column);
    void paint(const Dispatch& range, std::uint32_t colour);

    Dispatch worksheet_;
    Dispatch cells_; // Worksheet.Cells, every cell of the sheet
    Member item_{L"Item"};
    Member text_{L"Text"};
    Member range_{L"Range"};
    Member interior_{L"Interior"};
    Member color_{L"Color"};
};

} // namespace sheet::excel
