#include "ValueGrid.h"

namespace sheet::excel {
namespace {

std::int32_t CountOf(SAFEARRAY* array, UINT dimension) {
    LONG lower = 0;
    LONG upper = -1;
    if (FAILED(SafeArrayGetLBound(array, dimension, &lower)) ||
        FAILED(SafeArrayGetUBound(array, dimension, &upper))) {
        return -1;
    }
    return static_cast<std::int32_t>(upper - lower + 1);
}

} // namespace

ValueGrid::ValueGrid(Variant answer, std::int32_t rows, std::int32_t columns)
    : answer_(std::move(answer)), rows_(rows) {
    if (rows == 1 && columns == 1 && (answer_.type() & VT_ARRAY) == 0) {
        return;
    }
    SAFEARRAY* array = answer_.type() == (VT_ARRAY | VT_VARIANT) ? answer_.get().parray : nullptr;
    // Dimension 1 counts rows, dimension 2 columns, as a macro reads them.
    if (array == nullptr || SafeArrayGetDim(array) != 2 || CountOf(array, 1) != rows ||
        CountOf(array, 2) != columns) {
        throw SheetError("Excel answered the cells' values in a form that was not expected.");
    }
    void* data = nullptr;
    Check(SafeArrayAccessData(array, &data));
    cells_ = static_cast<VARIANT*>(data);
}

ValueGrid::~ValueGrid() {
    if (cells_ != nullptr) {
        SafeArrayUnaccessData(answer_.get().parray);
    }
}

const VARIANT& ValueGrid::at(std::int32_t row, std::int32_t column) const {
    if (cells_ == nullptr) {
        return answer_.get();
    }
    // The first index runs fastest in a SAFEARRAY: a column's cells lie together.
    return cells_[static_cast<std::size_t>(column) * static_cast<std::size_t>(rows_) +
                  static_cast<std::size_t>(row)];
}

} // namespace sheet::excel
