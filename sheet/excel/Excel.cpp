#include "Excel.h"

#include "ExcelWorkbook.h"
#include "sheet/ThreadBoundWorkbook.h"

namespace sheet::excel {
namespace {

class ExcelSpreadsheet final : public Spreadsheet {
public:
    explicit ExcelSpreadsheet(ExcelOptions options) : options_(std::move(options)) {}

    std::unique_ptr<Workbook> openWorkbook(const std::string& path,
                                           const ProgressListener& progress) override {
        // Excel reports nothing of its start or load through automation.
        if (progress) {
            progress({Stage::StartingOffice, 0, 0});
        }
        return BindToThisThread(std::make_unique<ExcelWorkbook>(options_, path));
    }

private:
    ExcelOptions options_;
};

} // namespace

std::unique_ptr<Spreadsheet> MakeExcel(ExcelOptions options) {
    return std::make_unique<ExcelSpreadsheet>(std::move(options));
}

} // namespace sheet::excel

namespace sheet {

// Excel has no stop switch yet: a stop waits for the call under way to end,
// so `stop` is not used here.
std::unique_ptr<Spreadsheet> MakeSpreadsheet(std::shared_ptr<StopSwitch> /*stop*/) {
    return excel::MakeExcel(excel::ExcelOptions{});
}

} // namespace sheet
