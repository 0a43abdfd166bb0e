// vantrelo-office-guard: starts one office and makes it die with the process
// that asked for it, however that process ends (SIGKILL included), then
// removes what the office leaves. The guarded process holds the other end of
// the socket on our standard input, which nothing else inherits: when that
// end closes without "end" or "handover", the guarded process is gone. The
// office is our child, so we see it end at once and know it from the moment
// it exists. Hang-ups and interrupts are ignored, and we run in a process
// group of our own, so whatever ends the guarded process does not end us
// first.
#include "OfficeGuardWords.h"
#include "OfficeLeftovers.h"
#include "ProcessArguments.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/signalfd.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using namespace sheet::libreoffice;
namespace words = guard_words;
using Clock = std::chrono::steady_clock;

// The office exits with this code when it wants to be started again, which
// it does once after creating a new user profile.
constexpr int kRestartExitCode = 81;
constexpr int kGuarded = STDIN_FILENO;

struct Command {
    OfficeLeftovers leftovers;
    std::vector<std::string> office;
};

std::optional<Command> Parse(int argc, char** argv) {
    Command command;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == words::kOffice) {
            command.office.assign(argv + i + 1, argv + argc);
            break;
        }
        if (i + 1 == argc) {
            return std::nullopt;
        }
        if (argument == words::kFolder) {
            command.leftovers.folders.emplace_back(argv[++i]);
        } else if (argument == words::kPipe) {
            command.leftovers.pipeName = argv[++i];
        } else {
            return std::nullopt;
        }
    }
    if (command.office.empty()) {
        return std::nullopt;
    }
    return command;
}

void Say(std::string_view word, long number) {
    const std::string message = std::string(word) + " " + std::to_string(number);
    ::send(kGuarded, message.data(), message.size(), MSG_NOSIGNAL);
}

class Guard {
public:
    Guard(Command command, int childExits)
        : command_(std::move(command)), childExits_(childExits) {}

    int run() {
        if (!start()) {
            command_.leftovers.remove();
            return 1;
        }
        while (!ended_ || (mode_ == Mode::Guarding && listening_)) {
            pollfd watched[] = {{listening_ ? kGuarded : -1, POLLIN, 0}, {childExits_, POLLIN, 0}};
            const int ready = ::poll(watched, 2, timeout());
            if (ready == 0) {
                kill();
            }
            if (ready <= 0) {
                continue;
            }
            if (watched[0].revents != 0) {
                hear();
            }
            if (watched[1].revents != 0) {
                signalfd_siginfo info;
                [[maybe_unused]] const auto got = ::read(childExits_, &info, sizeof info);
                reapIfEnded();
            }
        }
        command_.leftovers.remove();
        return 0;
    }

private:
    enum class Mode { Guarding, Ending, HandedOver };

    bool start() {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        // A group of its own, so that a Ctrl+C meant for the guarded process
        // does not hit an office left to the user, and so that it is killed
        // whole; the signals we ignore or block are its own again.
        sigset_t usual;
        sigemptyset(&usual);
        for (const int signal : {SIGHUP, SIGINT, SIGTERM, SIGPIPE}) {
            sigaddset(&usual, signal);
        }
        sigset_t none;
        sigemptyset(&none);
        posix_spawnattr_setsigdefault(&attributes, &usual);
        posix_spawnattr_setsigmask(&attributes, &none);
        posix_spawnattr_setpgroup(&attributes, 0);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF |
                                                  POSIX_SPAWN_SETSIGMASK);
        const std::vector<char*> argv = NullTerminated(command_.office);
        const int error =
            ::posix_spawn(&office_, argv[0], &actions, &attributes, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
        if (error != 0) {
            Say(words::kFailed, error);
            return false;
        }
        Say(words::kStarted, office_);
        return true;
    }

    int timeout() const {
        if (mode_ != Mode::Ending || killed_) {
            return -1;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now());
        return static_cast<int>(std::max<long long>(left.count(), 0));
    }

    // Only while the office is not yet reaped: until then its pid, and so
    // its group's number, cannot be anyone else's.
    void kill() {
        killed_ = true;
        if (!ended_) {
            ::kill(-office_, SIGKILL);
        }
    }

    void hear() {
        char buffer[64];
        const ssize_t size = ::recv(kGuarded, buffer, sizeof buffer - 1, 0);
        if (size < 0 && errno == EINTR) {
            return;
        }
        if (size <= 0) {
            listening_ = false;
            if (mode_ != Mode::HandedOver) {
                kill();
            }
            return;
        }
        buffer[size] = '\0';
        const std::string_view message(buffer, static_cast<std::size_t>(size));
        const std::string_view word = message.substr(0, message.find(' '));
        if (word == words::kKill) {
            kill();
        } else if (word == words::kEnd) {
            mode_ = Mode::Ending;
            const long wait = word.size() < message.size()
                                  ? std::strtol(buffer + word.size() + 1, nullptr, 10)
                                  : 0;
            deadline_ = Clock::now() + std::chrono::milliseconds(wait);
        } else if (word == words::kHandOver) {
            mode_ = Mode::HandedOver;
        }
    }

    void reapIfEnded() {
        siginfo_t info{};
        if (::waitid(P_PID, static_cast<id_t>(office_), &info, WEXITED | WNOHANG | WNOWAIT) != 0 ||
            info.si_pid == 0) {
            return;
        }
        // Helpers it started go with it, unless it was the user's: a browser
        // opened from a link in the document is theirs too.
        if (mode_ != Mode::HandedOver) {
            ::kill(-office_, SIGKILL);
        }
        int status = 0;
        ::waitpid(office_, &status, 0);
        const bool restart = WIFEXITED(status) && WEXITSTATUS(status) == kRestartExitCode &&
                             !restarted_ && !killed_ && mode_ == Mode::Guarding;
        if (restart) {
            restarted_ = true;
            if (start()) {
                return;
            }
        }
        ended_ = true;
        Say(words::kExited, status);
    }

    Command command_;
    int childExits_;
    pid_t office_ = -1;
    Mode mode_ = Mode::Guarding;
    Clock::time_point deadline_;
    bool listening_ = true;
    bool killed_ = false;
    bool restarted_ = false;
    bool ended_ = false;
};

} // namespace

int main(int argc, char** argv) {
    auto command = Parse(argc, argv);
    if (!command) {
        return 2;
    }
    for (const std::string& folder : command->leftovers.folders) {
        HoldAsInUse(folder);
    }
    for (const int signal : {SIGHUP, SIGINT, SIGTERM, SIGPIPE}) {
        std::signal(signal, SIG_IGN);
    }
    sigset_t childExit;
    sigemptyset(&childExit);
    sigaddset(&childExit, SIGCHLD);
    sigprocmask(SIG_BLOCK, &childExit, nullptr);
    const int childExits = ::signalfd(-1, &childExit, SFD_CLOEXEC);
    if (childExits < 0) {
        return 1;
    }
    return Guard(std::move(*command), childExits).run();
}
