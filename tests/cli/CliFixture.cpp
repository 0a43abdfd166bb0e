#include "CliFixture.h"

#include "WorkbookMaker.h"

#include "Fills.h"
#include "TestOffice.h"
#include "sheet/BlockText.h"
#include "sheet/OpenExcelWorkbook.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

CliWorkbooks* workbooks = nullptr;

CellValue T(const char* text) {
    return std::string(text);
}

void MakeBook(WorkbookMaker& maker, const std::string& path) {
    const std::vector<std::vector<CellValue>> people{
        {T("Name"), T("City"), T(""), 5.0, T("Last, First"), T("Note")},
        {T("Ann"), T("Oslo"), T("x"), 30.0, T("Lee, Ann"), T("a")},
        {T("Bob"), T("Rome"), T(""), 41.0, T("Ray, Bob"), T("b")},
        {T("Ann"), T("Oslo"), T(""), 31.0, T("Lee, Ann"), T("c")},
        {T("ann"), T("Oslo"), T("x"), 30.0, T("Lee, Ann"), T("a")},
        {T("Ann "), T("Oslo"), T(""), 30.0, T("Lee, Ann"), T("a")},
        {T("Bob"), T("Rome"), T(""), 41.0, T("Ray, Bob"), T("b")},
        {T("Ann"), T("Oslo"), T("x"), 30.0, T("Lee, Ann"), T("q")},
        {T("Name"), T("City"), T(""), 5.0, T("Last, First"), T("n")},
        {T("Cid"), T("Pisa"), T("x"), 2.0, T("Lee, Ann"), T("e")},
    };
    auto doc = maker.create();
    doc.sheet("Intro").text("A1", "The data is on the next sheet.");
    doc.sheet("People").rows("B2", people);
    doc.number("E2", 5, "[$$-409]#,##0.00").format("E3:E11", "0.0");
    doc.text("B12", "Ann").text("C12", "Oslo");
    for (const auto& [cell, fill] : BookFills()) {
        doc.fill(sheet::ColumnLetters(cell.second) + std::to_string(cell.first), *fill);
    }
    doc.sheet("Twice").rows(
        "A1",
        {{T("Name"), T("City"), T("Name")}, {T("a"), T("b"), T("c")}, {T("a"), T("b"), T("d")}});
    doc.saveAs(path);
}

class CliEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        workbooks = new CliWorkbooks;
        char pattern[] = "/tmp/vantrelo-cli-test-XXXXXX";
        workbooks->folder = ::mkdtemp(pattern);
        workbooks->book = (workbooks->folder / "book.xlsx").string();
        workbooks->damaged = (workbooks->folder / "damaged.xlsx").string();
        workbooks->sample = SAMPLE_WORKBOOK;
        std::ofstream(workbooks->damaged) << "PK\x03\x04 not a zip archive at all";
        WorkbookMaker maker;
        MakeBook(maker, workbooks->book);
        for (const std::string* path :
             {&workbooks->book, &workbooks->damaged, &workbooks->sample}) {
            bytes_.emplace_back(*path, Bytes(*path));
        }
    }
    void TearDown() override {
        fs::remove_all(workbooks->folder);
        delete workbooks;
        workbooks = nullptr;
    }
    // No run may ever write a workbook it was given.
    static void ExpectInputsUnchanged() {
        for (const auto& [path, bytes] : bytes_) {
            EXPECT_TRUE(Bytes(path) == bytes) << path << " was changed";
        }
    }

private:
    static inline std::vector<std::pair<std::string, std::string>> bytes_;
};

} // namespace

const CliWorkbooks& Workbooks() {
    return *workbooks;
}

void ExpectInputsUnchanged() {
    CliEnvironment::ExpectInputsUnchanged();
}

::testing::Environment* MakeCliEnvironment() {
    return new CliEnvironment;
}

fs::path Scratch() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(test->test_suite_name()) + "." + test->name();
    std::replace(name.begin(), name.end(), '/', '_');
    const fs::path folder = workbooks->folder / "scratch" / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

std::string Bytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::map<std::string, std::string> Listing(const fs::path& folder) {
    std::map<std::string, std::string> entries;
    for (const auto& entry : fs::directory_iterator(folder)) {
        struct stat info {};
        ::lstat(entry.path().c_str(), &info);
        entries[entry.path().filename().string()] =
            std::to_string(info.st_mode) + " " + std::to_string(info.st_size) + " " +
            std::to_string(info.st_mtim.tv_sec) + "." + std::to_string(info.st_mtim.tv_nsec);
    }
    return entries;
}

sheet::libreoffice::LibreOfficeOptions Headless() {
    sheet::libreoffice::LibreOfficeOptions options;
    options.headless = true;
    return options;
}

Fills FillsAround(sheet::Workbook& workbook, const sheet::Block& block) {
    const auto& g = block.geometry();
    Fills fills;
    for (int row = std::max(1, g.firstRow - 1); row <= g.lastRow + 1; ++row) {
        for (int column = std::max(1, g.firstColumn - 1); column <= g.lastColumn + 1; ++column) {
            fills[{row, column}] = FillOf(workbook, block, row, column);
        }
    }
    return fills;
}

const Fills& BookFills() {
    static const Fills fills{
        {{1, 1}, 0x0000FF}, {{3, 3}, 0x00FF00}, {{5, 6}, 0xFF0000}, {{4, 8}, 0x808080}};
    return fills;
}

CopyShown ReadCopy(const std::string& path, const std::string& blockText) {
    const auto office = MakeTestOffice(Headless());
    const auto workbook = sheet::OpenExcelWorkbook(*office, path);
    const sheet::Block block = workbook->findBlock(blockText);
    const dupes::BlockGeometry& g = block.geometry();
    std::vector<std::int32_t> columns;
    for (std::int32_t column = g.firstColumn; column <= g.lastColumn; ++column) {
        columns.push_back(column);
    }
    dupes::TextTable texts;
    workbook->cells(block).readTexts(g.firstRow, g.lastRow - g.firstRow + 1, columns, texts);
    memory_sheet::Rows rows;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (i % columns.size() == 0) {
            rows.emplace_back();
        }
        rows.back().emplace_back(texts.cell(i));
    }
    CopyShown copy{FillsAround(*workbook, block), {}};
    copy.texts.sheets.push_back({block.sheetName, {}});
    copy.texts.sheets.back().place(g.firstRow, g.firstColumn, rows);
    return copy;
}
