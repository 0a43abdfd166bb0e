#include "Commands.h"

#include "ColumnList.h"
#include "HeadlessOffice.h"
#include "Interrupt.h"
#include "OutputFile.h"
#include "Progress.h"
#include "Summary.h"
#include "Terminal.h"

#include "sheet/HighlightWorkbook.h"
#include "sheet/OpenExcelWorkbook.h"
#include "sheet/SheetError.h"

#include <chrono>
#include <filesystem>

namespace cli {
namespace {

// The workbook is opened once to name its columns; the run then takes that
// same open workbook, so one office start serves both and the run sees the
// file exactly as the names were read from it.
class AlreadyOpen final : public sheet::Spreadsheet {
public:
    AlreadyOpen(std::unique_ptr<sheet::Workbook> workbook, std::string path)
        : workbook_(std::move(workbook)), path_(std::move(path)) {}

    std::unique_ptr<sheet::Workbook> openWorkbook(const std::string& path) override {
        if (!workbook_ || path != path_) {
            throw sheet::SheetError("the workbook \"" + path + "\" was not opened for this run");
        }
        return std::move(workbook_);
    }

private:
    std::unique_ptr<sheet::Workbook> workbook_;
    std::string path_;
};

} // namespace

void RunHighlightCommand(const HighlightCommand& command, std::ostream& out, std::ostream& err) {
    const auto started = std::chrono::steady_clock::now();
    InterruptGuard interrupts;
    CheckOutput(command.workbook, command.output, command.force);

    const auto office = HeadlessOffice(interrupts.stopSwitch());
    auto workbook = sheet::OpenExcelWorkbook(*office, command.workbook);
    ThrowIfInterrupted();
    const sheet::Block block = workbook->findBlock(command.block);
    const std::string blockName = workbook->name(block);
    sheet::HighlightRequest request;
    request.workbookPath = command.workbook;
    request.blockText = command.block;
    request.options.kind =
        command.exceptFirst ? dupes::RunKind::ExceptFirst : dupes::RunKind::AllDuplicates;
    request.options.selectedColumns =
        SelectColumns(command.columns, ColumnList(*workbook, block), blockName);
    request.options.colourName = command.colour;
    request.options.entireRow = command.entireRow;
    ThrowIfInterrupted();

    AlreadyOpen opened(std::move(workbook), command.workbook);
    ProgressBar bar(err, StandardErrorIsTerminal());
    sheet::HighlightResult result =
        sheet::HighlightWorkbook(opened, request, [&bar](std::int64_t done, std::int64_t total) {
            ThrowIfInterrupted();
            bar.update(done, total);
        });
    bar.finish();
    ThrowIfInterrupted();
    SaveCopy(*result.workbook, command.workbook, command.output, command.force);
    result.workbook.reset(); // ends the instance before the report

    Report report;
    report.workbook = command.workbook;
    report.block = blockName;
    std::error_code ec;
    report.output = std::filesystem::absolute(command.output, ec).lexically_normal().string();
    report.exceptFirst = command.exceptFirst;
    report.colour = command.colour;
    report.entireRow = command.entireRow;
    report.summary = result.summary;
    report.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    out << (command.json ? SummaryJson(report) : SummaryText(report)) << std::flush;
}

void RunColumnsCommand(const ColumnsCommand& command, std::ostream& out) {
    InterruptGuard interrupts;
    const auto office = HeadlessOffice(interrupts.stopSwitch());
    const auto workbook = sheet::OpenExcelWorkbook(*office, command.workbook);
    ThrowIfInterrupted();
    const std::vector<std::string> list = ColumnList(*workbook, workbook->findBlock(command.block));
    if (command.json) {
        out << JsonArray(list) << '\n';
    } else {
        for (const std::string& entry : list) {
            out << entry << '\n';
        }
    }
    out << std::flush;
}

} // namespace cli
