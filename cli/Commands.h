#pragma once

#include "Arguments.h"
#include "sheet/Spreadsheet.h"
#include "sheet/StopSwitch.h"

#include <functional>
#include <memory>

#include <ostream>

namespace cli {

// Makes the spreadsheet application a command works in; pulling `stop`
// (Ctrl+C, a termination request) ends its office at once.
using SpreadsheetMaker =
    std::function<std::unique_ptr<sheet::Spreadsheet>(std::shared_ptr<sheet::StopSwitch> stop)>;

// Each opens the workbook in a new instance of the spreadsheet and ends it
// before returning. Results go to `out`, progress to `err`; failures leave
// as exceptions.
void RunHighlightCommand(const HighlightCommand& command, const SpreadsheetMaker& makeSpreadsheet,
                         std::ostream& out, std::ostream& err);
void RunColumnsCommand(const ColumnsCommand& command, const SpreadsheetMaker& makeSpreadsheet,
                       std::ostream& out);

} // namespace cli
