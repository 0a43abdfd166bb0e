#pragma once

#include "dupes/BlockAccess.h"
#include "sheet/Block.h"
#include "sheet/Workbook.h"

#include <cstdint>
#include <optional>

// What tests reach beneath the gateway's thread binding, where a test
// workbook wraps or stands in for a backend's own: the fills of cells,
// which the runs never read and the gateway so does not offer, and the
// backend's own cells, for what they count.
class BeneathBinding {
public:
    // The fill of one cell of the block's worksheet, or none when it has none.
    virtual std::optional<std::uint32_t> fillOf(const sheet::Block& block, std::int32_t row,
                                                std::int32_t column) = 0;
    virtual dupes::BlockAccess& backendCells(const sheet::Block& block) = 0;

protected:
    ~BeneathBinding() = default;
    // Every cells() of a test workbook calls this, so that Beneath() finds it.
    void answeredCells();
};

// The test workbook beneath `workbook`'s binding, found by asking `workbook`
// for the block's cells: the call goes through the binding, thread check
// and all, and the test workbook that answers notes itself for this thread.
// Throws SheetError for a workbook with none beneath it.
BeneathBinding& Beneath(sheet::Workbook& workbook, const sheet::Block& block);
