#include "BeneathBinding.h"

#include "sheet/SheetError.h"

#include <utility>

namespace {

// The test workbook that answered this thread's latest cells() call.
thread_local BeneathBinding* tAnswered = nullptr;

} // namespace

void BeneathBinding::answeredCells() {
    tAnswered = this;
}

BeneathBinding& Beneath(sheet::Workbook& workbook, const sheet::Block& block) {
    tAnswered = nullptr;
    workbook.cells(block);
    BeneathBinding* const beneath = std::exchange(tAnswered, nullptr);
    if (beneath == nullptr) {
        throw sheet::SheetError("the workbook is no test workbook: its fills cannot be read");
    }
    return *beneath;
}
