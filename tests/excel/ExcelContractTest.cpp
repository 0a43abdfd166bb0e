// The contract cases (tests/sheet/ContractCases.cpp) on the backends of
// Windows: the spreadsheet held in memory, and the Excel backend driving a
// stand-in for Excel's object model that holds the contract book, and
// keeps the fills put on it.
#include "Contract.h"
#include "ContractBook.h"
#include "FakeExcelModel.h"
#include "sheet/excel/Excel.h"

namespace {

const fake::StandInFile& TheContractFile() {
    static const fake::StandInFile file("vantrelo-excel-contract-book.xlsx");
    return file;
}

// Kept for the whole run: a workbook talks to its Excel until it closes.
std::vector<std::unique_ptr<fake::FakeExcelModel>>& StandIns() {
    static std::vector<std::unique_ptr<fake::FakeExcelModel>> excels;
    return excels;
}

std::unique_ptr<sheet::Spreadsheet> ExcelWithStandIn(Answer answer, Stop stop) {
    auto& excel =
        *StandIns().emplace_back(std::make_unique<fake::FakeExcelModel>(std::move(answer)));
    excel.addFile(TheContractFile().path(), ContractBook());
    sheet::excel::ExcelOptions options;
    options.stop = std::move(stop);
    options.start = [&excel] { return excel.start(); };
    return sheet::excel::MakeExcel(std::move(options));
}

const Backend kExcel{
    "Excel", ExcelWithStandIn, [] { return TheContractFile().path().string(); },
    [](sheet::Workbook&, const sheet::Block& block, std::int32_t row, std::int32_t column) {
        return StandIns().back()->fillOf(block.sheetName, row, column);
    }};

} // namespace

INSTANTIATE_TEST_SUITE_P(Backends, Contract, ::testing::Values(MemoryBackend(), kExcel),
                         BackendName);
