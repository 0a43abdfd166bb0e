#pragma once

#include "Com.h"
#include "sheet/StopSwitch.h"

#include <memory>

namespace sheet::excel {

// The process of the Excel a workbook was opened in, found through its main
// window (Application.Hwnd), so that a pulled stop switch ends it at once,
// from any thread, even while a call into it waits. The process is opened
// here, once: a later process that reuses its id is never touched.
class ExcelProcess {
public:
    // Asks `application` for its window, on the thread that started it.
    // Throws ComError when Excel does not answer, SheetError when its process
    // cannot be opened.
    ExcelProcess(const Dispatch& application, std::shared_ptr<StopSwitch> stop);
    ~ExcelProcess();
    ExcelProcess(const ExcelProcess&) = delete;
    ExcelProcess& operator=(const ExcelProcess&) = delete;

    // The instance is the user's from now on: the stop switch no longer ends it.
    void handOver() noexcept;

private:
    HANDLE process_ = nullptr;
    StopSwitch::Hook onStop_;
};

} // namespace sheet::excel
