#include "OfficeGuard.h"

#include "Spawn.h"
#include "sheet/SheetError.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace sheet::libreoffice {
namespace {

namespace fs = std::filesystem;

// In libexec/vantrelo beside the running program's folder, or beside the
// folder above it, where the build puts it for the tests.
std::string GuardProgram() {
    std::error_code ec;
    fs::path folder = fs::read_symlink("/proc/self/exe", ec).parent_path();
    for (int up = 0; up < 2 && !ec; ++up, folder = folder.parent_path()) {
        const fs::path program = (folder / OFFICE_GUARD_FROM_PROGRAM).lexically_normal();
        if (::access(program.c_str(), X_OK) == 0) {
            return program.string();
        }
    }
    throw SheetError("LibreOffice could not be started: a part of Vantrelo is missing "
                     "(vantrelo-office-guard, which ends the office with Vantrelo). Install "
                     "Vantrelo again.");
}

// The guard's next word, waiting up to `timeout` (-1: for ever); none when
// nothing came in time, a word of 0 when the guard is gone.
std::optional<GuardWord> Hear(int socket, int timeout) {
    pollfd watched{socket, POLLIN, 0};
    int ready = 0;
    while ((ready = ::poll(&watched, 1, timeout)) < 0 && errno == EINTR) {
    }
    GuardWord word{};
    if (ready == 0) {
        return std::nullopt;
    }
    return ::recv(socket, &word, sizeof word, 0) == sizeof word ? word : GuardWord{};
}

void Reap(pid_t pid) {
    while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
}

} // namespace

OfficeGuard::OfficeGuard(const OfficeLeftovers& leftovers, std::vector<std::string> arguments,
                         std::vector<std::string> environment,
                         const std::shared_ptr<StopSwitch>& stop) {
    const std::string office = arguments.front();
    arguments.insert(arguments.begin(), {GuardProgram(), leftovers.folder, leftovers.pipeName});
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends) != 0) {
        throw SheetError(std::string("LibreOffice could not be started: ") + std::strerror(errno));
    }
    const int error = Spawn(guard_, std::move(arguments), std::move(environment), ends[1]);
    ::close(ends[1]);
    socket_ = ends[0];
    if (error != 0) {
        guard_ = -1;
    }
    const auto first = error == 0 ? Hear(socket_, -1) : std::nullopt;
    if (first && first->what == GuardWord::Started) {
        office_ = static_cast<pid_t>(first->number);
        // A switch pulled while we were starting kills the office here, at once.
        if (stop) {
            stopHook_ = stop->onPull([this] { kill(); });
        }
        return;
    }
    end(std::chrono::milliseconds(0));
    const int cause = error != 0                         ? error
                      : first->what == GuardWord::Failed ? static_cast<int>(first->number)
                                                         : 0;
    throw SheetError("LibreOffice could not be started (" + office + ")" +
                     (cause != 0 ? std::string(": ") + std::strerror(cause) : "."));
}

OfficeGuard::~OfficeGuard() {
    end(std::chrono::milliseconds(0));
}

bool OfficeGuard::exitedWithin(std::chrono::milliseconds time) {
    const auto deadline = std::chrono::steady_clock::now() + time;
    while (!exitStatus_ && socket_ >= 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        const auto word = Hear(socket_, static_cast<int>(std::max<long long>(left.count(), 0)));
        if (!word) {
            return false;
        }
        if (word->what == GuardWord::Started) {
            office_ = static_cast<pid_t>(word->number);
        } else if (word->what == GuardWord::Exited || word->what == 0) {
            exitStatus_ = word->what == 0 ? -1 : static_cast<int>(word->number);
        }
    }
    return true;
}

void OfficeGuard::kill() {
    say({GuardWord::Kill});
}

void OfficeGuard::end(std::chrono::milliseconds grace) {
    if (guard_ > 0) {
        say({GuardWord::End, grace.count()});
        // The guard exits once the office has ended and its leftovers are gone.
        Reap(std::exchange(guard_, -1));
    }
    const std::lock_guard lock(socketMutex_);
    ::close(std::exchange(socket_, -1));
}

void OfficeGuard::handOver() {
    stopHook_ = {};
    say({GuardWord::HandOver});
    {
        const std::lock_guard lock(socketMutex_);
        ::close(std::exchange(socket_, -1));
    }
    std::thread(Reap, std::exchange(guard_, -1)).detach();
}

void OfficeGuard::say(GuardWord word) {
    const std::lock_guard lock(socketMutex_);
    // A guard someone killed must not take us down with SIGPIPE.
    ::send(socket_, &word, sizeof word, MSG_NOSIGNAL);
}

} // namespace sheet::libreoffice
