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
    // calling thread (see Workbook): it is bound to it here, whatever the
    // backend, so that no backend can leave it out. Throws SheetError when
    // the application cannot be started or the file cannot be opened.
    std::unique_ptr<Workbook> openWorkbook(const std::string& path,
                                           const ProgressListener& progress = {});

protected:
    // Once `stop` (may be null) is pulled, every call on a workbook opened
    // here throws Stopped; the backend ends its instances itself.
    explicit Spreadsheet(std::shared_ptr<StopSwitch> stop);

    // The backend's own open, with the promises of openWorkbook but the
    // binding to the thread, which openWorkbook adds. Called on the thread
    // the workbook will belong to.
    virtual std::unique_ptr<Workbook> openInNewInstance(const std::string& path,
                                                        const ProgressListener& progress) = 0;

private:
    std::shared_ptr<StopSwitch> stop_;
};

// Whether the instances a spreadsheet starts may show windows.
enum class Windows {
    Shown, // the window's actions: the workbook is shown, a block is marked in it
    None,  // the batch command: no display is needed, and nothing is shown
};

// The backend this build was made with, the one place where it is chosen.
// Pulling `stop` (may be null) ends the instances it starts at once, from
// any thread: the call waiting on one then throws Stopped.
std::unique_ptr<Spreadsheet> MakeSpreadsheet(std::shared_ptr<StopSwitch> stop = nullptr,
                                             Windows windows = Windows::Shown);

} // namespace sheet
