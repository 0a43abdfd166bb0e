#pragma once

#include "ColumnChoice.h"
#include "dupes/ColourTable.h"
#include "dupes/TextMatching.h"

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
    bool colourPerGroup = false; // --colour per-group
    bool exceptFirst = false;
    bool entireRow = false;
    dupes::TextMatching matching; // --ignore-case, --trim
    std::string output;           // empty with --report-only
    std::string groups;           // --groups: the report's path, .csv or .json
    bool reportOnly = false;
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

// What --colour takes besides the colour list's names.
inline constexpr const char* kPerGroupColour = "per-group";

// The arguments after the program name. Throws UsageError naming the first
// thing that is wrong; nothing here touches a file or an office.
Command ParseArguments(const std::vector<std::string>& arguments);

} // namespace cli
