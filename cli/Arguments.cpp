#include "Arguments.h"

#include "GroupsReport.h"
#include "dupes/ColourTable.h"
#include "sheet/Utf8Path.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace cli {
namespace {

bool SameLetters(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// A colour of the list or a colour per group, named in any letter case.
void ParseColour(const std::string& given, HighlightCommand& command) {
    if (SameLetters(given, kPerGroupColour)) {
        command.colourPerGroup = true;
        return;
    }
    for (const dupes::HighlightColour colour : dupes::kHighlightColours) {
        if (SameLetters(dupes::ColourName(colour), given)) {
            command.colour = colour;
            return;
        }
    }
    throw UsageError("--colour \"" + given + "\" is not a colour of the list: " +
                     ColourNamesInWords() + ", or " + kPerGroupColour + " for a colour per group");
}

// Walks the arguments of one command: options with a value ("--block X" or
// "--block=X"), flags, and positional arguments; "--" ends the options.
class Reader {
public:
    explicit Reader(const std::vector<std::string>& arguments) : arguments_(arguments) {}

    bool done() const { return next_ >= arguments_.size(); }

    // The next argument as an option name, or none when it is positional.
    std::optional<std::string> option() {
        const std::string& argument = arguments_[next_];
        if (optionsEnded_ || argument.size() < 2 || argument[0] != '-') {
            return std::nullopt;
        }
        ++next_;
        if (argument == "--") {
            optionsEnded_ = true;
            return option_ = std::string{};
        }
        const auto equals = argument.find('=');
        inlineValue_.reset();
        if (argument.rfind("--", 0) == 0 && equals != std::string::npos) {
            inlineValue_ = argument.substr(equals + 1);
            return option_ = argument.substr(0, equals);
        }
        return option_ = argument;
    }

    std::string positional() { return arguments_[next_++]; }

    std::string value() {
        std::string text;
        if (inlineValue_) {
            text = *inlineValue_;
            inlineValue_.reset();
        } else if (!done() && arguments_[next_].rfind("--", 0) != 0) {
            text = arguments_[next_++];
        }
        if (text.empty()) {
            throw UsageError(option_ + " needs a value");
        }
        return text;
    }

    // A flag takes no value, so "--force=yes" is a mistake worth naming.
    void flag() const {
        if (inlineValue_) {
            throw UsageError(option_ + " takes no value");
        }
    }

private:
    const std::vector<std::string>& arguments_;
    std::size_t next_ = 0;
    bool optionsEnded_ = false;
    std::string option_;
    std::optional<std::string> inlineValue_;
};

// Each option once: a second --block would silently undo the first.
void Once(std::vector<std::string>& seen, const std::string& option) {
    if (std::find(seen.begin(), seen.end(), option) != seen.end()) {
        throw UsageError(option + " is given more than once");
    }
    seen.push_back(option);
}

void Require(const std::string& value, const std::string& what, const std::string& command) {
    if (value.empty()) {
        throw UsageError(command + " needs " + what);
    }
}

bool IsHelp(const std::string& argument) {
    return argument == "--help" || argument == "-h";
}

template <typename Command, typename OnOption>
Command ReadCommand(const std::vector<std::string>& arguments, const std::string& name,
                    OnOption onOption) {
    Command command;
    Reader reader(arguments);
    std::vector<std::string> seen;
    while (!reader.done()) {
        const std::optional<std::string> option = reader.option();
        if (!option) {
            if (!command.workbook.empty()) {
                throw UsageError(name + " takes one workbook, but \"" + reader.positional() +
                                 "\" is a second");
            }
            command.workbook = reader.positional();
            continue;
        }
        if (option->empty()) {
            continue; // "--": what follows is positional
        }
        Once(seen, *option);
        if (!onOption(command, *option, reader)) {
            throw UsageError(name + " has no option " + *option);
        }
    }
    Require(command.workbook, "a WORKBOOK", name);
    Require(command.block, "--block", name);
    return command;
}

// The output's extension names the format the copy is saved in; only these
// keep cell colours. Checked here, before anything starts, so a long run is
// not wasted on a name that cannot be saved.
void CheckOutputFormat(const std::string& output) {
    const std::string extension = sheet::LowerCaseExtension(output);
    for (const char* known : {".xlsx", ".xls", ".ods", ".fods"}) {
        if (extension == known) {
            return;
        }
    }
    const std::string why = extension.empty() ? "has no extension to name the format"
                            : extension == ".xlsm"
                                ? "names a workbook with macros, which the coloured copy is not"
                                : "names a format that does not keep cell colours";
    throw UsageError("--output \"" + output + "\" " + why +
                     "; choose a name ending in .xlsx, .xls, .ods or .fods");
}

// The groups report is written in the format its extension names.
void CheckReportFormat(const std::string& groups) {
    if (!ReportFormatOf(groups)) {
        throw UsageError("--groups \"" + groups +
                         "\" names no report format; choose a name ending in .csv or .json");
    }
}

// Without --report-only a coloured copy is saved; with it only the report
// is written, so it needs --groups, and an --output would be left unwritten.
void CheckWhatIsWritten(const HighlightCommand& command) {
    if (!command.groups.empty()) {
        CheckReportFormat(command.groups);
    }
    if (!command.reportOnly) {
        Require(command.output, "--output", "highlight");
        CheckOutputFormat(command.output);
        return;
    }
    if (command.groups.empty()) {
        throw UsageError("--report-only writes the groups report instead of a coloured copy, so "
                         "it needs --groups FILE");
    }
    if (!command.output.empty()) {
        throw UsageError("--report-only saves no coloured copy; leave out --output or "
                         "--report-only");
    }
}

bool* FlagOf(HighlightCommand& command, const std::string& option) {
    if (option == "--except-first") {
        return &command.exceptFirst;
    }
    if (option == "--ignore-case") {
        return &command.matching.ignoreCase;
    }
    if (option == "--trim") {
        return &command.matching.trimBlanks;
    }
    if (option == "--report-only") {
        return &command.reportOnly;
    }
    if (option == "--entire-row") {
        return &command.entireRow;
    }
    if (option == "--force") {
        return &command.force;
    }
    if (option == "--json") {
        return &command.json;
    }
    return nullptr;
}

HighlightCommand ReadHighlight(const std::vector<std::string>& arguments) {
    bool columnsGiven = false;
    auto command = ReadCommand<HighlightCommand>(
        arguments, "highlight",
        [&columnsGiven](HighlightCommand& c, const std::string& option, Reader& reader) {
            if (option == "--block") {
                c.block = reader.value();
            } else if (option == "--columns") {
                c.columns = ParseColumnChoice(reader.value());
                columnsGiven = true;
            } else if (option == "--colour") {
                ParseColour(reader.value(), c);
            } else if (option == "--output") {
                c.output = reader.value();
            } else if (option == "--groups") {
                c.groups = reader.value();
            } else if (bool* flag = FlagOf(c, option)) {
                reader.flag();
                *flag = true;
            } else {
                return false;
            }
            return true;
        });
    if (!columnsGiven) {
        throw UsageError("highlight needs --columns");
    }
    CheckWhatIsWritten(command);
    return command;
}

ColumnsCommand ReadColumns(const std::vector<std::string>& arguments) {
    return ReadCommand<ColumnsCommand>(
        arguments, "columns", [](ColumnsCommand& c, const std::string& option, Reader& reader) {
            if (option == "--block") {
                c.block = reader.value();
            } else if (option == "--json") {
                reader.flag();
                c.json = true;
            } else {
                return false;
            }
            return true;
        });
}

} // namespace

std::string ColourNamesInWords() {
    std::string names;
    for (const dupes::HighlightColour colour : dupes::kHighlightColours) {
        names += names.empty() ? "" : colour == dupes::kHighlightColours.back() ? " or " : ", ";
        names += dupes::ColourName(colour);
    }
    return names;
}

Command ParseArguments(const std::vector<std::string>& arguments) {
    if (arguments.empty()) {
        throw UsageError("no command given");
    }
    const std::string& first = arguments.front();
    if (IsHelp(first) || first == "help") {
        return HelpCommand{};
    }
    if (first == "--version") {
        return VersionCommand{};
    }
    const std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
    // Asking for help wins over everything else on the line.
    if (std::find_if(rest.begin(), rest.end(), IsHelp) != rest.end() &&
        (first == "highlight" || first == "columns")) {
        return HelpCommand{};
    }
    if (first == "highlight") {
        return ReadHighlight(rest);
    }
    if (first == "columns") {
        return ReadColumns(rest);
    }
    throw UsageError("unknown command \"" + first + "\"; the commands are highlight and columns");
}

} // namespace cli
