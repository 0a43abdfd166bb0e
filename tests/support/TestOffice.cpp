#include "TestOffice.h"

#include "BeneathBinding.h"
#include "sheet/SheetError.h"

#include "sheet/libreoffice/CalcCells.h"
#include "sheet/libreoffice/CalcWorkbook.h"

#include <utility>

namespace {

using sheet::libreoffice::CalcCells;
using sheet::libreoffice::CalcWorkbook;
using sheet::libreoffice::LibreOfficeOptions;

// The backend's workbook, passed every call but askForBlock when an answer
// stands in for the person.
class TestWorkbook final : public sheet::Workbook, public BeneathBinding {
public:
    TestWorkbook(std::unique_ptr<sheet::Workbook> backend, BlockAnswer answer)
        : backend_(std::move(backend)), answer_(std::move(answer)) {}

    void show() override { backend_->show(); }
    sheet::Block askForBlock(const std::string& prompt, const std::string& defaultText,
                             const std::function<void()>& whileWaiting) override {
        if (!answer_) {
            return backend_->askForBlock(prompt, defaultText, whileWaiting);
        }
        const std::optional<std::string> answer = answer_(defaultText);
        if (!answer) {
            throw sheet::BlockChoiceCancelled("The block choice was cancelled.");
        }
        return backend_->findBlock(*answer);
    }
    std::string name(const sheet::Block& block) override { return backend_->name(block); }
    sheet::Block findBlock(const std::string& text) override { return backend_->findBlock(text); }
    sheet::Block usedPart(const sheet::Block& block) override { return backend_->usedPart(block); }
    std::string headerValue(const sheet::Block& block, std::int32_t column) override {
        return backend_->headerValue(block, column);
    }
    dupes::BlockAccess& cells(const sheet::Block& block) override {
        dupes::BlockAccess& cells = backend_->cells(block);
        answeredCells();
        return cells;
    }
    void saveCopyAs(const std::string& path, bool replace,
                    const sheet::ProgressListener& progress) override {
        backend_->saveCopyAs(path, replace, progress);
    }
    void handOverToUser() override { backend_->handOverToUser(); }

    std::optional<std::uint32_t> fillOf(const sheet::Block& block, std::int32_t row,
                                        std::int32_t column) override {
        return dynamic_cast<CalcCells&>(backend_->cells(block)).fillOf(row, column);
    }
    dupes::BlockAccess& backendCells(const sheet::Block& block) override {
        return backend_->cells(block);
    }

private:
    std::unique_ptr<sheet::Workbook> backend_;
    BlockAnswer answer_;
};

class TestOffice final : public sheet::Spreadsheet {
public:
    TestOffice(LibreOfficeOptions options, BlockAnswer answer)
        : Spreadsheet(options.stop), options_(std::move(options)), answer_(std::move(answer)) {}

protected:
    std::unique_ptr<sheet::Workbook>
    openInNewInstance(const std::string& path, const sheet::ProgressListener& progress) override {
        return std::make_unique<TestWorkbook>(
            std::make_unique<CalcWorkbook>(options_, path, progress), answer_);
    }

private:
    LibreOfficeOptions options_;
    BlockAnswer answer_;
};

} // namespace

std::unique_ptr<sheet::Spreadsheet> MakeTestOffice(LibreOfficeOptions options, BlockAnswer answer) {
    return std::make_unique<TestOffice>(std::move(options), std::move(answer));
}
