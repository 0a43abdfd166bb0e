#pragma once

#include "sheet/Spreadsheet.h"

#include "sheet/libreoffice/LibreOffice.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

// Stands in for the person marking a block: gets the offered block text and
// answers one, or none for a cancel.
using BlockAnswer = std::function<std::optional<std::string>(const std::string& offered)>;

// LibreOffice as the tests drive it: its workbooks are the backend's own,
// bound to their thread as always, and beneath the binding they read their
// fills for FillOf and, when `answer` is given, take it for the person's
// marking of a block instead of asking.
std::unique_ptr<sheet::Spreadsheet> MakeTestOffice(sheet::libreoffice::LibreOfficeOptions options,
                                                   BlockAnswer answer = {});
