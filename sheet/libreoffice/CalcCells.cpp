#include "CalcCells.h"

#include "Strings.h"
#include "UnoErrors.h"
#include "sheet/Colour.h"

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XNamed.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/sheet/XSheetCellRangeContainer.hpp>
#include <com/sun/star/table/CellRangeAddress.hpp>
#include <com/sun/star/text/XTextRange.hpp>
#include <com/sun/star/util/XProtectable.hpp>

#include <utility>

namespace sheet::libreoffice {

using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;

namespace {

// Sets one of the document's true-or-false settings, and puts its earlier
// value back when it ends.
class ScopedSetting {
public:
    ScopedSetting(const Reference<css::beans::XPropertySet>& document, const char* name, bool value)
        : document_(document), name_(OUString::createFromAscii(name)) {
        document_->getPropertyValue(name_) >>= earlier_;
        document_->setPropertyValue(name_, css::uno::Any(value));
    }
    ~ScopedSetting() {
        Quietly([&] { document_->setPropertyValue(name_, css::uno::Any(earlier_)); });
    }
    ScopedSetting(const ScopedSetting&) = delete;
    ScopedSetting& operator=(const ScopedSetting&) = delete;

private:
    Reference<css::beans::XPropertySet> document_;
    OUString name_;
    bool earlier_ = true;
};

} // namespace

CalcCells::CalcCells(Reference<css::sheet::XSpreadsheet> sheet, sal_Int16 sheetIndex,
                     Reference<css::lang::XMultiServiceFactory> documentFactory,
                     Reference<css::frame::XController> controller)
    : controller_(std::move(controller)), sheet_(std::move(sheet)), sheetIndex_(sheetIndex),
      documentFactory_(std::move(documentFactory)) {}

std::string CalcCells::cellText(std::int32_t row, std::int32_t column) {
    return GuardUno("read a cell", [&] {
        const Reference<css::text::XTextRange> text(sheet_->getCellByPosition(column - 1, row - 1),
                                                    UNO_QUERY_THROW);
        return ToUtf8(text->getString());
    });
}

// The office copies no text for a block holding rows hidden by a filter (and
// we take none whose shape is off), so such a block is halved until the
// halves copy, and what stays refused is read cell by cell.
void CalcCells::readRun(const Area& area, dupes::TextTable& out) {
    constexpr std::int32_t kSmallestCopy = 64;
    if (copyBlock(area, out)) {
        return;
    }
    if (area.rowCount() > kSmallestCopy) {
        const std::int32_t middle = area.firstRow + area.rowCount() / 2;
        readRun({area.firstRow, area.firstColumn, middle - 1, area.lastColumn}, out);
        readRun({middle, area.firstColumn, area.lastRow, area.lastColumn}, out);
        return;
    }
    for (std::int32_t row = area.firstRow; row <= area.lastRow; ++row) {
        for (std::int32_t column = area.firstColumn; column <= area.lastColumn; ++column) {
            out.append(cellText(row, column));
        }
    }
    cellsReadOneByOne_ += static_cast<std::int64_t>(area.rowCount()) * area.columnCount();
}

void CalcCells::readTexts(std::int32_t firstRow, std::int32_t rowCount,
                          const std::vector<std::int32_t>& columns, dupes::TextTable& out) {
    if (rowCount <= 0 || columns.empty()) {
        return;
    }
    // One copy per run of adjacent columns, then the runs' texts are woven
    // together row by row in the order the columns were asked for.
    struct Run {
        Area area;
        dupes::TextTable texts;
    };
    std::vector<Run> runs;
    std::vector<std::pair<std::size_t, std::int32_t>> where; // per asked column: run, offset
    for (const std::int32_t column : columns) {
        if (runs.empty() || column != runs.back().area.lastColumn + 1) {
            runs.push_back({{firstRow, column, firstRow + rowCount - 1, column}, {}});
        } else {
            runs.back().area.lastColumn = column;
        }
        where.emplace_back(runs.size() - 1, column - runs.back().area.firstColumn);
    }
    for (auto& run : runs) {
        readRun(run.area, run.texts);
    }
    for (std::size_t r = 0; r < static_cast<std::size_t>(rowCount); ++r) {
        for (const auto& [run, offset] : where) {
            const auto width = static_cast<std::size_t>(runs[run].area.columnCount());
            out.append(runs[run].texts.cell(r * width + static_cast<std::size_t>(offset)));
        }
    }
}

std::string CalcCells::sheetName() {
    return ToUtf8(Reference<css::container::XNamed>(sheet_, UNO_QUERY_THROW)->getName());
}

void CalcCells::colourSpans(const std::vector<dupes::CellSpan>& spans, std::uint32_t colour) {
    if (spans.empty()) {
        return;
    }
    // The office takes fills on a protected sheet or a read-only document
    // without a word and keeps none, so both are asked about first.
    GuardUno("colour the cells", [&] {
        if (Reference<css::util::XProtectable>(sheet_, UNO_QUERY_THROW)->isProtected()) {
            throw SheetError("The sheet \"" + sheetName() +
                             "\" is protected, so its cells cannot be coloured. Remove the "
                             "protection in the spreadsheet application and try again.");
        }
        if (Reference<css::frame::XStorable>(documentFactory_, UNO_QUERY_THROW)->isReadonly()) {
            throw SheetError("LibreOffice opened the workbook read-only, so its cells cannot be "
                             "coloured.");
        }
    });
    // Spans of one width on consecutive rows become one rectangle: fewer
    // ranges for the office to keep apart.
    std::vector<css::table::CellRangeAddress> rectangles;
    for (const auto& span : spans) {
        auto* last = rectangles.empty() ? nullptr : &rectangles.back();
        if (last != nullptr && last->EndRow == span.row - 2 &&
            last->StartColumn == span.firstColumn - 1 && last->EndColumn == span.lastColumn - 1) {
            last->EndRow = span.row - 1;
        } else {
            rectangles.emplace_back(sheetIndex_, span.firstColumn - 1, span.row - 1,
                                    span.lastColumn - 1, span.row - 1);
        }
    }
    // All in one request: the office re-walks a column's existing fills for
    // every further request, which made a split request minutes slower.
    GuardUno("colour the cells", [&] {
        const Reference<css::sheet::XSheetCellRangeContainer> ranges(
            documentFactory_->createInstance("com.sun.star.sheet.SheetCellRanges"),
            UNO_QUERY_THROW);
        // false: keep the ranges as given; merging them costs more than it saves.
        ranges->addRangeAddresses({rectangles.data(), static_cast<sal_Int32>(rectangles.size())},
                                  false);
        const Reference<css::beans::XPropertySet> properties(ranges, UNO_QUERY_THROW);
        // Undo and row-height adjustment cost far more than the colouring on
        // a large block (46 s against 8 s for a million rows): undo copies the
        // old attributes of every marked run, scanning its column from the
        // top. Neither serves a run: a fill changes no row height, and a run's
        // colouring is no edit of the user's to take back, as Excel keeps no
        // undo step for automation. (Turning undo off empties the undo list;
        // a run works on a workbook just loaded, whose list is empty.)
        const Reference<css::beans::XPropertySet> document(documentFactory_, UNO_QUERY_THROW);
        const ScopedSetting noUndo(document, "IsUndoEnabled", false);
        const ScopedSetting noHeights(document, "IsAdjustHeightEnabled", false);
        properties->setPropertyValue("CellBackColor",
                                     css::uno::Any(static_cast<sal_Int32>(SwapRedAndBlue(colour))));
    });
    // Whatever else may keep the office from filling cells, the corners of
    // the request show it: the first and the last cell asked for.
    if (fillOf(spans.front().row, spans.front().firstColumn) != colour ||
        fillOf(spans.back().row, spans.back().lastColumn) != colour) {
        throw SheetError("LibreOffice did not colour the cells of the sheet \"" + sheetName() +
                         "\": the fills it accepted are not there.");
    }
}

std::optional<std::uint32_t> CalcCells::fillOf(std::int32_t row, std::int32_t column) {
    return GuardUno("read a cell's fill", [&]() -> std::optional<std::uint32_t> {
        const Reference<css::beans::XPropertySet> cell(
            sheet_->getCellByPosition(column - 1, row - 1), UNO_QUERY_THROW);
        bool transparent = false;
        cell->getPropertyValue("IsCellBackgroundTransparent") >>= transparent;
        if (transparent) {
            return std::nullopt;
        }
        sal_Int32 rgb = 0;
        cell->getPropertyValue("CellBackColor") >>= rgb;
        return SwapRedAndBlue(static_cast<std::uint32_t>(rgb));
    });
}

} // namespace sheet::libreoffice
