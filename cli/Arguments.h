#pragma once

#include "ColumnChoice.h"
#include "dupes/ColourTable.h"

#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

namespace cli {

// The command line does not say what to do: exit status 2, with the usage.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct HelpCommand {};
struct VersionCommand {};

// `highlight WORKBOOK --block TEXT --columns LIST --output FILE [...]`
struct HighlightCommand {
    std::string workbook;
    std::string block;
    ColumnChoice columns;
    dupes::HighlightColour colour = dupes::HighlightColour::Yellow;
    bool exceptFirst = false;
    bool entireRow = false;
    std::string output;
    bool force = false;
    bool json = false;
};

// `columns WORKBOOK --block TEXT [--json]`
struct ColumnsCommand {
    std::string workbook;
    std::string block;
    bool json = false;
};

using Command = std::variant<HelpCommand, VersionCommand, HighlightCommand, ColumnsCommand>;

// The colour list's names as a sentence: "Yellow, Red, Blue or Green".
std::string ColourNamesInWords();

// The arguments after the program name. Throws UsageError naming the first
// thing that is wrong; nothing here touches a file or an office.
Command ParseArguments(const std::vector<std::string>& arguments);

} // namespace cli
