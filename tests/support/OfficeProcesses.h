#pragma once

#include <filesystem>
#include <string>
#include <sys/types.h>
#include <vector>

// Office processes started by this process (its children running with a
// private profile named vantrelo-office-*), found through /proc. Offices of
// other test programs running at the same time are not counted.
std::vector<pid_t> PrivateOfficeProcesses();

// Ends every such process except those in `keep`; returns how many it ended.
int EndPrivateOfficeProcesses(const std::vector<pid_t>& keep);

// A file of a process's folder in /proc (`process`), such as "cmdline", or
// empty for a process that ended meanwhile, as any may.
std::string ProcessFile(const std::filesystem::path& process, const char* name);
