#include "ExcelCells.h"

#include "ExcelAddress.h"
#include "ValueGrid.h"

#include <algorithm>
#include <utility>

namespace sheet::excel {

// Reading in bulk. One Value2 call answers the values of a whole area, but a
// value is not what Excel shows. The one case where it is: a text in a
// column whose every cell is in the General or the Text ("@") format, which
// show a text as it is; an empty cell there shows nothing. Every other cell
// is read as Excel shows it, with Text, one by one:
// - numbers and dates: General fits a number to the column's width (fewer
//   decimals, an exponent, "####"), so the value does not say what is shown;
// - truth values and errors: their words are Excel's, in the user's language;
// - cells in a column of any other format, or of formats that differ
//   (NumberFormat is then Null): a format's text section can frame a text
//   ("<"@">" shows "abc" as "<abc>");
// - texts longer than 255 characters: a Text cell is known to show one as
//   "#"s, and the documentation says nothing of long texts.
// Whether a text that Fill alignment repeats across its cell comes back
// repeated from Text, the documentation does not say; it is taken as it is.
namespace {

constexpr std::size_t kLongestPlainText = 255;

bool ShowsTextsAsTheyAre(const Variant& numberFormat) {
    if (numberFormat.type() != VT_BSTR) {
        return false; // Null: the cells' formats differ
    }
    const std::string format = numberFormat.text();
    return format == "General" || format == "@";
}

// The text a cell of such a column shows, when its value alone says it.
bool PlainText(const VARIANT& value, std::string& text) {
    if (value.vt == VT_EMPTY) {
        text.clear();
        return true;
    }
    if (value.vt == VT_BSTR && SysStringLen(value.bstrVal) <= kLongestPlainText) {
        text = Utf8Of(value.bstrVal);
        return true;
    }
    return false;
}

// The compared columns, each once, in runs of neighbours that one area reads.
std::vector<std::pair<std::int32_t, std::int32_t>> RunsOf(std::vector<std::int32_t> columns) {
    std::sort(columns.begin(), columns.end());
    columns.erase(std::unique(columns.begin(), columns.end()), columns.end());
    std::vector<std::pair<std::int32_t, std::int32_t>> runs;
    for (const std::int32_t column : columns) {
        if (!runs.empty() && runs.back().second + 1 == column) {
            runs.back().second = column;
        } else {
            runs.emplace_back(column, column);
        }
    }
    return runs;
}

} // namespace

ExcelCells::ExcelCells(Dispatch worksheet) : worksheet_(std::move(worksheet)) {
    cells_ = GuardCom("read the sheet", [&] { return GetDispatch(worksheet_, L"Cells"); });
}

Dispatch ExcelCells::cell(std::int32_t row, std::int32_t column) {
    return Get(cells_, item_, {Variant::Int(row), Variant::Int(column)}).object();
}

Dispatch ExcelCells::rangeOf(const dupes::BlockGeometry& area) {
    return Get(worksheet_, range_, {Variant::Text(AreaAddress(area))}).object();
}

std::string ExcelCells::textOf(std::int32_t row, std::int32_t column) {
    return Get(cell(row, column), text_).text();
}

void ExcelCells::paint(const Dispatch& range, std::uint32_t colour) {
    // Our colour values already carry red in the lowest byte, as Excel's do.
    Put(Get(range, interior_).object(), color_, Variant::Int(static_cast<std::int32_t>(colour)));
}

std::string ExcelCells::cellText(std::int32_t row, std::int32_t column) {
    return GuardCom("read a cell", [&] { return textOf(row, column); });
}

// Per column of the area: whether all its cells are in General or Text.
// One NumberFormat for the area answers for all when they share a format.
std::vector<bool> ExcelCells::showTextsAsTheyAre(const Dispatch& range,
                                                 const dupes::BlockGeometry& area) {
    const auto width = static_cast<std::size_t>(area.lastColumn - area.firstColumn + 1);
    const Variant shared = Get(range, numberFormat_);
    if (shared.type() != VT_NULL || width == 1) {
        return std::vector<bool>(width, ShowsTextsAsTheyAre(shared));
    }
    std::vector<bool> plain;
    for (std::int32_t column = area.firstColumn; column <= area.lastColumn; ++column) {
        const Dispatch one = rangeOf({area.firstRow, column, area.lastRow, column});
        plain.push_back(ShowsTextsAsTheyAre(Get(one, numberFormat_)));
    }
    return plain;
}

void ExcelCells::readColumns(const dupes::BlockGeometry& area,
                             std::vector<dupes::TextTable>& columns) {
    const Dispatch range = rangeOf(area);
    const std::int32_t rows = area.lastRow - area.firstRow + 1;
    const std::int32_t width = area.lastColumn - area.firstColumn + 1;
    const ValueGrid values(Get(range, value2_), rows, width);
    const std::vector<bool> plain = showTextsAsTheyAre(range, area);
    std::string text;
    for (std::int32_t c = 0; c < width; ++c) {
        dupes::TextTable& column = columns.emplace_back();
        for (std::int32_t r = 0; r < rows; ++r) {
            if (plain[static_cast<std::size_t>(c)] && PlainText(values.at(r, c), text)) {
                column.append(text);
            } else {
                column.append(textOf(area.firstRow + r, area.firstColumn + c));
            }
        }
    }
}

void ExcelCells::readTexts(std::int32_t firstRow, std::int32_t rowCount,
                           const std::vector<std::int32_t>& columns, dupes::TextTable& out) {
    if (rowCount <= 0 || columns.empty()) {
        return;
    }
    GuardCom("read the cells", [&] {
        // Every compared column's texts, left to right, then handed out row
        // by row in the order asked.
        std::vector<std::int32_t> read;
        std::vector<dupes::TextTable> texts;
        for (const auto& [first, last] : RunsOf(columns)) {
            readColumns({firstRow, first, firstRow + rowCount - 1, last}, texts);
            for (std::int32_t column = first; column <= last; ++column) {
                read.push_back(column);
            }
        }
        std::vector<std::size_t> order;
        for (const std::int32_t column : columns) {
            order.push_back(static_cast<std::size_t>(
                std::lower_bound(read.begin(), read.end(), column) - read.begin()));
        }
        for (std::int32_t r = 0; r < rowCount; ++r) {
            for (const std::size_t k : order) {
                out.append(texts[k].cell(static_cast<std::size_t>(r)));
            }
        }
    });
}

void ExcelCells::colourSpans(const std::vector<dupes::CellSpan>& spans, std::uint32_t colour) {
    // Joined by address text rather than by Application.Union, which copies
    // the growing union at every step.
    const auto groups = UnionAddresses(spans);
    GuardCom("colour the cells", [&] {
        for (const auto& group : groups) {
            paint(Get(worksheet_, range_, {Variant::Text(group)}).object(), colour);
        }
    });
}

} // namespace sheet::excel
