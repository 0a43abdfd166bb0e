#include "CalcWorkbook.h"

#include "LoadInteraction.h"
#include "MemoryLimit.h"
#include "OfficeCommand.h"
#include "OfficeNotation.h"
#include "PackageCheck.h"
#include "Properties.h"
#include "RangeSelection.h"
#include "StatusIndicator.h"
#include "Strings.h"
#include "UnoConnection.h"
#include "UnoErrors.h"
#include "ValueText.h"
#include "sheet/PublishFile.h"
#include "sheet/UsedArea.h"
#include "sheet/Utf8Path.h"

#include <com/sun/star/awt/XTopWindow.hpp>
#include <com/sun/star/awt/XWindow.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/container/XNamed.hpp>
#include <com/sun/star/document/MacroExecMode.hpp>
#include <com/sun/star/document/UpdateDocMode.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/sheet/XCellRangeAddressable.hpp>
#include <com/sun/star/sheet/XSheetCellCursor.hpp>
#include <com/sun/star/sheet/XSpreadsheetView.hpp>
#include <com/sun/star/sheet/XUsedAreaCursor.hpp>
#include <com/sun/star/table/XColumnRowRange.hpp>
#include <com/sun/star/table/XTableColumns.hpp>
#include <com/sun/star/table/XTableRows.hpp>
#include <com/sun/star/ucb/SimpleFileAccess.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <rtl/ref.hxx>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <unistd.h>
#include <utility>
#include <vector>

namespace sheet::libreoffice {

using css::uno::Any;
using css::uno::Reference;
using css::uno::Sequence;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;

namespace {

namespace fs = std::filesystem;

OUString UrlOf(const std::string& path) {
    return ToOUString(FileUrl(fs::absolute(path).lexically_normal().string()));
}

// The office's export filter for a file name's extension. Not .xlsm: this
// filter writes a package without macros, which a name promising macros
// makes other spreadsheet programs refuse.
OUString FilterFor(const std::string& path) {
    const std::string extension = LowerCaseExtension(path);
    for (const auto& [known, filter] : {std::pair{".xlsx", "Calc MS Excel 2007 XML"},
                                        {".xls", "MS Excel 97"},
                                        {".ods", "calc8"},
                                        {".fods", "OpenDocument Spreadsheet Flat XML"}}) {
        if (extension == known) {
            return OUString::createFromAscii(filter);
        }
    }
    throw SheetError(
        "Cannot save as \"" + path +
        "\": choose a name ending in .xlsx, .xls, .ods or .fods, which keep cell colours.");
}

// Closing what we cannot use; the office ends with the workbook anyway.
void Close(const Reference<css::uno::XInterface>& component) noexcept {
    Quietly([&] {
        if (const Reference<css::util::XCloseable> closeable{component, UNO_QUERY};
            closeable.is()) {
            closeable->close(true);
        }
    });
}

SheetLimits LimitsOf(const Reference<css::sheet::XSpreadsheet>& sheet) {
    const Reference<css::table::XColumnRowRange> range(sheet, UNO_QUERY_THROW);
    return SheetLimits{range->getRows()->getCount(), range->getColumns()->getCount()};
}

// A file the user may not write (or on a read-only disk) opens read-only, and
// the office then drops every fill without a word. The copy is saved
// elsewhere, so the workbook is read again, the same way (the filter the
// office chose, and its options: a csv file's), from the office's own stream
// of the file, which binds no file to the document: it can be coloured, and
// the file itself can never be written.
Reference<css::lang::XComponent>
ReloadUnbound(const Reference<css::frame::XDesktop2>& desktop,
              const Reference<css::uno::XComponentContext>& context,
              const Reference<css::lang::XComponent>& readOnly, const OUString& url,
              const std::string& path, std::vector<css::beans::PropertyValue> arguments) {
    for (const auto& argument :
         Reference<css::frame::XModel>(readOnly, UNO_QUERY_THROW)->getArgs()) {
        if (argument.Name == "FilterName" || argument.Name == "FilterOptions") {
            arguments.push_back(argument);
        }
    }
    Close(readOnly);
    const auto stream = css::ucb::SimpleFileAccess::create(context)->openFileRead(url);
    arguments.push_back(Property("InputStream", Any(stream)));
    arguments.push_back(
        Property("DocumentTitle", Any(ToOUString(fs::path(path).filename().string()))));
    return desktop->loadComponentFromURL("private:stream", "_blank", 0, Properties(arguments));
}

} // namespace

CalcWorkbook::CalcWorkbook(const LibreOfficeOptions& options, const std::string& path,
                           const ProgressListener& progress) {
    if (path.empty()) {
        throw SheetError("No workbook was given.");
    }
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) {
        throw SheetError("The workbook \"" + path + "\" does not exist or is not a file.");
    }
    // The office would open a file of no bytes as a new, empty workbook: it
    // is refused before one is started.
    if (fs::file_size(path, ec) == 0 && !ec) {
        throw SheetError("The workbook \"" + path + "\" is empty.");
    }
    if (progress) {
        progress({Stage::StartingOffice, 0, 0});
    }
    process_ = std::make_unique<OfficeProcess>(options);
    try {
        const auto context = ConnectToOffice(*process_);
        desktop_ = GuardUno("start", [&] { return css::frame::Desktop::create(context); });
        load(context, path, progress);
    } catch (...) {
        closeAndEnd();
        // Whatever failed, failed because the office was killed on purpose.
        process_->throwIfStopped();
        throw;
    }
}

CalcWorkbook::~CalcWorkbook() {
    if (!handedOver_) {
        closeAndEnd();
    }
}

void CalcWorkbook::load(const Reference<css::uno::XComponentContext>& context,
                        const std::string& path, const ProgressListener& progress) {
    if (progress) {
        progress({Stage::LoadingWorkbook, 0, 0});
    }
    const OUString url = UrlOf(path);
    // Hidden, macros never run, links never updated, and every question the
    // office would ask (a password, a repair, data it could not read) is
    // answered "no" and kept for the message.
    const rtl::Reference<LoadInteraction> interaction(new LoadInteraction);
    const std::vector arguments{
        Property("Hidden", Any(true)),
        Property("MacroExecutionMode", Any(css::document::MacroExecMode::NEVER_EXECUTE)),
        Property("UpdateDocMode", Any(css::document::UpdateDocMode::NO_UPDATE)),
        Property("StatusIndicator", Any(ProgressIndicator(Stage::LoadingWorkbook, progress))),
        Property("InteractionHandler",
                 Any(Reference<css::task::XInteractionHandler>(interaction.get()))),
    };
    // The office's own exception text names source files and URLs, so the
    // words come from what it asked, else the cause its error names, else
    // what we can see for ourselves, else the usual suspects.
    const auto refused = [&](const OfficeFault& fault) {
        // Short of memory, the office calls a sound workbook damaged, or dies
        // after asking to repair it.
        if (AtMemoryLimit(process_->pid())) {
            return SheetError(OutOfMemory("open \"" + path + "\""));
        }
        if (const auto problem = interaction->problem(); problem && !fault.stopped) {
            return SheetError("The workbook \"" + path + "\" " + *problem);
        }
        DebugDetail("open the workbook", fault);
        const std::string prefix = "LibreOffice could not open \"" + path + "\": ";
        if (fault.stopped) {
            return SheetError("LibreOffice stopped while opening \"" + path + "\"." +
                              MemoryLimitNote());
        }
        if (!fault.cause.empty()) {
            return SheetError(prefix + fault.cause + ".");
        }
        if (::access(path.c_str(), R_OK) != 0) {
            return SheetError(prefix + "the file cannot be read (" + std::strerror(errno) + ").");
        }
        return SheetError(prefix + "the file is damaged, protected by a password, or not a "
                                   "spreadsheet.");
    };
    Reference<css::lang::XComponent> component;
    try {
        component = desktop_->loadComponentFromURL(url, "_blank", 0, Properties(arguments));
        if (const Reference<css::frame::XStorable> file{component, UNO_QUERY};
            file.is() && file->isReadonly()) {
            const auto readOnly = std::exchange(component, {});
            component = ReloadUnbound(desktop_, context, readOnly, url, path, arguments);
        }
    } catch (const css::uno::Exception&) {
        const OfficeFault fault = CurrentOfficeFault();
        Close(component);
        throw refused(fault);
    }
    // Data the office could not read (past its last row, say) comes as a
    // notice, after which the load goes on with part of the workbook.
    if (!component.is() || interaction->problem()) {
        Close(component);
        throw refused({});
    }
    document_.set(component, UNO_QUERY);
    if (!document_.is()) {
        Close(component);
        throw SheetError("\"" + path + "\" is not a spreadsheet.");
    }
    // Nothing is calculated anew: formulas keep the results the file stored,
    // which is what the user saw, where calculating would turn links and web
    // queries out of reach into errors. (A truth value copied in bulk as 1
    // or 0 is read again cell by cell, see CalcBulkText.cpp.)
    const auto cutShort =
        GuardUno("check the workbook", [&] { return PartCutShort(context, url); });
    if (cutShort) {
        throw SheetError("The workbook \"" + path +
                         "\" is damaged: LibreOffice could read only part of it.");
    }
}

void CalcWorkbook::closeAndEnd() noexcept {
    // An office we never reached was never asked to stop: do not wait for
    // it. One the stop switch killed is not asked at all: a call to it could
    // only fail, and one to an office that is frozen would never return.
    const bool ask = desktop_.is() && !(process_ && process_->stopRequested());
    cells_.clear();
    if (ask) {
        Close(document_);
        // The office may already be gone; ending the process below covers it.
        Quietly([&] { desktop_->terminate(); });
    }
    document_.clear();
    desktop_.clear();
    if (process_) {
        process_->end(ask ? std::chrono::seconds(10) : std::chrono::seconds(0));
    }
}

Reference<css::frame::XController> CalcWorkbook::controller() {
    return Reference<css::frame::XModel>(document_, UNO_QUERY_THROW)->getCurrentController();
}

void CalcWorkbook::show() {
    GuardUno("show the workbook", [&] {
        const auto window = controller()->getFrame()->getContainerWindow();
        window->setVisible(true);
        if (const Reference<css::awt::XTopWindow> top{window, UNO_QUERY}; top.is()) {
            top->toFront();
        }
    });
}

Reference<css::sheet::XSpreadsheet> CalcWorkbook::sheetAt(std::int32_t index) {
    const Reference<css::container::XIndexAccess> sheets(document_->getSheets(), UNO_QUERY_THROW);
    return Reference<css::sheet::XSpreadsheet>(sheets->getByIndex(index), UNO_QUERY_THROW);
}

Block CalcWorkbook::resolve(const ParsedBlockText& parsed, const std::string& text) {
    return GuardUno("find the block", [&] {
        Reference<css::sheet::XSpreadsheet> sheet;
        if (!parsed.sheetName) {
            sheet = Reference<css::sheet::XSpreadsheetView>(controller(), UNO_QUERY_THROW)
                        ->getActiveSheet();
        } else if (const OUString name = ToOUString(*parsed.sheetName);
                   document_->getSheets()->hasByName(name)) {
            sheet.set(document_->getSheets()->getByName(name), UNO_QUERY_THROW);
        }
        Block block;
        if (sheet.is()) {
            block.sheetName =
                ToUtf8(Reference<css::container::XNamed>(sheet, UNO_QUERY_THROW)->getName());
        }
        // The name exactly, letter case included, as the other backends take it.
        if (parsed.sheetName && block.sheetName != *parsed.sheetName) {
            throw SheetError("The block \"" + text +
                             "\" cannot be used: the workbook has no sheet named \"" +
                             *parsed.sheetName + "\".");
        }
        block.sheetIndex = Reference<css::sheet::XCellRangeAddressable>(sheet, UNO_QUERY_THROW)
                               ->getRangeAddress()
                               .Sheet;
        const SheetLimits limits = LimitsOf(sheet);
        for (const auto& area : parsed.areas) {
            if (area.lastRow > limits.rows || area.lastColumn > limits.columns) {
                throw SheetError("The block \"" + text +
                                 "\" reaches beyond the sheet's last row or column.");
            }
        }
        block.areas = parsed.areas;
        return block;
    });
}

Block CalcWorkbook::findBlock(const std::string& text) {
    return resolve(ParseBlockText(text, SheetLimits{}), text);
}

Block CalcWorkbook::usedPart(const Block& block) {
    return GuardUno("find the used part of the sheet", [&] {
        const auto sheet = sheetAt(block.sheetIndex);
        const Reference<css::sheet::XSheetCellCursor> cursor = sheet->createCursor();
        const Reference<css::sheet::XUsedAreaCursor> usedArea(cursor, UNO_QUERY_THROW);
        usedArea->gotoStartOfUsedArea(false);
        usedArea->gotoEndOfUsedArea(true);
        const auto address = Reference<css::sheet::XCellRangeAddressable>(cursor, UNO_QUERY_THROW)
                                 ->getRangeAddress();
        const dupes::BlockGeometry used{address.StartRow + 1, address.StartColumn + 1,
                                        address.EndRow + 1, address.EndColumn + 1};
        Block part = block;
        for (auto& area : part.areas) {
            area = CutToUsedArea(area, used, LimitsOf(sheet));
        }
        return part;
    });
}

Block CalcWorkbook::askForBlock(const std::string& prompt, const std::string& defaultText,
                                const std::function<void()>& whileWaiting) {
    std::string initial;
    try {
        const Block previous = findBlock(defaultText);
        initial = OfficeRangeText(previous.sheetName, previous.geometry());
    } catch (const SheetError&) {
        // No usable default: the range box starts empty.
    }
    const std::optional<std::string> answer = AskOfficeForRange(
        GuardUno("ask for a block", [&] { return controller(); }), prompt, initial, whileWaiting,
        [this] { return !process_->stopRequested() && process_->running(); });
    process_->throwIfStopped();
    if (!answer || answer->empty()) {
        throw BlockChoiceCancelled("The block choice was cancelled.");
    }
    return resolve(ParseOfficeRange(*answer, SheetLimits{}), *answer);
}

std::string CalcWorkbook::name(const Block& block) {
    const SheetLimits limits =
        GuardUno("name the block", [&] { return LimitsOf(sheetAt(block.sheetIndex)); });
    return block.sheetName + "!" + FormatAddress(block.areas, limits);
}

std::string CalcWorkbook::headerValue(const Block& block, std::int32_t column) {
    return GuardUno("read a column's name", [&] {
        const auto& g = block.geometry();
        const auto cell = sheetAt(block.sheetIndex)
                              ->getCellByPosition(g.firstColumn + column - 2, g.firstRow - 1);
        return CellValueAsText(cell, document_);
    });
}

dupes::BlockAccess& CalcWorkbook::cells(const Block& block) {
    auto& cells = cells_[block.sheetIndex];
    if (!cells) {
        GuardUno("read the sheet", [&] {
            cells = std::make_unique<CalcCells>(
                sheetAt(block.sheetIndex), static_cast<sal_Int16>(block.sheetIndex),
                Reference<css::lang::XMultiServiceFactory>(document_, UNO_QUERY_THROW),
                controller());
        });
    }
    return *cells;
}

void CalcWorkbook::saveCopyAs(const std::string& path, bool replace,
                              const ProgressListener& progress) {
    const OUString filter = FilterFor(path);
    // The office stores through a temporary file beside the target, which
    // stays there when the office is killed: so it stores into its private
    // folder, which goes with it, and only the finished file is published.
    const fs::path stored = fs::path(process_->profileDir()) / "saved" / fs::path(path).filename();
    std::error_code ec;
    fs::create_directories(stored.parent_path(), ec);
    try {
        GuardUno("save the copy", [&] {
            const Reference<css::frame::XStorable> storable(document_, UNO_QUERY_THROW);
            storable->storeToURL(
                UrlOf(stored.string()),
                Properties({Property("FilterName", Any(filter)), Property("Overwrite", Any(true)),
                            Property("StatusIndicator",
                                     Any(ProgressIndicator(Stage::SavingCopy, progress)))}));
        });
        process_->throwIfStopped();
        PublishFile(stored, path, replace, "The copy");
    } catch (...) {
        fs::remove(stored, ec);
        process_->throwIfStopped();
        throw;
    }
}

void CalcWorkbook::handOverToUser() {
    handedOver_ = true;
    cells_.clear();
    document_.clear();
    desktop_.clear();
    DisconnectFromOffice(*process_);
    process_->handOver();
}

} // namespace sheet::libreoffice
