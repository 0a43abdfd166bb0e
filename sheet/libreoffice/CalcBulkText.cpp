// The bulk route for display texts: the office copies a block of cells as
// tab-separated text, which takes one request for many thousands of cells.
#include "CalcCells.h"

#include "UnoErrors.h"
#include "sheet/TabSeparatedText.h"

#include <com/sun/star/datatransfer/DataFlavor.hpp>
#include <com/sun/star/datatransfer/UnsupportedFlavorException.hpp>
#include <com/sun/star/datatransfer/XTransferable.hpp>
#include <com/sun/star/datatransfer/XTransferableSupplier.hpp>
#include <com/sun/star/sheet/CellFlags.hpp>
#include <com/sun/star/sheet/XCellRangesQuery.hpp>
#include <com/sun/star/sheet/XSheetCellRanges.hpp>
#include <com/sun/star/table/CellRangeAddress.hpp>
#include <com/sun/star/view/XSelectionSupplier.hpp>

#include <algorithm>
#include <string_view>

namespace sheet::libreoffice {

using css::uno::Any;
using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;

namespace {

constexpr sal_Int16 kAnyContent = css::sheet::CellFlags::VALUE | css::sheet::CellFlags::DATETIME |
                                  css::sheet::CellFlags::STRING | css::sheet::CellFlags::FORMULA;

// The office's own copy format: display texts, tabs and line breaks kept.
constexpr std::string_view kTabSeparatedFlavour = "application/x-libreoffice-tsvc";

} // namespace

Reference<css::table::XCellRange> CalcCells::rangeOf(const Area& area) {
    return sheet_->getCellRangeByPosition(area.firstColumn - 1, area.firstRow - 1,
                                          area.lastColumn - 1, area.lastRow - 1);
}

// The office leaves empty rows and columns at the edges of a block out of its
// copy, so only the block's data area is copied, and the cells around it are
// known to be empty.
bool CalcCells::copyBlock(const Area& area, dupes::TextTable& out) {
    const auto content = GuardUno("read the cells", [&] {
        return Reference<css::sheet::XCellRangesQuery>(rangeOf(area), UNO_QUERY_THROW)
            ->queryContentCells(kAnyContent)
            ->getRangeAddresses();
    });
    Area data{area.lastRow + 1, area.lastColumn + 1, area.firstRow - 1, area.firstColumn - 1};
    for (const auto& cells : content) {
        data.firstRow = std::min(data.firstRow, cells.StartRow + 1);
        data.lastRow = std::max(data.lastRow, cells.EndRow + 1);
        data.firstColumn = std::min(data.firstColumn, cells.StartColumn + 1);
        data.lastColumn = std::max(data.lastColumn, cells.EndColumn + 1);
    }
    dupes::TextTable copied;
    std::map<std::size_t, std::string> reread;
    if (data.rowCount() > 0 && !copyAsText(data, copied, reread)) {
        return false;
    }
    const auto width = static_cast<std::size_t>(data.columnCount());
    for (std::int32_t row = area.firstRow; row <= area.lastRow; ++row) {
        for (std::int32_t column = area.firstColumn; column <= area.lastColumn; ++column) {
            if (row < data.firstRow || row > data.lastRow || column < data.firstColumn ||
                column > data.lastColumn) {
                out.append({});
                continue;
            }
            const auto index = static_cast<std::size_t>(row - data.firstRow) * width +
                               static_cast<std::size_t>(column - data.firstColumn);
            const auto again = reread.find(index);
            out.append(again != reread.end() ? again->second : copied.cell(index));
        }
    }
    return true;
}

// Copies `area` into `copied`, and the texts of its cells that cannot be
// trusted, read one by one, into `reread` by their index in `copied`.
bool CalcCells::copyAsText(const Area& area, dupes::TextTable& copied,
                           std::map<std::size_t, std::string>& reread) {
    return GuardUno("read the cells", [&] {
        const Reference<css::view::XSelectionSupplier> selection(controller_, UNO_QUERY_THROW);
        const Any previous = selection->getSelection();
        selection->select(Any(rangeOf(area)));
        const auto transferable =
            Reference<css::datatransfer::XTransferableSupplier>(controller_, UNO_QUERY_THROW)
                ->getTransferable();
        selection->select(previous);
        if (!transferable.is()) {
            return false;
        }
        Any data;
        try {
            for (const auto& flavour : transferable->getTransferDataFlavors()) {
                if (ToUtf8(flavour.MimeType).starts_with(kTabSeparatedFlavour)) {
                    data = transferable->getTransferData(flavour);
                    break;
                }
            }
        } catch (const css::datatransfer::UnsupportedFlavorException&) {
            // Offered but not given: the cell-by-cell route takes over.
        }
        // The flavour names its data type; 7.4 hands out a string.
        css::uno::Sequence<sal_Int8> bytes;
        OUString chars;
        std::string utf8;
        if (data >>= chars) {
            utf8 = ToUtf8(chars);
        } else if (data >>= bytes) {
            utf8.assign(reinterpret_cast<const char*>(bytes.getConstArray()),
                        static_cast<std::size_t>(bytes.getLength()));
        } else {
            return false;
        }
        std::vector<std::size_t> ambiguous;
        if (!ParseTabSeparated(utf8, static_cast<std::size_t>(area.rowCount()),
                               static_cast<std::size_t>(area.columnCount()), copied, ambiguous)) {
            return false;
        }
        reread = rereadUntrusted(area, copied, ambiguous);
        return true;
    });
}

// Read again one by one: the fields the copy left ambiguous, and formulas
// whose copied text is a bare 0 or 1, as a formula with a truth value as its
// result is copied as 1 or 0 though the cell shows TRUE or FALSE. (Which
// result type such a formula reports depends on the file format it came
// from, so all formulas count.)
std::map<std::size_t, std::string>
CalcCells::rereadUntrusted(const Area& area, const dupes::TextTable& copied,
                           const std::vector<std::size_t>& ambiguous) {
    const auto width = static_cast<std::size_t>(area.columnCount());
    std::map<std::size_t, std::string> texts;
    const auto reread = [&](std::size_t index) {
        if (!texts.contains(index)) {
            texts.emplace(index,
                          cellText(area.firstRow + static_cast<std::int32_t>(index / width),
                                   area.firstColumn + static_cast<std::int32_t>(index % width)));
        }
    };
    for (const std::size_t index : ambiguous) {
        reread(index);
    }
    const auto formulas = Reference<css::sheet::XCellRangesQuery>(rangeOf(area), UNO_QUERY_THROW)
                              ->queryContentCells(css::sheet::CellFlags::FORMULA);
    for (const auto& cells : formulas->getRangeAddresses()) {
        for (sal_Int32 row = cells.StartRow + 1; row <= cells.EndRow + 1; ++row) {
            for (sal_Int32 column = cells.StartColumn + 1; column <= cells.EndColumn + 1;
                 ++column) {
                const auto index = static_cast<std::size_t>(row - area.firstRow) * width +
                                   static_cast<std::size_t>(column - area.firstColumn);
                if (copied.cell(index) == "0" || copied.cell(index) == "1") {
                    reread(index);
                }
            }
        }
    }
    cellsReadOneByOne_ += static_cast<std::int64_t>(texts.size());
    return texts;
}

} // namespace sheet::libreoffice
