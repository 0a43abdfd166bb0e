#include "Excel.h"

#include "ExcelWorkbook.h"

namespace sheet::excel {
namespace {

class ExcelSpreadsheet final : public Spreadsheet {
public:
    explicit ExcelSpreadsheet(ExcelOptions options)
        : Spreadsheet(options.stop), options_(std::move(options)) {}

protected:
    std::unique_ptr<Workbook> openInNewInstance(const std::string& path,
                                                const ProgressListener& progress) override {
        return std::make_unique<ExcelWorkbook>(options_, path, progress);
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
// Automation starts Excel hidden, and it shows a window only when asked,
// so both kinds of use start it alike.
std::unique_ptr<Spreadsheet> MakeSpreadsheet(std::shared_ptr<StopSwitch> stop, Windows) {
    excel::ExcelOptions options;
    options.stop = std::move(stop);
    return excel::MakeExcel(std::move(options));
}

} // namespace sheet
