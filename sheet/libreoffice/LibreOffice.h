#pragma once

#include "sheet/Spreadsheet.h"
#include "sheet/StopSwitch.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
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
    // Test seam for the one thing a person does: when set, askForBlock asks
    // this instead of the user. It gets the default text and answers a
    // block text, or none for a cancel.
    std::function<std::optional<std::string>(const std::string& defaultText)> answerBlockChoice;
};

std::unique_ptr<Spreadsheet> MakeLibreOffice(LibreOfficeOptions options);

} // namespace sheet::libreoffice
