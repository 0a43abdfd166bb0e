#pragma once

#include "Com.h"
#include "sheet/StopSwitch.h"

#include <memory>

namespace sheet::excel {

// The process of the Excel a workbook was opened in, found through its main
// window (Application.Hwnd). It dies with ours however ours ends, killed
// too: it is put in a job that ends its processes when its last handle
// closes, which the system does for a process that dies. A pulled stop
// switch ends it at once, from any thread, even while a call into it waits.
// The process is opened here, once: a later process that reuses its id is
// never touched.
class ExcelProcess {
public:
    // Asks `application` for its window, on the thread that started it.
    // Throws ComError when Excel does not answer, SheetError when its process
    // cannot be opened or tied to ours.
    ExcelProcess(const Dispatch& application, std::shared_ptr<StopSwitch> stop);
    // Unless handed over, waits a while for an Excel told to quit to end on
    // its own, then ends it.
    ~ExcelProcess();
    ExcelProcess(const ExcelProcess&) = delete;
    ExcelProcess& operator=(const ExcelProcess&) = delete;

    // The instance is the user's from now on: neither the stop switch nor
    // the end of our process ends it.
    void handOver() noexcept;

private:
    void tieToOurProcess();

    HANDLE process_ = nullptr;
    HANDLE job_ = nullptr;
    StopSwitch::Hook onStop_;
};

} // namespace sheet::excel
