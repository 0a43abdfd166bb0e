#include "Spreadsheet.h"

#include "ThreadBoundWorkbook.h"

#include <utility>

namespace sheet {

Spreadsheet::Spreadsheet(std::shared_ptr<StopSwitch> stop) : stop_(std::move(stop)) {}

std::unique_ptr<Workbook> Spreadsheet::openWorkbook(const std::string& path,
                                                    const ProgressListener& progress) {
    return BindToThisThread(openInNewInstance(path, progress), stop_);
}

} // namespace sheet
