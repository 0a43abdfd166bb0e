#include "HeadlessOffice.h"

#ifdef _WIN32
#include "sheet/excel/Excel.h"
#else
#include "sheet/libreoffice/LibreOffice.h"
#endif

namespace cli {

std::unique_ptr<sheet::Spreadsheet> HeadlessOffice() {
#ifdef _WIN32
    return sheet::excel::MakeExcel(sheet::excel::ExcelOptions{});
#else
    sheet::libreoffice::LibreOfficeOptions options;
    options.headless = true;
    return sheet::libreoffice::MakeLibreOffice(std::move(options));
#endif
}

} // namespace cli
