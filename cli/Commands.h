#pragma once

#include "Arguments.h"
#include "sheet/Spreadsheet.h"

#include <ostream>

namespace cli {

// Each opens the workbook in a new instance of `spreadsheet` and ends it
// before returning. Results go to `out`, progress to `err`; failures leave
// as exceptions.
void RunHighlightCommand(const HighlightCommand& command, sheet::Spreadsheet& spreadsheet,
                         std::ostream& out, std::ostream& err);
void RunColumnsCommand(const ColumnsCommand& command, sheet::Spreadsheet& spreadsheet,
                       std::ostream& out);

} // namespace cli
