#pragma once

#include "WorkbookMaker.h"

#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>

// For the few tests that reach past the gateway to the office's own objects.
struct WorkbookMakerUno {
    static com::sun::star::uno::Reference<com::sun::star::sheet::XSpreadsheetDocument>
    DocumentOf(const WorkbookMaker::Document& document);
};
