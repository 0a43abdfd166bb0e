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

std::optional<css::datatransfer::DataFlavor>
TabSeparatedFlavour(const Reference<css::datatransfer::XTransferable>& transferable) {
    for (const auto& flavour : transferable->getTransferDataFlavors()) {
        if (ToUtf8(flavour.MimeType).rfind(kTabSeparatedFlavour, 0) == 0) {
            return flavour;
        }
    }
    return std::nullopt;
}

} // namespace

Reference<css::table::XCellRange> CalcCells::rangeOf(std::int32_t firstRow, std::int32_t rowCount,
                                                     std::int32_t firstColumn,
                                                     std::int32_t columnCount) {
    return sheet_->getCellRangeByPosition(firstColumn - 1, firstRow - 1,
                                          firstColumn + columnCount - 2, firstRow + rowCount - 2);
}

// The office leaves empty rows and columns at the edges of a block out of its
// copy, so only the block's data area is copied, and the cells around it are
// known to be empty.
bool CalcCells::copyBlock(std::int32_t firstRow, std::int32_t rowCount, std::int32_t firstColumn,
                          std::int32_t columnCount, dupes::TextTable& out) {
    const auto content = GuardUno("read the cells", [&] {
        const auto range = rangeOf(firstRow, rowCount, firstColumn, columnCount);
        return Reference<css::sheet::XCellRangesQuery>(range, UNO_QUERY_THROW)
            ->queryContentCells(kAnyContent)
            ->getRangeAddresses();
    });
    std::int32_t top = firstRow + rowCount, bottom = firstRow - 1;
    std::int32_t left = firstColumn + columnCount, right = firstColumn - 1;
    for (const auto& area : content) {
        top = std::min(top, area.StartRow + 1);
        bottom = std::max(bottom, area.EndRow + 1);
        left = std::min(left, area.StartColumn + 1);
        right = std::max(right, area.EndColumn + 1);
    }
    dupes::TextTable data;
    if (bottom >= top && !copyAsText(top, bottom - top + 1, left, right - left + 1, data)) {
        return false;
    }
    const auto width = static_cast<std::size_t>(right - left + 1);
    for (std::int32_t row = firstRow; row < firstRow + rowCount; ++row) {
        for (std::int32_t column = firstColumn; column < firstColumn + columnCount; ++column) {
            const bool inside = row >= top && row <= bottom && column >= left && column <= right;
            out.append(inside ? data.cell(static_cast<std::size_t>(row - top) * width +
                                          static_cast<std::size_t>(column - left))
                              : std::string_view());
        }
    }
    return true;
}

bool CalcCells::copyAsText(std::int32_t firstRow, std::int32_t rowCount, std::int32_t firstColumn,
                           std::int32_t columnCount, dupes::TextTable& out) {
    return GuardUno("read the cells", [&] {
        const auto range = rangeOf(firstRow, rowCount, firstColumn, columnCount);
        const Reference<css::view::XSelectionSupplier> selection(controller_, UNO_QUERY_THROW);
        const Any previous = selection->getSelection();
        selection->select(Any(range));
        const auto transferable =
            Reference<css::datatransfer::XTransferableSupplier>(controller_, UNO_QUERY_THROW)
                ->getTransferable();
        selection->select(previous);
        const auto flavour = transferable.is() ? TabSeparatedFlavour(transferable) : std::nullopt;
        Any data;
        try {
            if (flavour) {
                data = transferable->getTransferData(*flavour);
            }
        } catch (const css::datatransfer::UnsupportedFlavorException&) {
            // Offered but not given: the cell-by-cell route takes over.
        }
        if (!data.hasValue()) {
            return false;
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
        const std::string_view text(utf8);
        const std::size_t before = out.size();
        std::vector<std::size_t> ambiguous;
        if (!ParseTabSeparated(text, static_cast<std::size_t>(rowCount),
                               static_cast<std::size_t>(columnCount), out, ambiguous)) {
            return false;
        }
        rereadUntrusted(firstRow, rowCount, firstColumn, columnCount, before, ambiguous, out);
        return true;
    });
}

// Read again one by one: the fields the copy left ambiguous, and formulas
// whose copied text is a bare 0 or 1, as a formula with a truth value as its
// result is copied as 1 or 0 though the cell shows TRUE or FALSE. (Which
// result type such a formula reports depends on the file format it came
// from, so all formulas count.)
void CalcCells::rereadUntrusted(std::int32_t firstRow, std::int32_t rowCount,
                                std::int32_t firstColumn, std::int32_t columnCount,
                                std::size_t firstIndex, const std::vector<std::size_t>& ambiguous,
                                dupes::TextTable& texts) {
    const auto rowOf = [&](std::size_t index) {
        return firstRow + static_cast<std::int32_t>((index - firstIndex) /
                                                    static_cast<std::size_t>(columnCount));
    };
    const auto columnOf = [&](std::size_t index) {
        return firstColumn + static_cast<std::int32_t>((index - firstIndex) %
                                                       static_cast<std::size_t>(columnCount));
    };
    const auto range = rangeOf(firstRow, rowCount, firstColumn, columnCount);
    const auto formulas = Reference<css::sheet::XCellRangesQuery>(range, UNO_QUERY_THROW)
                              ->queryContentCells(css::sheet::CellFlags::FORMULA);
    std::vector<std::pair<std::size_t, std::string>> replacements;
    for (const std::size_t index : ambiguous) {
        replacements.emplace_back(index, cellText(rowOf(index), columnOf(index)));
    }
    for (const auto& area : formulas->getRangeAddresses()) {
        for (sal_Int32 row = area.StartRow; row <= area.EndRow; ++row) {
            for (sal_Int32 column = area.StartColumn; column <= area.EndColumn; ++column) {
                const auto index = firstIndex +
                                   static_cast<std::size_t>(row - (firstRow - 1)) *
                                       static_cast<std::size_t>(columnCount) +
                                   static_cast<std::size_t>(column - (firstColumn - 1));
                const auto copied = texts.cell(index);
                if ((copied == "0" || copied == "1") &&
                    !std::binary_search(ambiguous.begin(), ambiguous.end(), index)) {
                    replacements.emplace_back(index, cellText(rowOf(index), columnOf(index)));
                }
            }
        }
    }
    cellsReadOneByOne_ += static_cast<std::int64_t>(replacements.size());
    if (replacements.empty()) {
        return;
    }
    // TextTable appends only, so the chunk is rebuilt with the replacements.
    std::sort(replacements.begin(), replacements.end());
    dupes::TextTable rebuilt;
    std::size_t next = 0;
    for (std::size_t i = firstIndex; i < texts.size(); ++i) {
        if (next < replacements.size() && replacements[next].first == i) {
            rebuilt.append(replacements[next++].second);
        } else {
            rebuilt.append(texts.cell(i));
        }
    }
    texts.truncate(firstIndex);
    for (std::size_t i = 0; i < rebuilt.size(); ++i) {
        texts.append(rebuilt.cell(i));
    }
}

} // namespace sheet::libreoffice
