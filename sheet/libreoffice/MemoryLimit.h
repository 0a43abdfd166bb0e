// The memory limit (ulimit -v) an office inherits from us. Under it the
// office fails in ways that look like anything but a want of memory: it dies
// while starting, or reports a sound workbook as damaged. These name the
// limit instead.
#pragma once

#include <string>
#include <sys/types.h>

namespace sheet::libreoffice {

// For the failure of an office that has died: a sentence on the limit, or
// nothing when there is none.
std::string MemoryLimitNote();

// Whether the running process `pid` has used all but a tenth of the memory
// the limit allows it.
bool AtMemoryLimit(pid_t pid);

// "LibreOffice ran out of memory while trying to `doing`: ...", naming the limit.
std::string OutOfMemory(const std::string& doing);

} // namespace sheet::libreoffice
