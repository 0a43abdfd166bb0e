// What every backend of the gateway promises, checked on each the same way;
// the backends are listed per platform (ContractTest.cpp, and on Windows
// tests/excel/ExcelContractTest.cpp).
#include "Contract.h"
#include "ContractBook.h"
#include "Fills.h"
#include "MessageOf.h"
#include "sheet/ColumnList.h"
#include "sheet/HighlightBlock.h"
#include "sheet/OpenExcelWorkbook.h"
#include "sheet/SheetError.h"

#include <filesystem>
#include <mutex>
#include <optional>
#include <vector>

using sheet::Block;

namespace {

std::unique_ptr<sheet::Spreadsheet> MemoryWithContractBook(Answer answer, Stop stop) {
    // Kept for the whole test run: a borrowed one goes with its spreadsheet.
    static std::vector<std::unique_ptr<memory_sheet::MemorySpreadsheet>> memories;
    auto& memory = memories.emplace_back(std::make_unique<memory_sheet::MemorySpreadsheet>());
    memory->files["contract.xlsx"] = ContractBook();
    memory->answerBlockChoice = std::move(answer);
    return memory_sheet::Borrowed(*memory, std::move(stop));
}

} // namespace

Backend MemoryBackend() {
    return {"Memory", MemoryWithContractBook, [] { return std::string("contract.xlsx"); }, FillOf};
}

std::unique_ptr<sheet::Workbook> Contract::open(Answer answer) {
    spreadsheet_ = GetParam().make(std::move(answer), nullptr);
    return sheet::OpenExcelWorkbook(*spreadsheet_, GetParam().path());
}

TEST_P(Contract, FindsNamesAndListsBlocksOfEveryShape) {
    const auto book = open();
    const Block block = book->findBlock("Data!$C$5:$F$9");
    EXPECT_EQ(block.sheetName, "Data");
    EXPECT_EQ(block.geometry(), (dupes::BlockGeometry{5, 3, 9, 6}));
    EXPECT_EQ(book->name(block), "Data!$C$5:$F$9");
    EXPECT_EQ(sheet::ColumnList(*book, block),
              (std::vector<std::string>{"Name", "<Blank Column 2>", "Code", "City"}));

    const Block quoted = book->findBlock("'My Data'!B2");
    EXPECT_EQ(quoted.sheetIndex, 1);
    EXPECT_EQ(book->name(quoted), "My Data!$B$2");
    EXPECT_EQ(book->headerValue(quoted, 1), "Solo");
    EXPECT_EQ(book->findBlock("$D$6").sheetName, "Data"); // the sheet it opens on
    EXPECT_EQ(book->name(book->findBlock("Data!$A:$C")), "Data!$A:$C");
    // Whole columns end where the sheet's content ends; a block does not.
    EXPECT_EQ(book->usedPart(book->findBlock("Data!$C:$F")).geometry(),
              (dupes::BlockGeometry{1, 3, 9, 6}));
    EXPECT_EQ(book->usedPart(block).geometry(), block.geometry());
    EXPECT_EQ(book->name(book->findBlock("Data!$A$1:$B$2,$D$4")), "Data!$A$1:$B$2,$D$4");

    EXPECT_NE(MessageOf([&] { book->findBlock("Nowhere!$A$1"); }).find("\"Nowhere\""),
              std::string::npos);
    for (const char* text : {"Nowhere!$A$1", "Data!$A$0", "", "Data!A1:B"}) {
        EXPECT_NE(MessageOf([&] { book->findBlock(text); }).find("cannot be used"),
                  std::string::npos)
            << text;
    }
    EXPECT_NE(MessageOf([&] {
                  sheet::ColumnList(*book, book->findBlock("Data!$A$1,$C$3"));
              }).find("separate areas"),
              std::string::npos);
}

TEST_P(Contract, BulkTextsEqualCellTextsAndFillsLandOnTheirCells) {
    const auto book = open();
    const Block block = book->findBlock("Data!$C$5:$F$9");
    auto& cells = book->cells(block);
    dupes::TextTable texts;
    const std::vector<std::int32_t> columns{6, 3, 4}; // out of order on purpose
    cells.readTexts(6, 4, columns, texts);
    ASSERT_EQ(texts.size(), 12u);
    std::size_t i = 0;
    for (std::int32_t row = 6; row <= 9; ++row) {
        for (const std::int32_t column : columns) {
            EXPECT_EQ(texts.cell(i++), cells.cellText(row, column)) << row << "," << column;
        }
    }
    EXPECT_EQ(texts.cell(9), "Oslo ");

    cells.colourSpans({{6, 3, 4}, {7, 3, 4}, {9, 6, 6}}, 0x0000FF);
    for (std::int32_t row = 4; row <= 10; ++row) {
        for (std::int32_t column = 2; column <= 7; ++column) {
            const bool coloured = ((row == 6 || row == 7) && (column == 3 || column == 4)) ||
                                  (row == 9 && column == 6);
            EXPECT_EQ(fillOf(*book, block, row, column),
                      coloured ? std::optional<std::uint32_t>(0x0000FF) : std::nullopt)
                << row << "," << column;
        }
    }
}

// Strings, numbers, dates, errors and empty cells under General, text,
// date, custom and mixed formats: bulk reads show what each cell shows, read
// whole and from below the header, out of order and with gaps, and cell by
// cell.
TEST_P(Contract, BulkTextsEqualCellTextsForEveryKindOfCell) {
    const auto book = open();
    auto& cells = book->cells(book->findBlock("Mixed!$A$1:$G$6"));
    for (const std::vector<std::int32_t>& columns :
         {std::vector<std::int32_t>{5, 1, 7, 3, 2, 6, 4}, std::vector<std::int32_t>{6, 2, 4}}) {
        for (const std::int32_t firstRow : {1, 2}) {
            dupes::TextTable texts;
            cells.readTexts(firstRow, 7 - firstRow, columns, texts);
            ASSERT_EQ(texts.size(), columns.size() * static_cast<std::size_t>(7 - firstRow));
            std::size_t i = 0;
            for (std::int32_t row = firstRow; row <= 6; ++row) {
                for (const std::int32_t column : columns) {
                    EXPECT_EQ(texts.cell(i++), cells.cellText(row, column)) << row << "," << column;
                }
            }
        }
    }
    for (std::int32_t row = 1; row <= 6; ++row) {
        for (std::int32_t column = 1; column <= 7; ++column) {
            dupes::TextTable one;
            cells.readTexts(row, 1, {column}, one);
            EXPECT_EQ(one.cell(0), cells.cellText(row, column)) << row << "," << column;
        }
    }
    // The display, not the value: a text section frames it, a format pads it.
    EXPECT_EQ(cells.cellText(2, 5), "<abc>");
    EXPECT_EQ(cells.cellText(4, 6), "3.00");
}

TEST_P(Contract, HighlightsOneBlockAndRefusesSeveralAreas) {
    const auto book = open();
    const Block block = book->findBlock("Data!$C$5:$F$9");
    const dupes::HighlightOptions options{dupes::RunKind::AllDuplicates,
                                          {true, false, false, true},
                                          dupes::HighlightColour::Green,
                                          false};
    EXPECT_EQ(sheet::HighlightBlock(*book, block, options), (dupes::RunSummary{5, 2, 1, 4}));
    for (const std::int32_t row : {6, 8}) {
        EXPECT_EQ(fillOf(*book, block, row, 3), 0x00FF00u);
        EXPECT_EQ(fillOf(*book, block, row, 6), 0x00FF00u);
        EXPECT_EQ(fillOf(*book, block, row, 4), std::nullopt);
    }
    EXPECT_EQ(fillOf(*book, block, 9, 6), std::nullopt); // "Oslo " is not "Oslo"

    const Block areas = book->findBlock("Data!$C$5:$F$9,$H$1");
    EXPECT_NE(
        MessageOf([&] { sheet::HighlightBlock(*book, areas, options); }).find("separate areas"),
        std::string::npos);
}

TEST_P(Contract, AsksForABlockOfferingTheDefaultAndReportsACancel) {
    std::vector<std::string> offered;
    std::vector<std::optional<std::string>> answers{"Data!$D$6:$E$7", std::nullopt};
    const auto book = open([&](const std::string& text) {
        offered.push_back(text);
        const auto answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    });
    book->show();
    const Block block = book->askForBlock("Highlight a block of cells with mouse", "Data!$C$5", {});
    EXPECT_EQ(book->name(block), "Data!$D$6:$E$7");
    EXPECT_THROW(book->askForBlock("Highlight a block of cells with mouse", "", {}),
                 sheet::BlockChoiceCancelled);
    EXPECT_EQ(offered, (std::vector<std::string>{"Data!$C$5", ""}));
}

// Every stage of a run is told, in order, whichever backend works it; the
// office tells of loading and saving from a thread of its own.
TEST_P(Contract, TellsEveryStageOfARunInOrder) {
    std::mutex mutex;
    std::vector<sheet::Stage> stages;
    const sheet::ProgressListener listener = [&](const sheet::Progress& progress) {
        const std::lock_guard lock(mutex);
        if (stages.empty() || stages.back() != progress.stage) {
            stages.push_back(progress.stage);
        }
    };
    const auto spreadsheet = GetParam().make({}, nullptr);
    const auto book = sheet::OpenExcelWorkbook(*spreadsheet, GetParam().path(), listener);
    const Block block = book->findBlock("Data!$C$5:$F$9");
    sheet::HighlightBlock(*book, block, {dupes::RunKind::ExceptFirst, {true, false, false, true}},
                          listener);
    const auto copy =
        std::filesystem::temp_directory_path() / ("vantrelo-contract-" + GetParam().name + ".xlsx");
    book->saveCopyAs(copy.string(), true, listener);
    std::filesystem::remove(copy);
    using sheet::Stage;
    const std::lock_guard lock(mutex);
    EXPECT_EQ(stages,
              (std::vector<Stage>{Stage::StartingOffice, Stage::LoadingWorkbook, Stage::ReadingRows,
                                  Stage::FindingRepeats, Stage::Colouring, Stage::SavingCopy}));
}

TEST_P(Contract, RefusesAMissingWorkbookInWords) {
    const auto spreadsheet = GetParam().make({}, nullptr);
    EXPECT_NE(MessageOf([&] {
                  sheet::OpenExcelWorkbook(*spreadsheet, "/nowhere/book.xlsx");
              }).find("does not exist"),
              std::string::npos);
}
