#pragma once

#include "Com.h"
#include "Excel.h"
#include "ExcelCells.h"
#include "ExcelProcess.h"
#include "sheet/BlockText.h"
#include "sheet/Workbook.h"

#include <map>
#include <memory>

namespace sheet::excel {

// Starts a new Excel instance, never attaching to a running one, and answers
// its Application object. Throws SheetError saying Excel could not be started.
Dispatch StartExcel();

// A workbook open in an Excel instance started for it alone. COM ties the
// instance's objects to the thread that started it: use it there only.
class ExcelWorkbook final : public Workbook {
public:
    // Opens in the Application object the options' `start` gives (tests
    // hand in a stand-in for Excel), or else in a new Excel.
    ExcelWorkbook(const ExcelOptions& options, const std::string& path,
                  const ProgressListener& progress = {});
    ~ExcelWorkbook() override;

    void show() override;
    // Excel's input box is modal and this call waits inside it, so
    // `whileWaiting` is never called; while COM waits for the answer it still
    // lets the caller's windows repaint.
    Block askForBlock(const std::string& prompt, const std::string& defaultText,
                      const std::function<void()>& whileWaiting) override;
    std::string name(const Block& block) override;
    Block findBlock(const std::string& text) override;
    Block usedPart(const Block& block) override;
    std::string headerValue(const Block& block, std::int32_t column) override;
    dupes::BlockAccess& cells(const Block& block) override;
    void saveCopyAs(const std::string& path, bool replace,
                    const ProgressListener& progress) override;
    void handOverToUser() override;

private:
    void open(const std::string& path);
    void closeAndQuit() noexcept;
    Dispatch sheetAt(std::int32_t index);
    Block blockOf(const Dispatch& range);
    void checkInsideSheet(const ParsedBlockText& parsed, const std::string& text);
    ExcelCells& cellsOf(std::int32_t sheetIndex);
    Dispatch copyOfWorkbook();

    ExcelOptions options_;
    // Declared first so that it goes last, after every reference is released.
    ComApartment apartment_;
    RetryRejectedCalls retry_;
    std::unique_ptr<ExcelProcess> process_; // ends Excel when the stop switch is pulled
    Dispatch application_;
    Dispatch workbook_;
    std::map<std::int32_t, std::unique_ptr<ExcelCells>> cells_;
    bool handedOver_ = false;
};

} // namespace sheet::excel
