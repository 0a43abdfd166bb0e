#pragma once

#include "sheet/Spreadsheet.h"
#include "sheet/StopSwitch.h"

#include <memory>

namespace cli {

// The spreadsheet application of this build, started so that it needs no
// display and shows nothing: a headless LibreOffice, or on Windows an Excel
// instance, which automation starts hidden anyway. Pulling `stop` kills the
// office at once (not yet on Windows, where it is ignored).
std::unique_ptr<sheet::Spreadsheet> HeadlessOffice(std::shared_ptr<sheet::StopSwitch> stop);

} // namespace cli
