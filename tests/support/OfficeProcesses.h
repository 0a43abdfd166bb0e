#pragma once

#include <sys/types.h>
#include <vector>

// Office processes started by this process (its children running with a
// private profile named vantrelo-office-*), found through /proc. Offices of
// other test programs running at the same time are not counted.
std::vector<pid_t> PrivateOfficeProcesses();

// Ends every such process except those in `keep`; returns how many it ended.
int EndPrivateOfficeProcesses(const std::vector<pid_t>& keep);
