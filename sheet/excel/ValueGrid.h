#pragma once

#include "Com.h"

#include <cstdint>

namespace sheet::excel {

// What Range.Value2 answered for an area of `rows` x `columns` cells: a 2-D
// SAFEARRAY of VARIANTs indexed (row, column), or, for a single cell, its
// value alone. Throws SheetError for an answer of any other shape.
class ValueGrid {
public:
    ValueGrid(Variant answer, std::int32_t rows, std::int32_t columns);
    ~ValueGrid();
    ValueGrid(const ValueGrid&) = delete;
    ValueGrid& operator=(const ValueGrid&) = delete;

    // The value of the cell at these offsets from the area's first cell.
    const VARIANT& at(std::int32_t row, std::int32_t column) const;

private:
    Variant answer_;
    std::int32_t rows_;
    VARIANT* cells_ = nullptr; // into the array, held by SafeArrayAccessData
};

} // namespace sheet::excel
