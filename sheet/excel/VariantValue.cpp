#include "VariantValue.h"

#include "Com.h"

namespace sheet::excel {

CellValue CellValueOf(const VARIANT& value) {
    if ((value.vt & VT_BYREF) != 0) {
        Variant direct;
        Check(VariantCopyInd(direct.put(), Source(value)));
        return CellValueOf(direct.get());
    }
    switch (value.vt) {
    case VT_EMPTY:
    case VT_NULL:
        return CellValue::Empty();
    case VT_BSTR:
        return CellValue::OfText(Utf8Of(value.bstrVal));
    case VT_BOOL:
        return CellValue::OfBoolean(value.boolVal != VARIANT_FALSE);
    case VT_DATE:
        return CellValue::OfDate(value.date);
    case VT_ERROR:
        // Excel's cell errors come as 0x800A07FA for #N/A: the number is the low word.
        return CellValue::OfError(static_cast<std::int32_t>(value.scode & 0xFFFF));
    case VT_R8:
    case VT_R4:
    case VT_CY:
    case VT_DECIMAL:
    case VT_I1:
    case VT_I2:
    case VT_I4:
    case VT_I8:
    case VT_INT:
    case VT_UI1:
    case VT_UI2:
    case VT_UI4:
    case VT_UI8:
    case VT_UINT: {
        Variant number;
        Check(VariantChangeType(number.put(), Source(value), 0, VT_R8));
        return CellValue::OfNumber(number.get().dblVal);
    }
    default:
        throw SheetError("Excel gave a cell value of an unexpected kind (variant type " +
                         std::to_string(value.vt) + ").");
    }
}

} // namespace sheet::excel
