#pragma once

#include "CellValue.h"

#include "Com.h"

namespace sheet::excel {

// What Excel's Range.Value handed over, as a plain value: empty (and Null)
// as Empty, every kind of number (currency and decimal too) as Number,
// dates, truth values, texts, and cell errors by their number. Throws
// SheetError for anything a cell cannot hold.
CellValue CellValueOf(const VARIANT& value);

} // namespace sheet::excel
