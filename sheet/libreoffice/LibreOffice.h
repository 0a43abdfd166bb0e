#pragma once

#include "sheet/Spreadsheet.h"
#include "sheet/StopSwitch.h"

#include <chrono>
#include <memory>
#include <string>

namespace sheet::libreoffice {

struct LibreOfficeOptions {
    std::string programDir = LIBREOFFICE_PROGRAM_DIR;
    // No windows at all (tests, the batch command). Without a display the
    // office cannot show a workbook or ask for a block.
    bool headless = false;
    std::chrono::milliseconds startTimeout{60000};
    // Pulling it ends the office at once, from any thread; the call waiting
    // on the office then throws Stopped. May be null.
    std::shared_ptr<StopSwitch> stop;
};

// LibreOffice Calc, each workbook in a private office process of its own.
// MakeSpreadsheet() gives it with the options the program runs with; tests
// and benchmarks choose their own.
std::unique_ptr<Spreadsheet> MakeLibreOffice(LibreOfficeOptions options);

} // namespace sheet::libreoffice
