#pragma once

#include "StopSwitch.h"
#include "Workbook.h"

#include <memory>

namespace sheet {

// Binds a backend's workbook to the thread calling this, the one that opened
// it: from then on a call from any other thread throws SheetError naming the
// call, for the workbook and for the cells it hands out. Spreadsheet::
// openWorkbook binds every backend's workbooks through this, so the rule
// holds on all of them.
// Once `stop` (may be null) is pulled, every call throws Stopped, also one
// under way that fails, whatever the backend made of its killed application.
std::unique_ptr<Workbook> BindToThisThread(std::unique_ptr<Workbook> workbook,
                                           std::shared_ptr<StopSwitch> stop = nullptr);

} // namespace sheet
