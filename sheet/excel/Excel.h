#pragma once

#include "Com.h"
#include "sheet/Spreadsheet.h"
#include "sheet/StopSwitch.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace sheet::excel {

struct ExcelOptions {
    // Test seam for the one thing a person does: when set, askForBlock asks
    // this instead of showing Excel's input box. It gets the default text and
    // answers a block text, or none for a cancel.
    std::function<std::optional<std::string>(const std::string& defaultText)> answerBlockChoice;
    // Once pulled (may be null), every later call on the workbooks throws
    // Stopped. Excel is not ended: a call under way runs to its end.
    std::shared_ptr<StopSwitch> stop;
    // Test seam: when set, gives the Application object to open workbooks
    // in, instead of starting Excel.
    std::function<Dispatch()> start;
};

// Microsoft Excel, driven as a COM automation server: each workbook opened
// starts a new Excel instance of its own. Windows only.
std::unique_ptr<Spreadsheet> MakeExcel(ExcelOptions options);

} // namespace sheet::excel
