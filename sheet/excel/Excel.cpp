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
        return BindToThisThread(std::make_unique<ExcelWorkbook>(options_, path, progress),
                                options_.stop);
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

// A stop ends the Excel of every workbook not yet handed over, at once.
std::unique_ptr<Spreadsheet> MakeSpreadsheet(std::shared_ptr<StopSwitch> stop) {
    excel::ExcelOptions options;
    options.stop = std::move(stop);
    return excel::MakeExcel(std::move(options));
}

} // namespace sheet
