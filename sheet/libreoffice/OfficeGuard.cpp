// Starts an office through its guard program and tells the guard how the
// office is to end.
#include "OfficeGuard.h"

#include "OfficeGuardWords.h"
#include "ProcessArguments.h"
#include "sheet/SheetError.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace sheet::libreoffice {
namespace {

namespace fs = std::filesystem;
namespace words = guard_words;

struct Message {
    std::string word;
    long number = 0;
};

// The next message from the guard, waiting up to `timeout` (-1: for ever);
// a word of none when the guard is gone, none when nothing came in time.
std::optional<Message> Hear(int socket, int timeout) {
    pollfd watched{socket, POLLIN, 0};
    int ready = 0;
    while ((ready = ::poll(&watched, 1, timeout)) < 0 && errno == EINTR) {
    }
    if (ready == 0) {
        return std::nullopt;
    }
    char buffer[64];
    ssize_t size = 0;
    while ((size = ::recv(socket, buffer, sizeof buffer - 1, 0)) < 0 && errno == EINTR) {
    }
    if (size <= 0) {
        return Message{};
    }
    buffer[size] = '\0';
    char* number = std::strchr(buffer, ' ');
    if (number != nullptr) {
        *number++ = '\0';
    }
    return Message{buffer, number != nullptr ? std::strtol(number, nullptr, 10) : 0};
}

void Reap(pid_t pid) {
    while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
}

} // namespace

OfficeGuard::OfficeGuard(const OfficeLeftovers& leftovers, std::vector<std::string> arguments,
                         std::vector<std::string> environment) {
    const std::string program = OfficeGuardProgram();
    if (program.empty()) {
        throw SheetError("LibreOffice could not be started: a part of Vantrelo is missing "
                         "(vantrelo-office-guard, which ends the office with Vantrelo). "
                         "Install Vantrelo again.");
    }
    std::vector<std::string> args{program};
    for (const std::string& folder : leftovers.folders) {
        args.insert(args.end(), {std::string(words::kFolder), folder});
    }
    if (!leftovers.pipeName.empty()) {
        args.insert(args.end(), {std::string(words::kPipe), leftovers.pipeName});
    }
    args.emplace_back(words::kOffice);
    args.insert(args.end(), arguments.begin(), arguments.end());

    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends) != 0) {
        throw SheetError(std::string("LibreOffice could not be started: ") + std::strerror(errno));
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDIN_FILENO);
    // The office talks on its own: keep its chatter off our terminal.
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK);
    const std::vector<char*> argv = NullTerminated(args);
    const std::vector<char*> envp = NullTerminated(environment);
    const int error =
        ::posix_spawn(&guard_, program.c_str(), &actions, &attributes, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(ends[1]);
    if (error != 0) {
        ::close(ends[0]);
        throw SheetError(std::string("LibreOffice could not be started: ") + std::strerror(error));
    }
    socket_ = ends[0];
    const std::optional<Message> first = Hear(socket_, -1);
    if (first && first->word == words::kStarted) {
        office_ = static_cast<pid_t>(first->number);
        return;
    }
    end(std::chrono::milliseconds(0));
    const int cause = first && first->word == words::kFailed ? static_cast<int>(first->number) : 0;
    throw SheetError("LibreOffice could not be started (" + arguments.front() + ")" +
                     (cause != 0 ? std::string(": ") + std::strerror(cause) : std::string(".")));
}

OfficeGuard::~OfficeGuard() {
    if (guard_ > 0) {
        end(std::chrono::milliseconds(0));
    }
}

bool OfficeGuard::exitedWithin(std::chrono::milliseconds time) {
    const auto deadline = std::chrono::steady_clock::now() + time;
    while (!exitStatus_ && socket_ >= 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        const auto message = Hear(socket_, static_cast<int>(std::max<long long>(left.count(), 0)));
        if (!message) {
            return false;
        }
        if (message->word == words::kStarted) {
            office_ = static_cast<pid_t>(message->number);
        } else if (message->word == words::kExited) {
            exitStatus_ = static_cast<int>(message->number);
        } else if (message->word.empty()) {
            exitStatus_ = -1; // the guard is gone, and the office with it
        }
    }
    return true;
}

void OfficeGuard::kill() {
    say(words::kKill);
}

void OfficeGuard::end(std::chrono::milliseconds grace) {
    if (guard_ > 0) {
        say(words::kEnd, static_cast<long>(grace.count()));
        // The guard exits once the office has ended and its leftovers are gone.
        Reap(guard_);
        guard_ = -1;
    }
    hangUp();
}

void OfficeGuard::handOver() {
    say(words::kHandOver);
    hangUp();
    std::thread([guard = guard_] { Reap(guard); }).detach();
    guard_ = -1;
}

void OfficeGuard::say(std::string_view word, long number) {
    const std::string message =
        std::string(word) + (number >= 0 ? " " + std::to_string(number) : std::string());
    const std::lock_guard lock(socketMutex_);
    if (socket_ >= 0) {
        // A guard someone killed must not take us down with SIGPIPE.
        ::send(socket_, message.data(), message.size(), MSG_NOSIGNAL);
    }
}

void OfficeGuard::hangUp() {
    const std::lock_guard lock(socketMutex_);
    ::close(socket_);
    socket_ = -1;
}

std::string OfficeGuardProgram() {
    std::error_code ec;
    fs::path folder = fs::read_symlink("/proc/self/exe", ec).parent_path();
    for (int up = 0; up < 2 && !ec; ++up, folder = folder.parent_path()) {
        const fs::path program = (folder / OFFICE_GUARD_FROM_PROGRAM).lexically_normal();
        if (::access(program.c_str(), X_OK) == 0) {
            return program.string();
        }
    }
    return {};
}

} // namespace sheet::libreoffice
