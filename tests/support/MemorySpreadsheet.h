#pragma once

#include "dupes/BlockGeometry.h"
#include "sheet/Spreadsheet.h"
#include "sheet/StopSwitch.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace memory_sheet {

using Cell = std::pair<std::int32_t, std::int32_t>; // sheet row, sheet column, from 1
using Rows = std::vector<std::vector<std::string>>;

// What lies beneath a cell's display text, for a stand-in of an application
// that answers values and formats (Excel's Value2 and NumberFormat); the
// memory backend shows the texts alone. A cell without one holds its display
// text as a string, in the General format.
struct Content {
    enum class Kind { Text, Number, Error };
    Kind kind = Kind::Text;
    std::string format = "General";
    std::string text;       // Text: the value, which the format may show otherwise;
                            // empty for a blank cell that has only the format
    double number = 0;      // Number, a date as its serial
    std::int32_t error = 0; // Error: Excel's number for it, 2007 for #DIV/0!
};

// One worksheet: the display texts of its cells; a cell never set is empty.
// Its header values are its texts too: the memory backend has no formats.
struct Sheet {
    std::string name;
    std::map<Cell, std::string> texts;
    std::map<Cell, Content> contents = {}; // so that {name, texts} still names a whole sheet

    // Puts `rows` on the sheet with their first text at (topRow, leftColumn).
    Sheet& place(std::int32_t topRow, std::int32_t leftColumn, const Rows& rows);
    std::string text(std::int32_t row, std::int32_t column) const;
    // The smallest area holding every cell with a text; none on an empty sheet.
    std::optional<dupes::BlockGeometry> usedArea() const;
};

// What a workbook file holds, as far as the program can see it.
struct Book {
    std::vector<Sheet> sheets; // the first is the active one
};

// Failures to raise on demand, each with the message it raises.
struct Faults {
    std::optional<std::string> openFails;
    std::optional<std::string> blockRefused; // findBlock and askForBlock
    // A read fails once this many rows have been read in the run.
    std::optional<std::int64_t> readFailsAfterRows;
    std::optional<std::string> colourRefused;
    std::optional<std::string> saveFails;
};

// What happened to the workbooks of one spreadsheet, kept after they close.
struct Record {
    int opened = 0;
    int closed = 0; // ended without a hand-over
    int shown = 0;
    int handedOver = 0;
    std::vector<std::string> offeredDefaults;                   // what each block choice offered
    std::map<std::string, std::map<Cell, std::uint32_t>> fills; // by sheet name
    std::vector<std::string> savedCopies;
    std::vector<std::string> calls; // every gateway call, in order
};

// A spreadsheet application held in memory, keeping the whole contract of the
// gateway (threads, errors in words, hand-over), for fast tests of the window
// and the batch command and of every failure path.
class MemorySpreadsheet final : public sheet::Spreadsheet {
public:
    MemorySpreadsheet() : Spreadsheet(nullptr), record_(std::make_shared<Record>()) {}

    // The files this spreadsheet can open, by path.
    std::map<std::string, Book> files;
    Faults faults;
    // Stands in for the person marking a block: gets the offered text and
    // answers a block text, or none for a cancel.
    std::function<std::optional<std::string>(const std::string& offered)> answerBlockChoice;
    // Called, on the workbook's thread, at every gateway call by name; a
    // test may hold the call here (HoldCall) or throw to fail it.
    std::function<void(const std::string& call)> onCall;

    const Record& record() const { return *record_; }

    // openInNewInstance with an instance that, as a real backend's does with
    // its options' switch, ends at once when `stop` (may be null) is pulled:
    // a call held in onCall is let go and fails with sheet::Stopped, as does
    // every call after it. For Borrowed().
    std::unique_ptr<sheet::Workbook> openUnbound(const std::string& path,
                                                 const sheet::ProgressListener& progress,
                                                 std::shared_ptr<sheet::StopSwitch> stop);

protected:
    std::unique_ptr<sheet::Workbook>
    openInNewInstance(const std::string& path, const sheet::ProgressListener& progress) override;

private:
    std::shared_ptr<Record> record_;
};

// A spreadsheet that opens through `memory`, for code that owns the
// spreadsheet it is given (the window makes one per action), with the
// action's stop switch (may be null).
std::unique_ptr<sheet::Spreadsheet> Borrowed(MemorySpreadsheet& memory,
                                             std::shared_ptr<sheet::StopSwitch> stop = nullptr);

// For onCall: holds the gateway call under way, as an office that does not
// answer holds it, until `released` says so or the stop switch of the call's
// workbook is pulled, which lets it go as killing the office does. Gives up
// with a SheetError after `limit`, so that a test that never lets go fails
// instead of hanging.
void HoldCall(const std::function<bool()>& released,
              std::chrono::milliseconds limit = std::chrono::seconds(20));

} // namespace memory_sheet
