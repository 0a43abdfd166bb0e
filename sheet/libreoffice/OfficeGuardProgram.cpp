// vantrelo-office-guard FOLDER PIPE PROGRAM [ARGUMENT...]: starts one
// office (PROGRAM ARGUMENT...) and makes it die with the process that started
// us, however that process ends, SIGKILL included; then removes what the
// office leaves (OfficeLeftovers: FOLDER, the pipe named PIPE, its sockets).
// That process holds the other end of the socket on our standard input,
// which nothing else inherits: when it closes without a word (see GuardWord),
// the process is gone. The office is our child, so we know it from the
// moment it exists and see it end at once. Hang-ups and interrupts are
// ignored, and we run in a process group of our own, so whatever ends the
// process that started us does not end us first.
#include "OfficeGuard.h"
#include "Spawn.h"

#include <chrono>
#include <csignal>
#include <poll.h>
#include <sys/signalfd.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace sheet::libreoffice;

namespace {

using Clock = std::chrono::steady_clock;

// The office exits with this code when it wants to be started again, which
// it does once after making a new user profile.
constexpr int kRestartExitCode = 81;
constexpr int kGuarded = STDIN_FILENO;

void Say(decltype(GuardWord::what) what, long long number) {
    const GuardWord word{what, number};
    ::send(kGuarded, &word, sizeof word, MSG_NOSIGNAL);
}

// In a group of its own: a Ctrl+C meant for the process that started us must
// not reach an office left to the user. -1 when it cannot start.
pid_t Start(const std::vector<std::string>& office) {
    pid_t pid = -1;
    const int error = Spawn(pid, office, OurEnvironment(), -1);
    Say(error == 0 ? GuardWord::Started : GuardWord::Failed, error == 0 ? pid : error);
    return error == 0 ? pid : -1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        return 2;
    }
    const OfficeLeftovers leftovers{argv[1], argv[2]};
    std::vector<std::string> office(argv + 3, argv + argc);
    HoldAsInUse(leftovers.folder);
    for (const int signal : kOurSignals) {
        std::signal(signal, SIG_IGN);
    }
    sigset_t childExit;
    sigemptyset(&childExit);
    sigaddset(&childExit, SIGCHLD);
    sigprocmask(SIG_BLOCK, &childExit, nullptr);
    const int childExits = ::signalfd(-1, &childExit, SFD_CLOEXEC);

    pid_t pid = Start(office);
    enum class Mode { Guarding, Ending, HandedOver } mode = Mode::Guarding;
    bool listening = true, killed = false, restarted = false;
    Clock::time_point deadline;
    // Only while it is not reaped: until then its pid, and so its group's
    // number, can be no one else's.
    const auto kill = [&] {
        killed = true;
        if (pid > 0) {
            ::kill(-pid, SIGKILL);
        }
    };
    while (pid > 0 || (mode == Mode::Guarding && listening)) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd watched[] = {{listening ? kGuarded : -1, POLLIN, 0}, {childExits, POLLIN, 0}};
        const int ready = ::poll(watched, 2,
                                 mode == Mode::Ending && !killed
                                     ? static_cast<int>(std::max<long long>(left.count(), 0))
                                     : -1);
        if (ready == 0) {
            kill();
        }
        GuardWord word{};
        if (ready > 0 && watched[0].revents != 0 &&
            ::recv(kGuarded, &word, sizeof word, 0) != sizeof word) {
            listening = false;
            if (mode != Mode::HandedOver) {
                kill();
            }
        } else if (word.what == GuardWord::Kill) {
            kill();
        } else if (word.what == GuardWord::End) {
            mode = Mode::Ending;
            deadline = Clock::now() + std::chrono::milliseconds(word.number);
        } else if (word.what == GuardWord::HandOver) {
            mode = Mode::HandedOver;
        }
        signalfd_siginfo signal{};
        siginfo_t child{};
        if (ready > 0 && watched[1].revents != 0 &&
            ::read(childExits, &signal, sizeof signal) > 0 &&
            ::waitid(P_PID, static_cast<id_t>(pid), &child, WEXITED | WNOHANG | WNOWAIT) == 0 &&
            child.si_pid == pid) {
            // What it started goes with it, unless it is the user's: a browser
            // opened from a link in the workbook is theirs too.
            if (mode != Mode::HandedOver) {
                ::kill(-pid, SIGKILL);
            }
            int status = 0;
            ::waitpid(pid, &status, 0);
            const bool restart = WIFEXITED(status) && WEXITSTATUS(status) == kRestartExitCode &&
                                 !restarted && !killed && mode == Mode::Guarding;
            restarted = restarted || restart;
            pid = restart ? Start(office) : -1;
            if (pid < 0) {
                Say(GuardWord::Exited, status);
            }
        }
    }
    leftovers.remove();
    return 0;
}
