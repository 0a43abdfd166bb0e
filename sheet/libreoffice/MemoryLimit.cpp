#include "MemoryLimit.h"

#include <fstream>
#include <optional>
#include <sys/resource.h>

namespace sheet::libreoffice {
namespace {

std::optional<rlim_t> AddressSpaceLimit() {
    rlimit limit{};
    if (::getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
        return std::nullopt;
    }
    return limit.rlim_cur;
}

std::string TheLimit(rlim_t limit) {
    return "programs started here may use at most " + std::to_string(limit >> 20) +
           " MB (ulimit -v)";
}

} // namespace

std::string MemoryLimitNote() {
    const auto limit = AddressSpaceLimit();
    return limit ? " It may have run out of memory: " + TheLimit(*limit) + "." : std::string();
}

bool AtMemoryLimit(pid_t pid) {
    const auto limit = AddressSpaceLimit();
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (limit && std::getline(status, line)) {
        if (line.rfind("VmPeak:", 0) == 0) {
            const rlim_t peak = std::stoull(line.substr(7)) * 1024;
            return peak >= *limit / 10 * 9;
        }
    }
    return false;
}

std::string OutOfMemory(const std::string& doing) {
    const auto limit = AddressSpaceLimit();
    return "LibreOffice ran out of memory while trying to " + doing + ": " +
           TheLimit(limit.value_or(0)) + ".";
}

} // namespace sheet::libreoffice
