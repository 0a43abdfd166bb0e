// The Excel backend's workbook against the stand-in for Excel, on Windows
// (under Wine here): which members it calls in which order with which
// arguments, what it makes of the answers, and that every object it was
// handed is released, on failure too. What every backend shows alike is in
// the contract cases.

#include "FakeExcelModel.h"
#include "Thrown.h"

#include "sheet/FileErrors.h"
#include "sheet/SheetError.h"
#include "sheet/excel/ExcelAddress.h"
#include "sheet/excel/ExcelWorkbook.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

using sheet::excel::ExcelWorkbook;

namespace {

namespace fs = std::filesystem;

// One sheet, "My Data", with a block at C5:F9 whose header row holds a
// text, an empty cell and 5 shown as currency.
memory_sheet::Book DataBook() {
    memory_sheet::Sheet sheet{"My Data", {}, {}};
    sheet.place(5, 3, {{"Name", "", "$5.00", "City"}, {"Ann", "Zürich", "1", "Oslo"}});
    sheet.contents[{5, 5}] = {memory_sheet::Content::Kind::Number, "$#,##0.00", {}, 5, 0};
    return memory_sheet::Book{{sheet}};
}

sheet::Block DataBlock() {
    return sheet::Block{0, "My Data", {dupes::BlockGeometry{5, 3, 9, 6}}};
}

// A workbook opened in the stand-in, from a file of the given name.
struct Scene {
    fake::FakeExcelModel excel;
    fake::StandInFile file;
    std::unique_ptr<ExcelWorkbook> workbook;

    explicit Scene(const std::string& name, fake::FakeExcelModel::Person person = {})
        : excel(std::move(person)), file(name) {
        excel.addFile(file.path(), DataBook());
        workbook = open();
    }
    std::unique_ptr<ExcelWorkbook> open() {
        sheet::excel::ExcelOptions options;
        options.start = [this] { return excel.start(); };
        return std::make_unique<ExcelWorkbook>(options, file.text());
    }
    const std::vector<std::string>& journal() { return excel.log().journal; }
    bool has(const std::string& line) {
        return std::find(journal().begin(), journal().end(), line) != journal().end();
    }
    std::size_t count(const std::string& prefix) {
        return static_cast<std::size_t>(
            std::count_if(journal().begin(), journal().end(),
                          [&](const std::string& line) { return line.starts_with(prefix); }));
    }
    // Closes the workbook; true when every object Excel handed out came back.
    bool closedCleanly() {
        workbook.reset();
        return excel.allReleased();
    }
};

} // namespace

TEST(ExcelWorkbook, OpensWithMacrosOffThenClosesWithoutSavingAndQuits) {
    Scene s("vantrelo-fake-open.xlsx");
    const std::string path = fs::absolute(s.file.path()).lexically_normal().string();
    const std::vector<std::string> opened{
        "Application.Hwnd",                   // its process, for a stop to end
        "Application.AutomationSecurity = 3", // before anything is opened
        "Application.DisplayAlerts = False",
        "Application.Workbooks",
        "Workbooks.Open(\"" + path + "\")", // the path only
        "Application.Workbooks",
        "Workbooks.Count",
        "Workbooks.Item(1)", // Workbooks(Workbooks.Count)
    };
    EXPECT_EQ(s.journal(), opened);
    s.workbook.reset();
    EXPECT_EQ(
        std::vector<std::string>(s.journal().begin() + std::ssize(opened), s.journal().end()),
        (std::vector<std::string>{"Workbook.Close(SaveChanges:=False)", "Application.Quit()"}));
    EXPECT_EQ(s.count("Application.Visible"), 0u); // left hidden
    EXPECT_TRUE(s.excel.allReleased());
}

TEST(ExcelWorkbook, AWorkbookExcelCannotOpenEndsTheInstanceAndSaysWhy) {
    fake::FakeExcelModel excel; // which knows no file
    const fake::StandInFile file("vantrelo-fake-damaged.xlsx");
    sheet::excel::ExcelOptions options;
    options.start = [&excel] { return excel.start(); };
    EXPECT_PRED2(Contains, Thrown<sheet::SheetError>([&] { ExcelWorkbook(options, file.text()); }),
                 "Excel could not open \"" + file.text() + "\": Sorry, we couldn't find");
    EXPECT_EQ(excel.log().journal.back(), "Application.Quit()");
    EXPECT_EQ(std::count_if(excel.log().journal.begin(), excel.log().journal.end(),
                            [](const std::string& line) { return Contains(line, ".Close("); }),
              0);
    EXPECT_TRUE(excel.allReleased());
}

TEST(ExcelWorkbook, FindsAndNamesABlockThroughExcel) {
    Scene s("vantrelo-fake-find.xlsx");
    const sheet::Block block = s.workbook->findBlock("My Data!$C$5:$F$9");
    EXPECT_TRUE(s.has("Sheets.Item(\"My Data\")"));
    // Excel needs the sheet name quoted, as the block box does not write it.
    EXPECT_TRUE(s.has("Application.Range(\"'My Data'!$C$5:$F$9\")"));
    EXPECT_EQ(block.sheetName, "My Data");
    EXPECT_EQ(block.sheetIndex, 0);
    EXPECT_EQ(block.areas, DataBlock().areas);
    // The name is Excel's own Range.Address.
    EXPECT_EQ(s.workbook->name(block), "My Data!$C$5:$F$9");
    EXPECT_TRUE(s.has("Worksheet.Range(\"$C$5:$F$9\")"));
    EXPECT_TRUE(s.has("Range.Address"));
    EXPECT_TRUE(s.closedCleanly());
}

TEST(ExcelWorkbook, ABlockBeyondAnOldSheetIsRefused) {
    Scene s("vantrelo-fake-xls.xls"); // its sheets have 65,536 rows
    EXPECT_PRED2(Contains,
                 Thrown<sheet::SheetError>([&] { s.workbook->findBlock("My Data!$A$1:$B$70000"); }),
                 "reaches beyond the sheet's last row or column");
    EXPECT_EQ(s.count("Application.Range"), 0u);
    EXPECT_TRUE(s.closedCleanly());
}

TEST(ExcelWorkbook, HeaderValuesAreValuesNotDisplays) {
    Scene s("vantrelo-fake-header.xlsx");
    EXPECT_EQ(s.workbook->headerValue(DataBlock(), 1), "Name");
    EXPECT_EQ(s.workbook->headerValue(DataBlock(), 2), "");  // empty
    EXPECT_EQ(s.workbook->headerValue(DataBlock(), 3), "5"); // shown as $5.00
    // Range.Cells(1, i) of the block, counted within it.
    EXPECT_TRUE(s.has("Worksheet.Range(\"$C$5:$F$9\")"));
    EXPECT_TRUE(s.has("Range.Item(1, 3)"));
    EXPECT_EQ(s.count("Range.Value"), 3u);
    EXPECT_TRUE(s.closedCleanly());
}

// One Value2 per run of neighbouring columns; Text only for the cells whose
// value does not say what they show: here the column with a currency cell.
TEST(ExcelWorkbook, ReadsTextsInBulkAndOnlyTheRestOneByOne) {
    Scene s("vantrelo-fake-read.xlsx");
    auto& cells = s.workbook->cells(DataBlock());
    dupes::TextTable texts;
    cells.readTexts(5, 2, {6, 3, 4, 5}, texts);
    std::vector<std::string> read;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        read.emplace_back(texts.cell(i));
    }
    EXPECT_EQ(read, (std::vector<std::string>{"City", "Name", "", "$5.00", "Oslo", "Ann", "Zürich",
                                              "1"}));
    EXPECT_TRUE(s.has("Worksheet.Range(\"C5:F6\")"));
    EXPECT_EQ(s.count("Range.Value2"), 1u);
    EXPECT_EQ(s.count("Range.NumberFormat"), 5u); // the area's is Null, so each column's
    EXPECT_EQ(s.count("Range.Text"), 2u);         // E5 and E6
    // Columns apart are read apart.
    cells.readTexts(5, 2, {3, 6}, texts);
    EXPECT_EQ(s.count("Range.Value2"), 3u);
    EXPECT_EQ(s.count("Range.Text"), 2u);
    EXPECT_TRUE(s.closedCleanly());
}

TEST(ExcelWorkbook, ColoursUnionsOfSpansInFewRequests) {
    Scene s("vantrelo-fake-colour.xlsx");
    std::vector<dupes::CellSpan> spans;
    for (std::int32_t row = 2; row < 2000; row += 3) { // rows apart: one area each
        spans.push_back({row, 3, 6});
    }
    const auto groups = sheet::excel::UnionAddresses(spans);
    auto& cells = s.workbook->cells(DataBlock());
    cells.colourSpans(spans, 0x00FFFF); // yellow, red in the lowest byte
    EXPECT_EQ(s.count("Worksheet.Range(\""), groups.size());
    EXPECT_TRUE(s.has("Worksheet.Range(\"" + groups.front() + "\")"));
    EXPECT_TRUE(s.has("Worksheet.Range(\"" + groups.back() + "\")"));
    // One fill per group, in Excel's own colour order: no swap.
    EXPECT_EQ(s.count("Interior.Color = 65535"), groups.size());
    // Neighbouring rows of one width go as one area.
    cells.colourSpans({{20, 3, 6}, {21, 3, 6}, {22, 3, 6}}, 0x00FFFF);
    EXPECT_TRUE(s.has("Worksheet.Range(\"C20:F22\")"));
    cells.colourSpans({{4, 2, 2}}, 0xFF0000); // blue
    EXPECT_TRUE(s.has("Worksheet.Range(\"B4\")"));
    EXPECT_EQ(s.journal().back(), "Interior.Color = 16711680");
    EXPECT_TRUE(s.closedCleanly());
}

TEST(ExcelWorkbook, AsksForTheBlockWithExcelsInputBox) {
    std::vector<std::string> offered;
    Scene s("vantrelo-fake-ask.xlsx", [&](const std::string& text) -> std::optional<std::string> {
        offered.push_back(text);
        return "My Data!$C$5:$F$9";
    });
    int waited = 0;
    s.workbook->show();
    EXPECT_EQ(s.journal().back(), "Application.Visible = True");
    const sheet::Block block = s.workbook->askForBlock("Highlight a block of cells with mouse",
                                                       "My Data!$B$2:$E$40", [&] { ++waited; });
    // Prompt, no title, the default in Excel's notation, type 8: a Range.
    EXPECT_TRUE(s.has("Application.InputBox(\"Highlight a block of cells with mouse\", , "
                      "\"'My Data'!$B$2:$E$40\", , , , , 8)"));
    EXPECT_EQ(block.areas, DataBlock().areas);
    EXPECT_EQ(waited, 0); // the input box call blocks
    // No default: the box starts empty.
    s.workbook->askForBlock("Highlight a block of cells with mouse", "", [] {});
    EXPECT_TRUE(
        s.has("Application.InputBox(\"Highlight a block of cells with mouse\", , , , , , , 8)"));
    EXPECT_EQ(offered, (std::vector<std::string>{"My Data!$B$2:$E$40", ""}));
    // Excel closed while the box waited: a cancel, not a failure.
    s.excel.refusals[L"InputBox"] = RPC_E_DISCONNECTED;
    EXPECT_PRED2(Contains, Thrown<sheet::BlockChoiceCancelled>([&] {
                     s.workbook->askForBlock("p", "", [] {});
                 }),
                 "Excel was closed");
    EXPECT_TRUE(s.closedCleanly());
}

TEST(ExcelWorkbook, SavesACopyInTheSameFormatWithSaveCopyAs) {
    Scene s("vantrelo-fake-save.xlsx");
    const auto target = fs::temp_directory_path() / "vantrelo-fake-out.xlsx";
    fs::remove(target);
    s.workbook->saveCopyAs(target.string(), false, {});
    // Excel saves in the temporary folder; the finished file is then published.
    EXPECT_EQ(s.count("Workbook.SaveCopyAs(\"" + fs::temp_directory_path().string()), 1u);
    EXPECT_TRUE(fs::is_regular_file(target));
    EXPECT_PRED2(Contains, Thrown<sheet::FileError>([&] {
                     s.workbook->saveCopyAs(target.string(), false, {});
                 }),
                 "a file of that name is there already");
    fs::remove(target);
    EXPECT_EQ(s.count("Workbook.SaveAs"), 0u);
    EXPECT_PRED2(Contains,
                 Thrown<sheet::SheetError>([&] { s.workbook->saveCopyAs("out.csv", false, {}); }),
                 "choose a name ending in");
    EXPECT_TRUE(s.closedCleanly());
}

TEST(ExcelWorkbook, SavesAnotherFormatThroughACopy) {
    const auto target = fs::temp_directory_path() / "vantrelo-fake-out.xls";
    {
        Scene s("vantrelo-fake-convert.xlsx");
        s.workbook->saveCopyAs(target.string(), true, {});
        // A copy of the file in its own format, opened, saved as xlExcel8 (56), closed.
        const auto copy =
            std::find_if(s.journal().begin(), s.journal().end(), [](const std::string& line) {
                return line.starts_with("Workbook.SaveCopyAs(");
            });
        ASSERT_NE(copy, s.journal().end());
        const std::string temporary = copy->substr(std::string("Workbook.SaveCopyAs(").size());
        EXPECT_PRED2(Contains, temporary, "vantrelo-copy-");
        EXPECT_TRUE(temporary.ends_with(".xlsx\")"));
        EXPECT_TRUE(s.has("Workbooks.Open(" + temporary));
        const auto saveAs =
            std::find_if(s.journal().begin(), s.journal().end(),
                         [](const std::string& line) { return line.starts_with("Copy.SaveAs("); });
        ASSERT_NE(saveAs, s.journal().end());
        EXPECT_TRUE(saveAs->starts_with("Copy.SaveAs(\"" + fs::temp_directory_path().string()));
        EXPECT_TRUE(saveAs->ends_with(".xls\", 56)"));
        EXPECT_TRUE(fs::is_regular_file(target));
        EXPECT_EQ(s.journal().back(), "Copy.Close(SaveChanges:=False)");
        EXPECT_EQ(s.count("Workbook.SaveAs"), 0u); // the open workbook keeps its name
        EXPECT_TRUE(s.closedCleanly());
    }
    // A text workbook's copy would come back without fills: its sheets are
    // copied into a new workbook instead.
    Scene s("vantrelo-fake-convert.csv");
    s.workbook->saveCopyAs(target.string(), true, {});
    EXPECT_TRUE(s.has("Sheets.Copy()"));
    EXPECT_EQ(s.count("Workbook.SaveCopyAs"), 0u);
    EXPECT_EQ(s.journal().back(), "Copy.Close(SaveChanges:=False)");
    EXPECT_TRUE(s.closedCleanly());
    fs::remove(target);
}

TEST(ExcelWorkbook, HandsOverWithoutQuitting) {
    Scene s("vantrelo-fake-hand.xlsx");
    s.workbook->cells(DataBlock()).colourSpans({{5, 3, 3}}, 0x00FFFF);
    s.workbook->handOverToUser();
    EXPECT_TRUE(s.has("Application.Visible = True"));
    EXPECT_EQ(s.journal().back(), "Application.UserControl = True");
    EXPECT_TRUE(s.excel.allReleased()); // released at the hand-over already
    const std::size_t before = s.journal().size();
    s.workbook.reset();
    EXPECT_EQ(s.journal().size(), before); // no Close, no Quit
}

TEST(ExcelWorkbook, WholeColumnsAreCutToTheUsedRange) {
    Scene s("vantrelo-fake-used.xlsx");
    sheet::Block columns = DataBlock();
    columns.areas = {dupes::BlockGeometry{1, 4, 1048576, 5}};
    EXPECT_EQ(s.workbook->usedPart(columns).geometry(), (dupes::BlockGeometry{1, 4, 6, 5}));
    EXPECT_TRUE(s.has("Worksheet.UsedRange"));
    EXPECT_TRUE(s.closedCleanly());
}
