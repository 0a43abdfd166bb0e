#pragma once

#include "Main.h"

namespace cli {

// Main with the arguments in UTF-8, as it takes them. On Windows they are
// read from the UTF-16 command line: the narrow argv is in the ANSI code
// page, which turns every character outside it (a "ö" or a "—" in a
// workbook's name) into another. Elsewhere argv is passed on as it is.
int Utf8Main(int argc, char** argv, const MainOptions& options = {});

} // namespace cli
