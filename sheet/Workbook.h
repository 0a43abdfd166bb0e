#pragma once

#include "Block.h"
#include "dupes/BlockAccess.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace sheet {

// One workbook open in a private instance of the spreadsheet application that
// the program started for it. Destroying it closes the workbook without saving
// and ends the instance, unless handOverToUser() was called first.
//
// Rows and columns are sheet numbers counted from 1; colours carry red in the
// lowest byte. Every method throws SheetError on failure.
class Workbook {
public:
    virtual ~Workbook() = default;
    Workbook() = default;
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    // Makes the workbook's window visible and brings it to the front.
    virtual void show() = 0;

    // Asks the user to mark a block in the shown workbook, with `prompt` as
    // the title and `defaultText` (a block text as name() gives it, or empty)
    // offered. Waits for the answer, calling `whileWaiting` every few
    // milliseconds so the caller's own window can keep painting. Throws
    // BlockChoiceCancelled when the user cancels or closes the document.
    virtual Block askForBlock(const std::string& prompt, const std::string& defaultText,
                              const std::function<void()>& whileWaiting) = 0;

    // The block as text: the worksheet's name, unquoted, "!", and its
    // absolute address ("Data!$B$2:$E$40", areas joined by commas).
    virtual std::string name(const Block& block) = 0;

    // Resolves a block text: "Sheet!$A$1:$C$9", a quoted sheet name, no sheet
    // part (the active sheet), whole columns or rows, several areas.
    virtual Block findBlock(const std::string& text) = 0;

    // The value of the block's cell in its first row and the given column
    // (counted from 1 within the block), converted to text; empty for an
    // empty cell. The value, not the formatted display.
    virtual std::string headerValue(const Block& block, std::int32_t column) = 0;

    // The cells of the block's worksheet, reached by their sheet numbers.
    // The returned access lives as long as this workbook.
    virtual dupes::BlockAccess& cells(const Block& block) = 0;

    // The fill of one cell of the block's worksheet, or none when it has no fill.
    virtual std::optional<std::uint32_t> fillOf(const Block& block, std::int32_t row,
                                                std::int32_t column) = 0;

    // Saves a copy to `path`, in the format its extension names. The opened
    // file itself is never written.
    virtual void saveCopyAs(const std::string& path) = 0;

    // Leaves the instance running with the workbook open and unsaved: from now
    // on it is the user's, and destroying this object no longer touches it.
    virtual void handOverToUser() = 0;
};

} // namespace sheet
