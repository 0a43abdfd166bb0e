#pragma once

#include "Com.h"
#include "sheet/Spreadsheet.h"
#include "sheet/StopSwitch.h"

#include <functional>
#include <memory>
#include <string>

namespace sheet::excel {

struct ExcelOptions {
    // Once pulled (may be null), Excel is ended at once, unless handed over
    // to the user, and every call on the workbooks throws Stopped, also one
    // under way.
    std::shared_ptr<StopSwitch> stop;
    // Test seam: when set, gives the Application object to open workbooks
    // in, instead of starting Excel.
    std::function<Dispatch()> start;
};

// Microsoft Excel, driven as a COM automation server: each workbook opened
// starts a new Excel instance of its own. Windows only.
std::unique_ptr<Spreadsheet> MakeExcel(ExcelOptions options);

} // namespace sheet::excel
