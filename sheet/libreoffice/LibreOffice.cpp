#include "LibreOffice.h"

#include "CalcWorkbook.h"

namespace sheet::libreoffice {
namespace {

class LibreOfficeSpreadsheet final : public Spreadsheet {
public:
    explicit LibreOfficeSpreadsheet(LibreOfficeOptions options)
        : Spreadsheet(options.stop), options_(std::move(options)) {}

protected:
    std::unique_ptr<Workbook> openInNewInstance(const std::string& path,
                                                const ProgressListener& progress) override {
        return std::make_unique<CalcWorkbook>(options_, path, progress);
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

std::unique_ptr<Spreadsheet> MakeSpreadsheet(std::shared_ptr<StopSwitch> stop, Windows windows) {
    libreoffice::LibreOfficeOptions options;
    options.headless = windows == Windows::None;
    options.stop = std::move(stop);
    return libreoffice::MakeLibreOffice(std::move(options));
}

} // namespace sheet
