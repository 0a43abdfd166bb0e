#pragma once

#include "sheet/Spreadsheet.h"

#include <memory>

namespace cli {

// The spreadsheet application of this build, started so that it needs no
// display and shows nothing: a headless LibreOffice, or on Windows an Excel
// instance, which automation starts hidden anyway.
std::unique_ptr<sheet::Spreadsheet> HeadlessOffice();

} // namespace cli
