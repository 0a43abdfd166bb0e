#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

// Office processes started by this process (children of its guards, or its
// own when it is their subreaper, running with a private profile named
// vantrelo-office-*), found through /proc. Offices of
// other test programs running at the same time are not counted.
std::vector<pid_t> PrivateOfficeProcesses();

// Ends every such process except those in `keep`; returns how many it ended.
int EndPrivateOfficeProcesses(const std::vector<pid_t>& keep);

// This user's office sockets in /tmp, where the office's runtime puts its
// pipes whatever TMPDIR says, sorted; and whether a live office listens on
// one (other offices may run meanwhile: only a socket nobody listens on is
// left behind).
std::vector<std::string> OfficeSockets();
bool Listened(const std::string& socket);
