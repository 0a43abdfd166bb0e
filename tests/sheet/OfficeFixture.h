#pragma once

#include "BadWorkbooks.h"
#include "TestOffice.h"
#include "WorkbookMaker.h"
#include "sheet/libreoffice/LibreOffice.h"

#include <filesystem>
#include <string>

// The workbooks every office test uses, made once per test binary by a
// headless office that ends with the binary.
struct TestWorkbooks {
    std::filesystem::path folder;
    std::string xlsx, ods, csv, text;
    std::string people;          // rows with repeats in B2:E10, fills at A1, C3 and F5
    std::string contract;        // ContractBook() as an xlsx file
    std::string protectedPeople; // people with its People sheet protected
    BadWorkbooks bad;
};
const TestWorkbooks& Workbooks();

// A headless private office per workbook.
sheet::libreoffice::LibreOfficeOptions HeadlessOptions();
