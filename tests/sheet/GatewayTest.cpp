#include "Fills.h"
#include "OfficeFixture.h"
#include "sheet/OpenExcelWorkbook.h"
#include "sheet/SheetError.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

using sheet::Block;

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

// The same workbook saved as each format; the parameter is its extension.
class Gateway : public ::testing::TestWithParam<std::string> {
protected:
    std::string path() const { return (Workbooks().folder / ("book." + GetParam())).string(); }
    // A csv file holds one sheet, named after the file.
    std::string sheetName() const { return GetParam() == "csv" ? "book" : "Data"; }
    std::unique_ptr<sheet::Workbook> open(const std::string& path) {
        const auto office = MakeTestOffice(HeadlessOptions());
        return sheet::OpenExcelWorkbook(*office, path);
    }
};

} // namespace

// One office start per format: names and header values, display texts,
// then fills, on the same opened workbook, and in a copy saved from it.
TEST_P(Gateway, NamesReadsAndColoursABlock) {
    const std::string before = ReadAll(path());
    auto book = open(path());
    const Block block = book->findBlock(sheetName() + "!$C$5:$F$9");
    EXPECT_EQ(block.sheetName, sheetName());
    EXPECT_EQ(block.geometry(), (dupes::BlockGeometry{5, 3, 9, 6}));
    EXPECT_EQ(book->name(block), sheetName() + "!$C$5:$F$9");

    EXPECT_EQ(book->headerValue(block, 1), "Name");
    EXPECT_EQ(book->headerValue(block, 2), "");
    EXPECT_EQ(book->headerValue(block, 3), "42"); // the value, not "$42.00"
    EXPECT_EQ(book->headerValue(block, 4), "City");
    EXPECT_EQ(book->name(book->findBlock(sheetName() + "!$2:$5")), sheetName() + "!$2:$5");
    if (GetParam() != "csv") {
        // Values as the office converts them to text, beyond the contract's texts.
        const Block values = book->findBlock("My Data!$A$1:$C$1");
        EXPECT_EQ(book->headerValue(values, 1), "x");
        EXPECT_EQ(book->headerValue(values, 2), "2024-03-01 18:00:00");
        EXPECT_EQ(book->headerValue(values, 3), "TRUE");
    }

    auto& cells = book->cells(block);
    EXPECT_EQ(cells.cellText(6, 3), "Ann");
    EXPECT_EQ(cells.cellText(6, 6), "  Oslo ");
    EXPECT_EQ(cells.cellText(7, 6), "oslo");
    EXPECT_EQ(cells.cellText(8, 3), "");

    // Display texts survive only where the file keeps formats and formulas.
    if (GetParam() != "csv") {
        EXPECT_EQ(cells.cellText(5, 5), "$42.00");
        EXPECT_EQ(cells.cellText(6, 4), "50.00%");
        EXPECT_EQ(cells.cellText(6, 5), "2024-03-01");
        EXPECT_EQ(cells.cellText(7, 3), "Ann");
        EXPECT_EQ(cells.cellText(7, 4), "1,234.50");
        EXPECT_EQ(cells.cellText(7, 5), "2");

        dupes::TextTable texts;
        cells.readTexts(6, 2, {3, 5}, texts);
        ASSERT_EQ(texts.size(), 4u);
        EXPECT_EQ(texts.cell(0), "Ann");
        EXPECT_EQ(texts.cell(1), "2024-03-01");
        EXPECT_EQ(texts.cell(2), "Ann");
        EXPECT_EQ(texts.cell(3), "2");
    }

    cells.colourSpans({{6, 3, 3}}, 0x00FFFF);
    // Rows 7 and 8 share a width and go as one rectangle; row 9 does not.
    cells.colourSpans({{7, 3, 4}, {8, 3, 4}, {9, 4, 4}}, 0xFF0000);
    EXPECT_EQ(FillOf(*book, block, 6, 3), 0x00FFFFu);
    for (const auto& [row, column] : {std::pair{7, 3}, {7, 4}, {8, 3}, {8, 4}, {9, 4}}) {
        EXPECT_EQ(FillOf(*book, block, row, column), 0xFF0000u) << row << "," << column;
    }
    for (const auto& [row, column] : {std::pair{7, 5}, {8, 5}, {9, 3}, {9, 5}, {10, 3}, {6, 4}}) {
        EXPECT_EQ(FillOf(*book, block, row, column), std::nullopt) << row << "," << column;
    }
    // Fills the file brought with it stay.
    if (GetParam() != "csv") {
        EXPECT_EQ(FillOf(*book, block, 4, 2), 0xFF0000u);
        EXPECT_EQ(FillOf(*book, block, 10, 7), 0x00FF00u);
    }

    // Proven outside our own colour conversion: the saved file names the
    // fill, yellow as yellow; the opened file itself is not written.
    const std::string copy = (Workbooks().folder / ("coloured-" + GetParam() + ".fods")).string();
    book->saveCopyAs(copy, false, {});
    const std::string saved = ReadAll(copy);
    EXPECT_NE(saved.find("fo:background-color=\"#ffff00\""), std::string::npos);
    book.reset();
    EXPECT_EQ(ReadAll(path()), before) << "the opened file itself was written";
}

INSTANTIATE_TEST_SUITE_P(Formats, Gateway, ::testing::Values("xlsx", "ods", "csv"),
                         [](const auto& param) { return param.param; });
