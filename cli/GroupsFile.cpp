#include "GroupsFile.h"

#include "OutputFile.h"

#include "sheet/FileErrors.h"
#include "sheet/PublishFile.h"
#include "sheet/Utf8Path.h"

#include <cerrno>
#include <stdexcept>

namespace cli {
namespace {

constexpr const char* kWhatItIs = "the groups report";

} // namespace

void CheckGroupsFile(const HighlightCommand& command) {
    try {
        CheckOutputFile(sheet::PathOf(command.workbook), sheet::PathOf(command.groups),
                        command.force, kWhatItIs);
    } catch (const std::runtime_error& e) {
        throw UsageError(e.what());
    }
}

void WriteGroupsFile(const HighlightCommand& command, const GroupsReport& report,
                     const std::string& copySavedAt) {
    const std::string contents = ReportFormatOf(command.groups) == ReportFormat::Json
                                     ? GroupsJson(report)
                                     : GroupsCsv(report);
    try {
        sheet::PublishContents(contents, sheet::PathOf(command.groups), command.force, kWhatItIs);
    } catch (const sheet::FileError& e) {
        // A report that appeared while the office worked is left alone.
        std::string message = e.error() == EEXIST && !command.force
                                  ? std::string(kWhatItIs) + " " +
                                        sheet::Quoted(sheet::PathOf(command.groups)) +
                                        " exists; add --force to replace it"
                                  : e.what();
        if (!copySavedAt.empty()) {
            message += "; the coloured copy is saved at \"" + copySavedAt + "\"";
        }
        throw std::runtime_error(message);
    }
}

} // namespace cli
