#pragma once

#include <sys/types.h>
#include <vector>

// Office processes started by this program (they run with a private profile
// named vantrelo-office-*), found through /proc.
std::vector<pid_t> PrivateOfficeProcesses();

// Ends every such process except those in `keep`; returns how many it ended.
int EndPrivateOfficeProcesses(const std::vector<pid_t>& keep);
