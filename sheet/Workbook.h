#pragma once

#include "Block.h"
#include "Progress.h"
#include "dupes/BlockAccess.h"

#include <cstdint>
#include <functional>
#include <string>

namespace sheet {

// One workbook open in a private instance of the spreadsheet application that
// the program started for it. What every backend promises:
//
// Threads: a workbook, and everything it hands out (the cells of cells()),
// belongs to the thread that opened it, and is used and destroyed on that
// thread only. This is COM's rule for Excel's objects (a single-threaded
// apartment); every backend holds it, so a breach shows on every platform:
// a call from another thread throws SheetError naming the call, and
// destroying a workbook on another thread ends the program, as destroying a
// joinable std::thread does.
//
// Errors: every method throws SheetError (or BlockChoiceCancelled) with a
// message in words a user can act on; the application's own exceptions and
// error codes never leave the backend. After an error the workbook may still
// be destroyed safely.
//
// Lifetime: destroying the workbook closes it without saving and ends the
// instance, on every way out, unless handOverToUser() was called first.
//
// Rows and columns are sheet numbers counted from 1; colours carry red in the
// lowest byte.
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
    // milliseconds on this thread. Throws BlockChoiceCancelled when the user
    // cancels or closes the document, SheetError for any other failure.
    virtual Block askForBlock(const std::string& prompt, const std::string& defaultText,
                              const std::function<void()>& whileWaiting) = 0;

    // The block as text: the worksheet's name, unquoted, "!", and its
    // absolute address ("Data!$B$2:$E$40", areas joined by commas).
    virtual std::string name(const Block& block) = 0;

    // Resolves a block text: "Sheet!$A$1:$C$9", a quoted sheet name, no sheet
    // part (the active sheet), whole columns or rows, several areas.
    virtual Block findBlock(const std::string& text) = 0;

    // The block as far as its worksheet holds content: whole columns and
    // whole rows cut to the sheet's used area (see CutToUsedArea); any other
    // block comes back unchanged.
    virtual Block usedPart(const Block& block) = 0;

    // The value of the block's cell in its first row and the given column
    // (counted from 1 within the block), converted to text; empty for an
    // empty cell. The value, not the formatted display.
    virtual std::string headerValue(const Block& block, std::int32_t column) = 0;

    // The cells of the block's worksheet, reached by their sheet numbers.
    // readTexts() gives display texts, exactly as the application shows them,
    // one per cell asked for, row by row in the order asked. The returned
    // access lives as long as this workbook.
    virtual dupes::BlockAccess& cells(const Block& block) = 0;

    // Saves a copy to `path`, in the format its extension names, telling
    // `progress` how far the save has come. The opened file itself is never
    // written. The copy is made whole in the application's private folder
    // and published at `path` in one step (PublishFile), so nothing of it
    // stands in `path`'s folder until it is complete; an existing file there
    // is replaced only when `replace` is set, and otherwise FileError with
    // EEXIST is thrown.
    virtual void saveCopyAs(const std::string& path, bool replace,
                            const ProgressListener& progress) = 0;

    // Leaves the instance running with the workbook open and unsaved: from now
    // on it is the user's, and destroying this object no longer touches it.
    virtual void handOverToUser() = 0;
};

} // namespace sheet
