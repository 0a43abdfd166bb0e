#include "Main.h"

#include "Arguments.h"
#include "Commands.h"
#include "Interrupt.h"
#include "OutputFile.h"

#include "sheet/Spreadsheet.h"
#include "sheet/Utf8Path.h"

#ifndef _WIN32
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

#include <csignal>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace cli {
namespace {

std::string UsageText(const std::string& program, bool window) {
    const std::string p = "  " + program;
    return "Usage:\n" + (window ? p + "\n" : std::string()) + p +
           " highlight WORKBOOK --block TEXT --columns LIST --output FILE [options]\n" + p +
           " columns WORKBOOK --block TEXT [--json]\n" + p + " --help | --version\n" + "\n" +
           (window ? "Without arguments the window starts. With them, the duplicate rows of a\n"
                     "block of cells are coloured without any window:\n"
                   : "Colours the duplicate rows of a block of cells without any window:\n") +
           "`highlight` opens WORKBOOK in a new, headless office instance, colours\n"
           "the rows as the window's buttons do, saves the coloured copy to FILE and\n"
           "ends the instance. WORKBOOK itself is never written. `columns` prints the\n"
           "block's column list, one entry a line, as the window lists it.\n"
           "\n"
           "Options of highlight:\n"
           "  --block TEXT    the block, as the window's block box holds it:\n"
           "                  'Data!$B$2:$E$40'\n"
           "  --columns LIST  the compared columns, separated by commas: numbers\n"
           "                  counted from the block's left edge (1,3), names as\n"
           "                  `columns` lists them (Name,City), or all\n"
           "  --colour NAME   " +
           ColourNamesInWords() +
           "; Yellow when not given; per-group\n"
           "                  gives each group of repeated rows its own light colour\n"
           "  --except-first  colour only rows that repeat an earlier row, from the\n"
           "                  block's second row down (\"Highlight Duplicates Except\n"
           "                  For First One\"); without it every row that occurs more\n"
           "                  than once is coloured (\"Highlight All Duplicates\")\n"
           "  --entire-row    colour the whole row inside the block, not only the\n"
           "                  compared cells\n"
           "  --ignore-case   match texts whatever their letter case (Unicode case\n"
           "                  folding: STRASSE matches straße)\n"
           "  --trim          ignore blanks at either end of a text, and count a run\n"
           "                  of blanks inside it as one\n"
           "  --output FILE   where the coloured copy goes; its extension names the\n"
           "                  format: .xlsx, .xls, .ods or .fods\n"
           "  --groups REPORT also write which rows repeat which, one group a record,\n"
           "                  as .csv or .json (by its extension)\n"
           "  --report-only   write only the --groups report: colour nothing, save no\n"
           "                  copy, no --output\n"
           "  --force         replace FILE or REPORT if it exists\n"
           "  --json          print the summary (or the column list) as JSON\n"
           "\n"
           "In LIST, an item of digits only is a column number; \\, stands for a comma\n"
           "and \\\\ for a backslash inside a name; `all` alone takes every column.\n"
           "\n"
           "Exit status: 0 done, 1 failure (said in one line on standard error),\n"
           "2 bad usage, 128 + the signal when interrupted (130 Ctrl+C, 143 SIGTERM,\n"
           "129 SIGHUP), with nothing saved.\n";
}

// Office and file errors can run over several lines; the report is one.
std::string OneLine(std::string text) {
    for (char& c : text) {
        if (c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    return text;
}

#ifndef _WIN32
// Started without a standard stream (`>&-`), the next file we open would take
// its number, and the summary would be written into that file. Each missing
// one is held by /dev/null opened for reading only: the number stays taken,
// and writing to it fails, so a summary nobody can see is still noticed.
void HoldMissingStandardStreams() {
    for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (::fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
            const int held = ::open("/dev/null", O_RDONLY);
            if (held >= 0 && held != fd) {
                ::dup2(held, fd);
                ::close(held);
            }
        }
    }
}
#endif

// Results on standard output that did not get there (it is full, closed or
// gone) fail the command: a script must not take silence for success. The
// coloured copy is already in place by then, so the message says where.
void CheckResultsWritten(const Command& command) {
    std::cout.flush();
    if (std::cout) {
        return;
    }
    std::string message = "the results could not be written to standard output";
    if (const auto* highlight = std::get_if<HighlightCommand>(&command)) {
        const bool copySaved = !highlight->reportOnly;
        message = std::string("the summary could not be written to standard output; the ") +
                  (copySaved ? "coloured copy" : "groups report") + " is saved at \"" +
                  AbsolutePath(copySaved ? highlight->output : highlight->groups) + "\"";
    }
    throw std::runtime_error(message);
}

// The batch command's office needs no display and shows nothing.
std::unique_ptr<sheet::Spreadsheet> HeadlessSpreadsheet(std::shared_ptr<sheet::StopSwitch> stop) {
    return sheet::MakeSpreadsheet(std::move(stop), sheet::Windows::None);
}

} // namespace

int Main(int argc, char** argv, const MainOptions& options) {
    std::string program = "vantrelo";
    if (argc > 0 && argv[0] != nullptr && *argv[0] != '\0') {
        program = sheet::PathText(sheet::PathOf(argv[0]).stem());
    }
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
#ifndef _WIN32
    HoldMissingStandardStreams();
    // A reader that went away (`vantrelo highlight ... | head -1`) must show
    // as a failed write of the summary, said and with exit status 1, not end
    // us silently by a signal.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    try {
        const Command command = ParseArguments(arguments);
        if (std::holds_alternative<HelpCommand>(command)) {
            std::cout << UsageText(program, options.windowWithoutArguments) << std::flush;
        } else if (std::holds_alternative<VersionCommand>(command)) {
            std::cout << "vantrelo " VANTRELO_VERSION "\n" << std::flush;
        } else if (const auto* highlight = std::get_if<HighlightCommand>(&command)) {
            RunHighlightCommand(*highlight, HeadlessSpreadsheet, std::cout, std::cerr);
        } else {
            RunColumnsCommand(std::get<ColumnsCommand>(command), HeadlessSpreadsheet, std::cout);
        }
        CheckResultsWritten(command);
        return 0;
    } catch (const UsageError& e) {
        std::cerr << "vantrelo: " << OneLine(e.what()) << "\n\n"
                  << UsageText(program, options.windowWithoutArguments) << std::flush;
        return 2;
    } catch (const std::exception& e) {
        // Once interrupted, whatever failed failed because the office was
        // killed on purpose: the run ends as the signal asked.
        if (WasInterrupted()) {
            std::cerr << "vantrelo: " << Interrupted().what() << "\n" << std::flush;
            return 128 + InterruptSignal();
        }
        std::cerr << "vantrelo: " << OneLine(e.what()) << "\n" << std::flush;
        return 1;
    } catch (...) {
        std::cerr << "vantrelo: an unexpected failure ended the command\n" << std::flush;
        return 1;
    }
}

} // namespace cli
