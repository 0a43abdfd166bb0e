#pragma once

#include "Arguments.h"
#include "GroupsReport.h"

namespace cli {

// Refuses, before any office starts, a groups report path that cannot be
// written, with the checks of the coloured copy (CheckOutput); its .csv or
// .json name is never the copy's. Every refusal is a UsageError: the command
// line asks for something that cannot be done.
void CheckGroupsFile(const HighlightCommand& command);

// Writes the report to --groups in the format its extension names, whole
// or not at all (sheet::PublishContents). Throws in words; once a coloured
// copy is saved (`copySavedAt` not empty) the message says where it is.
void WriteGroupsFile(const HighlightCommand& command, const GroupsReport& report,
                     const std::string& copySavedAt);

} // namespace cli
