#include "ExcelCells.h"

#include "ExcelAddress.h"

#include <utility>

namespace sheet::excel {

ExcelCells::ExcelCells(Dispatch worksheet) : worksheet_(std::move(worksheet)) {
    cells_ = GuardCom("read the sheet", [&] { return GetDispatch(worksheet_, L"Cells"); });
}

Dispatch ExcelCells::cell(std::int32_t row, std::int32_t column) {
    return Get(cells_, item_, {Variant::Int(row), Variant::Int(column)}).object();
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

void ExcelCells::readTexts(std::int32_t firstRow, std::int32_t rowCount,
                           const std::vector<std::int32_t>& columns, dupes::TextTable& out) {
    GuardCom("read the cells", [&] {
        for (std::int32_t r = 0; r < rowCount; ++r) {
            for (const std::int32_t column : columns) {
                out.append(textOf(firstRow + r, column));
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
