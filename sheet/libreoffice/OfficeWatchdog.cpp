#include "OfficeWatchdog.h"

#include "ProcessArguments.h"
#include "sheet/SheetError.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace sheet::libreoffice {
namespace {

// The arguments are the profile folder and what else goes with the office. Each line read is
// "names ARG" (an argument only this office's command line holds), an office's pid, "remove PATH"
// (one more thing that goes with it), "done" (we ended it ourselves) or "handover" (it is the
// user's now). The end of input without either means the process that started the office is gone.
//
// Offices are found by their command line as well as by pid: one started a moment before we died
// was never named, and a pid of ours may be a zombie nobody reaps. The argument is read from the
// socket and searched for through a here-document, so no process but the office names it. The
// folder goes only once no office writes in it: a killed process's command line is empty.
constexpr const char* kGuardScript = R"guard(trap '' HUP INT TERM
office= marker=
offices() {
  [ -n "$marker" ] || return 0
  grep -laF -f - /proc/[0-9]*/cmdline 2>/dev/null <<EOF
$marker
EOF
}
while read -r word path; do
  case $word in
    names) marker=$path ;;
    remove) set -- "$@" "$path" ;;
    done) exit 0 ;;
    handover)
      while [ -n "$(offices)" ]; do sleep 2; done
      rm -rf -- "$@"
      exit 0 ;;
    *) office=$word ;;
  esac
done
if [ -n "$office" ]; then
  kill -s KILL -- "-$office" 2>/dev/null
  kill -s KILL "$office" 2>/dev/null
else
  sleep 0.2
fi
tries=0
while [ $tries -lt 50 ]; do
  left=$(offices)
  [ -n "$left" ] || break
  for file in $left; do
    pid=${file#/proc/}
    kill -s KILL "${pid%/cmdline}" 2>/dev/null
  done
  sleep 0.1
  tries=$((tries + 1))
done
rm -rf -- "$@"
)guard";

} // namespace

OfficeWatchdog::OfficeWatchdog(const std::string& profileDir, const std::string& officeArgument,
                               const std::vector<std::string>& alsoRemove) {
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) {
        throw SheetError(std::string("LibreOffice could not be started: ") + std::strerror(errno));
    }
    std::vector<std::string> args{"sh", "-c", kGuardScript, "vantrelo-office-guard", profileDir};
    args.insert(args.end(), alsoRemove.begin(), alsoRemove.end());
    const std::vector<char*> argv = NullTerminated(args);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDIN_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK);
    posix_spawnattr_setpgroup(&attributes, 0);
    const int error = ::posix_spawn(&pid_, "/bin/sh", &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(ends[1]);
    if (error != 0) {
        ::close(ends[0]);
        pid_ = -1;
        throw SheetError(std::string("LibreOffice could not be started: no /bin/sh to watch it (") +
                         std::strerror(error) + ")");
    }
    socket_ = ends[0];
    say("names " + officeArgument);
}

OfficeWatchdog::~OfficeWatchdog() {
    if (socket_ >= 0) {
        say("done");
        hangUp();
    }
    if (pid_ > 0) {
        ::waitpid(pid_, nullptr, 0);
    }
}

void OfficeWatchdog::watch(pid_t office) {
    say(std::to_string(office));
}

void OfficeWatchdog::alsoRemove(const std::string& path) {
    say("remove " + path);
}

pid_t OfficeWatchdog::handOver() {
    say("handover");
    hangUp();
    const pid_t guard = pid_;
    pid_ = -1;
    return guard;
}

void OfficeWatchdog::say(const std::string& word) {
    const std::string line = word + "\n";
    // A guard someone killed must not take us down with SIGPIPE.
    while (::send(socket_, line.data(), line.size(), MSG_NOSIGNAL) < 0 && errno == EINTR) {
    }
}

void OfficeWatchdog::hangUp() {
    ::close(socket_);
    socket_ = -1;
}

} // namespace sheet::libreoffice
