#pragma once

#include "sheet/Spreadsheet.h"

#ifdef _WIN32
#include "sheet/excel/Excel.h"
#else
#include "sheet/libreoffice/LibreOffice.h"
#endif

#include <functional>
#include <memory>
#include <optional>
#include <string>

#ifdef _WIN32
using OfficeOptions = sheet::excel::ExcelOptions;
#else
using OfficeOptions = sheet::libreoffice::LibreOfficeOptions;
#endif

// Stands in for the person marking a block: gets the offered block text and
// answers one, or none for a cancel.
using BlockAnswer = std::function<std::optional<std::string>(const std::string& offered)>;

// The office backend of this build as the tests drive it: its workbooks
// are the backend's own, bound to their thread as always, and beneath the
// binding they read their fills for FillOf and, when `answer` is given,
// take it for the person's marking of a block instead of asking.
std::unique_ptr<sheet::Spreadsheet> MakeTestOffice(OfficeOptions options, BlockAnswer answer = {});
