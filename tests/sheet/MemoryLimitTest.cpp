// Under a memory limit (ulimit -v) a failing office is said to have run out
// of memory when it came near the limit; without one, nothing is said of it.
#include "sheet/libreoffice/MemoryLimit.h"

#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace sheet::libreoffice;

namespace {

// Runs `check` in a child process whose address space is limited to
// `headroom` times what it has used so far (none: no limit); its result.
bool UnderLimit(std::optional<double> headroom, bool (*check)()) {
    const pid_t child = ::fork();
    if (child == 0) {
        rlimit limit{};
        ::getrlimit(RLIMIT_AS, &limit);
        limit.rlim_cur = RLIM_INFINITY;
        std::ifstream status("/proc/self/status");
        for (std::string line; headroom && std::getline(status, line);) {
            if (line.rfind("VmPeak:", 0) == 0) {
                limit.rlim_cur = static_cast<rlim_t>(std::stod(line.substr(7)) * 1024 * *headroom);
            }
        }
        ::setrlimit(RLIMIT_AS, &limit);
        ::_exit(check() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool AtLimit() {
    return AtMemoryLimit(::getpid());
}

bool Noted() {
    return MemoryLimitNote().find("(ulimit -v)") != std::string::npos;
}

} // namespace

TEST(MemoryLimit, IsNamedOnlyWhenSetAndReachedOnlyNearIt) {
    EXPECT_FALSE(UnderLimit(std::nullopt, AtLimit));
    EXPECT_FALSE(UnderLimit(std::nullopt, Noted));
    EXPECT_TRUE(UnderLimit(1.05, AtLimit));
    EXPECT_FALSE(UnderLimit(2.0, AtLimit));
    EXPECT_TRUE(UnderLimit(2.0, Noted));
}
