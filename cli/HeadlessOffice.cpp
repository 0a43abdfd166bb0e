#include "HeadlessOffice.h"

#ifdef _WIN32
#include "sheet/excel/Excel.h"
#else
#include "sheet/libreoffice/LibreOffice.h"
#endif

namespace cli {

std::unique_ptr<sheet::Spreadsheet> HeadlessOffice(std::shared_ptr<sheet::StopSwitch> stop) {
#ifdef _WIN32
    sheet::excel::ExcelOptions options;
    options.stop = std::move(stop);
    return sheet::excel::MakeExcel(std::move(options));
#else
    sheet::libreoffice::LibreOfficeOptions options;
    options.headless = true;
    options.stop = std::move(stop);
    return sheet::libreoffice::MakeLibreOffice(std::move(options));
#endif
}

} // namespace cli
