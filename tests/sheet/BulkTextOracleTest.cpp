// The bulk route for display texts must give, cell for cell, what the
// per-cell route gives. A varied corpus of cells is read both ways.
#include "BeneathBinding.h"
#include "OfficeFixture.h"
#include "sheet/OpenExcelWorkbook.h"
#include "sheet/libreoffice/CalcCells.h"

#include <gtest/gtest.h>

namespace {

void Expect(dupes::BlockAccess& cells, int firstRow, int rowCount,
            const std::vector<std::int32_t>& columns) {
    dupes::TextTable bulk;
    cells.readTexts(firstRow, rowCount, columns, bulk);
    ASSERT_EQ(bulk.size(), static_cast<std::size_t>(rowCount) * columns.size());
    std::size_t index = 0;
    for (int row = firstRow; row < firstRow + rowCount; ++row) {
        for (const auto column : columns) {
            EXPECT_EQ(bulk.cell(index++), cells.cellText(row, column))
                << "row " << row << ", column " << column;
        }
    }
}

class BulkTextOracle : public ::testing::TestWithParam<std::string> {};

} // namespace

// The corpus lives in "Corpus"!A1:D<n> of every test workbook.
TEST_P(BulkTextOracle, BulkTextsEqualPerCellTexts) {
    const std::string path = (Workbooks().folder / ("corpus." + GetParam())).string();
    auto office = MakeTestOffice(HeadlessOptions());
    auto book = sheet::OpenExcelWorkbook(*office, path);
    const auto block = book->findBlock("Corpus!$A$1:$D$70");
    // The backend's own cells, for its count of cells read one by one.
    auto& cells = Beneath(*book, block).backendCells(block);
    const auto& calc = dynamic_cast<const sheet::libreoffice::CalcCells&>(cells);
    // Rows 1 to 55 hold no filtered row: copied in bulk, but for the formulas
    // that show a bare 0 or 1 (rows 25 to 37, columns A and D: seven of the
    // thirteen formulas give 0, 1 or a truth value).
    Expect(cells, 3, 41, {4, 1, 3}); // columns apart and out of order, rows mid-block
    EXPECT_LE(calc.cellsReadOneByOne(), 14);
    EXPECT_GT(calc.cellsReadOneByOne(), 0);
    Expect(cells, 1, 55, {1, 2, 3, 4});
    EXPECT_LE(calc.cellsReadOneByOne(), 28);
    // Hidden rows, rows hidden by a filter, a merged block and empty rows past the data.
    Expect(cells, 1, 70, {1, 2, 3, 4});
    Expect(cells, 60, 11, {2});
}

INSTANTIATE_TEST_SUITE_P(Formats, BulkTextOracle, ::testing::Values("xlsx", "ods"),
                         [](const auto& param) { return param.param; });
