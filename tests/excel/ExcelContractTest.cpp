// The contract cases (tests/sheet/ContractCases.cpp) on the backends of
// Windows: the spreadsheet held in memory, and the Excel backend driving a
// stand-in for Excel's object model that holds the contract book.
#include "Contract.h"
#include "ContractBook.h"
#include "FakeExcelModel.h"
#include "TestOffice.h"

#include <fstream>

namespace {

// The file the backend opens, which it checks exists before it starts
// Excel; the stand-in answers its content, never reading it.
class ContractFile {
public:
    ContractFile()
        : path_(std::filesystem::temp_directory_path() / "vantrelo-excel-contract-book.xlsx") {
        std::ofstream(path_) << "read by the stand-in for Excel only";
    }
    ContractFile(const ContractFile&) = delete;
    ContractFile& operator=(const ContractFile&) = delete;
    ~ContractFile() {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

const ContractFile& TheContractFile() {
    static const ContractFile file;
    return file;
}

std::unique_ptr<sheet::Spreadsheet> ExcelWithStandIn(Answer answer, Stop stop) {
    // Kept for the whole run: a workbook talks to its Excel until it closes.
    static std::vector<std::unique_ptr<fake::FakeExcelModel>> excels;
    auto& excel = *excels.emplace_back(std::make_unique<fake::FakeExcelModel>(std::move(answer)));
    excel.addFile(TheContractFile().path(), ContractBook());
    sheet::excel::ExcelOptions options;
    options.stop = std::move(stop);
    options.start = [&excel] { return excel.start(); };
    // The stand-in answers the input box: no answer is put in its place.
    return MakeTestOffice(std::move(options));
}

const Backend kExcel{"Excel", ExcelWithStandIn, [] { return TheContractFile().path().string(); }};

} // namespace

INSTANTIATE_TEST_SUITE_P(Backends, Contract, ::testing::Values(MemoryBackend(), kExcel),
                         BackendName);
