#include "LibreOffice.h"

#include "CalcWorkbook.h"
#include "sheet/ThreadBoundWorkbook.h"

namespace sheet::libreoffice {
namespace {

class LibreOfficeSpreadsheet final : public Spreadsheet {
public:
    explicit LibreOfficeSpreadsheet(LibreOfficeOptions options) : options_(std::move(options)) {}

    std::unique_ptr<Workbook> openWorkbook(const std::string& path,
                                           const ProgressListener& progress) override {
        return BindToThisThread(std::make_unique<CalcWorkbook>(options_, path, progress),
                                options_.stop);
    }

private:
    LibreOfficeOptions options_;
};

} // namespace

std::unique_ptr<Spreadsheet> MakeLibreOffice(LibreOfficeOptions options) {
    return std::make_unique<LibreOfficeSpreadsheet>(std::move(options));
}

} // namespace sheet::libreoffice

namespace sheet {

std::unique_ptr<Spreadsheet> MakeSpreadsheet(std::shared_ptr<StopSwitch> stop) {
    libreoffice::LibreOfficeOptions options;
    options.stop = std::move(stop);
    return libreoffice::MakeLibreOffice(std::move(options));
}

} // namespace sheet
