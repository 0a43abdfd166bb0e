#include "Commands.h"

#include "GroupsFile.h"
#include "Interrupt.h"
#include "OutputFile.h"
#include "Progress.h"
#include "Summary.h"
#include "Terminal.h"
#include "WorkbookFile.h"

#include "sheet/ColumnList.h"
#include "sheet/HighlightBlock.h"
#include "sheet/OpenExcelWorkbook.h"
#include "sheet/Utf8Path.h"

#include <chrono>
#include <filesystem>

namespace cli {
namespace {

dupes::HighlightOptions OptionsOf(const HighlightCommand& command,
                                  const std::vector<std::string>& columnList,
                                  const std::string& blockName) {
    dupes::HighlightOptions options;
    options.kind =
        command.exceptFirst ? dupes::RunKind::ExceptFirst : dupes::RunKind::AllDuplicates;
    options.selectedColumns = SelectColumns(command.columns, columnList, blockName);
    options.colour = command.colour;
    options.entireRow = command.entireRow;
    options.matching = command.matching;
    options.colourPerGroup = command.colourPerGroup;
    options.colourCells = !command.reportOnly;
    options.listGroups = !command.groups.empty();
    return options;
}

std::vector<std::string> ComparedColumnNames(const std::vector<std::string>& columnList,
                                             const std::vector<bool>& selected) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < columnList.size() && i < selected.size(); ++i) {
        if (selected[i]) {
            names.push_back(columnList[i]);
        }
    }
    return names;
}

} // namespace

void RunHighlightCommand(const HighlightCommand& command, const SpreadsheetMaker& makeSpreadsheet,
                         std::ostream& out, std::ostream& err) {
    const auto started = std::chrono::steady_clock::now();
    InterruptGuard interrupts;
    // Paths are UTF-8 here, as the command line was.
    const std::filesystem::path workbookPath = sheet::PathOf(command.workbook);
    const std::filesystem::path outputPath = sheet::PathOf(command.output);
    CheckWorkbook(workbookPath);
    if (!command.reportOnly) {
        CheckOutput(workbookPath, outputPath, command.force);
    }
    if (!command.groups.empty()) {
        CheckGroupsFile(command);
    }

    // From the first second to the summary, the terminal shows what is
    // going on. The office tells of loading and saving on threads of its
    // own, so only the reading, which comes from this thread, may throw.
    ProgressBar bar(err, StandardErrorIsTerminal());
    const sheet::ProgressListener progress = [&bar](const sheet::Progress& step) {
        bar.report(step);
        if (step.stage == sheet::Stage::ReadingRows) {
            ThrowIfInterrupted();
        }
    };

    // One office start serves the column names and the run, so the run sees
    // the file exactly as the names were read from it.
    const auto spreadsheet = makeSpreadsheet(interrupts.stopSwitch());
    auto workbook = sheet::OpenExcelWorkbook(*spreadsheet, command.workbook, progress);
    ThrowIfInterrupted();
    const sheet::Block block = workbook->findBlock(command.block);
    const std::string blockName = workbook->name(block);
    // Whole columns or rows are compared as far as the sheet holds content;
    // the summary says so.
    const sheet::Block used = workbook->usedPart(block);
    const std::string usedBlockName =
        used.areas == block.areas ? std::string() : workbook->name(used);
    const std::vector<std::string> columnList = sheet::ColumnList(*workbook, block);
    const dupes::HighlightOptions options = OptionsOf(command, columnList, blockName);
    ThrowIfInterrupted();

    dupes::HighlightResult result =
        sheet::HighlightBlockInFull(*workbook, block, options, progress);
    ThrowIfInterrupted();
    if (!command.reportOnly) {
        SaveCopy(*workbook, progress, workbookPath, outputPath, command.force);
    }
    workbook.reset(); // ends the instance before the report
    bar.finish();

    Report report;
    report.reportOnly = command.reportOnly;
    report.workbook = command.workbook;
    report.block = blockName;
    report.usedBlock = usedBlockName;
    report.output = command.reportOnly ? std::string() : AbsolutePath(command.output);
    if (!command.groups.empty()) {
        WriteGroupsFile(command,
                        GroupsReport{command.workbook,
                                     usedBlockName.empty() ? blockName : usedBlockName,
                                     command.exceptFirst, command.matching,
                                     ComparedColumnNames(columnList, options.selectedColumns),
                                     std::move(result.groups)},
                        report.output);
        report.groupsReport = AbsolutePath(command.groups);
    }
    report.exceptFirst = command.exceptFirst;
    report.colour =
        command.colourPerGroup ? kPerGroupColour : std::string(dupes::ColourName(command.colour));
    report.entireRow = command.entireRow;
    report.matching = command.matching;
    report.summary = result.summary;
    report.coloursUsed = result.coloursUsed;
    report.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    out << (command.json ? SummaryJson(report) : SummaryText(report)) << std::flush;
}

void RunColumnsCommand(const ColumnsCommand& command, const SpreadsheetMaker& makeSpreadsheet,
                       std::ostream& out) {
    InterruptGuard interrupts;
    CheckWorkbook(sheet::PathOf(command.workbook));
    const auto spreadsheet = makeSpreadsheet(interrupts.stopSwitch());
    const auto workbook = sheet::OpenExcelWorkbook(*spreadsheet, command.workbook);
    ThrowIfInterrupted();
    const std::vector<std::string> list =
        sheet::ColumnList(*workbook, workbook->findBlock(command.block));
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
