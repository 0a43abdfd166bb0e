#pragma once

#include "Progress.h"
#include "StopSwitch.h"
#include "Workbook.h"

#include <memory>
#include <string>

namespace sheet {

// The spreadsheet application: the one thing the rest of the program knows of
// it. Each call starts a new, private instance; none is ever shared with an
// office the user already runs.
class Spreadsheet {
public:
    virtual ~Spreadsheet() = default;

    // Starts a new instance and opens the workbook at `path` in it, hidden,
    // with macros disabled and no dialog waiting on anyone, telling
    // `progress` of the start and of the load. The workbook belongs to the
    // calling thread (see Workbook). Throws SheetError when the application
    // cannot be started or the file cannot be opened.
    virtual std::unique_ptr<Workbook> openWorkbook(const std::string& path,
                                                   const ProgressListener& progress) = 0;
};

// The backend this build was made with. Pulling `stop` (may be null) ends the
// instances it starts at once, from any thread: the call waiting on one then
// throws Stopped.
std::unique_ptr<Spreadsheet> MakeSpreadsheet(std::shared_ptr<StopSwitch> stop = nullptr);

} // namespace sheet
