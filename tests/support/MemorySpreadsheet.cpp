#include "MemorySpreadsheet.h"

#include "BeneathBinding.h"
#include "sheet/BlockText.h"
#include "sheet/PublishFile.h"
#include "sheet/SheetError.h"
#include "sheet/UsedArea.h"
#include "sheet/Utf8Path.h"

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <utility>

namespace memory_sheet {
namespace {

const sheet::SheetLimits kLimits{};

// The stop switch of the gateway call under way on this thread, for HoldCall.
thread_local std::shared_ptr<sheet::StopSwitch> tCallStop;

// Runs the test's onCall for one gateway call; an instance whose switch was
// pulled is gone, so the call then fails as a call to a killed office does.
void RunCall(const std::function<void(const std::string&)>& onCall, const std::string& name,
             const std::shared_ptr<sheet::StopSwitch>& stop) {
    if (onCall) {
        struct Scope {
            std::shared_ptr<sheet::StopSwitch> outer;
            ~Scope() { tCallStop = std::move(outer); }
        } scope{std::exchange(tCallStop, stop)};
        onCall(name);
    }
    if (stop && stop->pulled()) {
        throw sheet::Stopped();
    }
}

class MemoryCells final : public dupes::BlockAccess {
public:
    MemoryCells(const Sheet& sheet, std::map<Cell, std::uint32_t>& fills, const Faults& faults,
                const std::function<void(const std::string&)>& call)
        : sheet_(sheet), fills_(fills), faults_(faults), call_(call) {}

    std::string cellText(std::int32_t row, std::int32_t column) override {
        call_("cellText");
        return textOf(row, column);
    }

    void readTexts(std::int32_t firstRow, std::int32_t rowCount,
                   const std::vector<std::int32_t>& columns, dupes::TextTable& out) override {
        call_("readTexts");
        if (faults_.readFailsAfterRows && rowsRead_ + rowCount > *faults_.readFailsAfterRows) {
            throw sheet::SheetError("The spreadsheet stopped answering while the rows were read.");
        }
        rowsRead_ += rowCount;
        for (std::int32_t row = firstRow; row < firstRow + rowCount; ++row) {
            for (const std::int32_t column : columns) {
                out.append(textOf(row, column));
            }
        }
    }

    void colourSpans(const std::vector<dupes::CellSpan>& spans, std::uint32_t colour) override {
        call_("colourSpans");
        if (faults_.colourRefused) {
            throw sheet::SheetError(*faults_.colourRefused);
        }
        for (const dupes::CellSpan& span : spans) {
            for (std::int32_t column = span.firstColumn; column <= span.lastColumn; ++column) {
                fills_[{span.row, column}] = colour;
            }
        }
    }

private:
    std::string textOf(std::int32_t row, std::int32_t column) const {
        return sheet_.text(row, column);
    }

    const Sheet& sheet_;
    std::map<Cell, std::uint32_t>& fills_;
    const Faults& faults_;
    const std::function<void(const std::string&)>& call_;
    std::int64_t rowsRead_ = 0;
};

} // namespace

class MemoryWorkbook final : public sheet::Workbook, public BeneathBinding {
public:
    MemoryWorkbook(Book book, const MemorySpreadsheet& owner, std::shared_ptr<Record> record,
                   std::shared_ptr<sheet::StopSwitch> stop)
        : book_(std::move(book)), faults_(owner.faults), answer_(owner.answerBlockChoice),
          onCall_(owner.onCall), record_(std::move(record)), stop_(std::move(stop)) {
        ++record_->opened;
    }

    ~MemoryWorkbook() override {
        if (!handedOver_) {
            ++record_->closed;
        }
    }

    void show() override {
        call("show");
        ++record_->shown;
    }

    sheet::Block askForBlock(const std::string& /*prompt*/, const std::string& defaultText,
                             const std::function<void()>& whileWaiting) override {
        call("askForBlock");
        record_->offeredDefaults.push_back(defaultText);
        if (whileWaiting) {
            whileWaiting();
        }
        const std::optional<std::string> answer = answer_ ? answer_(defaultText) : std::nullopt;
        if (!answer) {
            throw sheet::BlockChoiceCancelled("The block choice was cancelled.");
        }
        return resolve(*answer);
    }

    std::string name(const sheet::Block& block) override {
        call("name");
        return block.sheetName + "!" + sheet::FormatAddress(block.areas, kLimits);
    }

    sheet::Block findBlock(const std::string& text) override {
        call("findBlock");
        return resolve(text);
    }

    sheet::Block usedPart(const sheet::Block& block) override {
        call("usedPart");
        const auto used = book_.sheets.at(static_cast<std::size_t>(block.sheetIndex)).usedArea();
        sheet::Block part = block;
        for (auto& area : part.areas) {
            area = sheet::CutToUsedArea(area, used, kLimits);
        }
        return part;
    }

    std::string headerValue(const sheet::Block& block, std::int32_t column) override {
        call("headerValue");
        return book_.sheets.at(static_cast<std::size_t>(block.sheetIndex))
            .text(block.geometry().firstRow, block.geometry().firstColumn + column - 1);
    }

    dupes::BlockAccess& cells(const sheet::Block& block) override {
        call("cells");
        answeredCells();
        return backendCells(block);
    }

    dupes::BlockAccess& backendCells(const sheet::Block& block) override {
        auto& cells = cells_[block.sheetIndex];
        if (!cells) {
            const Sheet& sheet = book_.sheets.at(static_cast<std::size_t>(block.sheetIndex));
            cells = std::make_unique<MemoryCells>(sheet, record_->fills[sheet.name], faults_,
                                                  callByName_);
        }
        return *cells;
    }

    void saveCopyAs(const std::string& path, bool replace,
                    const sheet::ProgressListener& progress) override {
        call("saveCopyAs");
        if (progress) {
            progress({sheet::Stage::SavingCopy, 0, 1});
        }
        if (faults_.saveFails) {
            throw sheet::SheetError(*faults_.saveFails);
        }
        const std::filesystem::path file = sheet::PathOf(path);
        const std::string extension = file.extension().string();
        if (extension != ".xlsx" && extension != ".xls" && extension != ".ods" &&
            extension != ".fods") {
            throw sheet::SheetError("Cannot save as \"" + path +
                                    "\": choose a name ending in .xlsx, .xls, .ods or .fods.");
        }
        std::ostringstream contents;
        for (const Sheet& sheet : book_.sheets) {
            for (const auto& [cell, text] : sheet.texts) {
                contents << sheet.name << '\t' << cell.first << '\t' << cell.second << '\t' << text
                         << '\n';
            }
        }
        sheet::PublishContents(contents.str(), file, replace, "The copy");
        record_->savedCopies.push_back(path);
    }

    void handOverToUser() override {
        call("handOverToUser");
        handedOver_ = true;
        ++record_->handedOver;
    }

    std::optional<std::uint32_t> fillOf(const sheet::Block& block, std::int32_t row,
                                        std::int32_t column) override {
        const auto& fills = record_->fills[block.sheetName];
        const auto found = fills.find({row, column});
        return found == fills.end() ? std::nullopt : std::optional<std::uint32_t>(found->second);
    }

private:
    void call(const std::string& name) {
        record_->calls.push_back(name);
        RunCall(onCall_, name, stop_);
    }

    sheet::Block resolve(const std::string& text) {
        if (faults_.blockRefused) {
            throw sheet::SheetError(*faults_.blockRefused);
        }
        const sheet::ParsedBlockText parsed = sheet::ParseBlockText(text, kLimits);
        sheet::Block block;
        if (parsed.sheetName) {
            const auto found =
                std::find_if(book_.sheets.begin(), book_.sheets.end(),
                             [&](const Sheet& s) { return s.name == *parsed.sheetName; });
            if (found == book_.sheets.end()) {
                throw sheet::SheetError("The block \"" + text +
                                        "\" cannot be used: the workbook has no sheet named \"" +
                                        *parsed.sheetName + "\".");
            }
            block.sheetIndex = static_cast<std::int32_t>(found - book_.sheets.begin());
        }
        block.sheetName = book_.sheets.at(static_cast<std::size_t>(block.sheetIndex)).name;
        block.areas = parsed.areas;
        return block;
    }

    Book book_;
    Faults faults_;
    std::function<std::optional<std::string>(const std::string&)> answer_;
    std::function<void(const std::string&)> onCall_;
    std::function<void(const std::string&)> callByName_ = [this](const std::string& name) {
        call(name);
    };
    std::shared_ptr<Record> record_;
    std::shared_ptr<sheet::StopSwitch> stop_;
    std::map<std::int32_t, std::unique_ptr<MemoryCells>> cells_;
    bool handedOver_ = false;
};

Sheet& Sheet::place(std::int32_t topRow, std::int32_t leftColumn, const Rows& rows) {
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            texts[{topRow + static_cast<std::int32_t>(r),
                   leftColumn + static_cast<std::int32_t>(c)}] = rows[r][c];
        }
    }
    return *this;
}

std::string Sheet::text(std::int32_t row, std::int32_t column) const {
    const auto found = texts.find({row, column});
    return found == texts.end() ? std::string() : found->second;
}

std::optional<dupes::BlockGeometry> Sheet::usedArea() const {
    std::optional<dupes::BlockGeometry> used;
    for (const auto& [cell, text] : texts) {
        if (text.empty()) {
            continue;
        }
        if (!used) {
            used = dupes::BlockGeometry{cell.first, cell.second, cell.first, cell.second};
        }
        used->firstRow = std::min(used->firstRow, cell.first);
        used->lastRow = std::max(used->lastRow, cell.first);
        used->firstColumn = std::min(used->firstColumn, cell.second);
        used->lastColumn = std::max(used->lastColumn, cell.second);
    }
    return used;
}

std::unique_ptr<sheet::Workbook>
MemorySpreadsheet::openInNewInstance(const std::string& path,
                                     const sheet::ProgressListener& progress) {
    return openUnbound(path, progress, nullptr);
}

std::unique_ptr<sheet::Workbook>
MemorySpreadsheet::openUnbound(const std::string& path, const sheet::ProgressListener& progress,
                               std::shared_ptr<sheet::StopSwitch> stop) {
    record_->calls.push_back("openWorkbook");
    if (progress) {
        progress({sheet::Stage::StartingOffice, 0, 0});
        progress({sheet::Stage::LoadingWorkbook, 0, 1});
    }
    RunCall(onCall, "openWorkbook", stop);
    if (faults.openFails) {
        throw sheet::SheetError(*faults.openFails);
    }
    const auto found = files.find(path);
    if (found == files.end()) {
        throw sheet::SheetError("The workbook \"" + path + "\" does not exist or is not a file.");
    }
    if (found->second.sheets.empty()) {
        throw sheet::SheetError("\"" + path + "\" is not a spreadsheet.");
    }
    return std::make_unique<MemoryWorkbook>(found->second, *this, record_, std::move(stop));
}

std::unique_ptr<sheet::Spreadsheet> Borrowed(MemorySpreadsheet& memory,
                                             std::shared_ptr<sheet::StopSwitch> stop) {
    class Borrowing final : public sheet::Spreadsheet {
    public:
        Borrowing(MemorySpreadsheet& memory, std::shared_ptr<sheet::StopSwitch> stop)
            : Spreadsheet(stop), memory_(memory), stop_(std::move(stop)) {}

    protected:
        std::unique_ptr<sheet::Workbook>
        openInNewInstance(const std::string& path,
                          const sheet::ProgressListener& progress) override {
            return memory_.openUnbound(path, progress, stop_);
        }

    private:
        MemorySpreadsheet& memory_;
        std::shared_ptr<sheet::StopSwitch> stop_;
    };
    return std::make_unique<Borrowing>(memory, std::move(stop));
}

void HoldCall(const std::function<bool()>& released, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!released()) {
        if (sheet::PulledWithin(tCallStop, std::chrono::milliseconds(5))) {
            return;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            throw sheet::SheetError("A held call was never let go.");
        }
    }
}

} // namespace memory_sheet
