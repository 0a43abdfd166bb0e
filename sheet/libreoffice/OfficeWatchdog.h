#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace sheet::libreoffice {

// A tiny guard process beside each office we start, so that the office dies
// with our process however that ends: a crash, SIGKILL, a second Ctrl+C or a
// closed terminal included. The guard listens on a socket whose other end
// only this process holds (close-on-exec, so no child inherits it). When
// that end closes without a word from us, our process is gone: the guard
// kills the office's process group and removes its profile folder. It
// ignores hang-ups and interrupts and runs in its own process group, so
// whatever ends us does not end it first.
class OfficeWatchdog {
public:
    // Starts the guard for an office whose profile is `profileDir`; the
    // guard removes it, and every path of `alsoRemove` (such as the office's
    // pipe in /tmp, which a killed office leaves), once the office is gone.
    // `officeArgument` is an argument only this office's command line holds
    // (one line, no NUL): by it the guard also finds an office started just
    // before our process died, before it was named to `watch`.
    OfficeWatchdog(const std::string& profileDir, const std::string& officeArgument,
                   const std::vector<std::string>& alsoRemove = {});
    // Tells the guard the office was ended normally, and reaps it.
    ~OfficeWatchdog();
    OfficeWatchdog(const OfficeWatchdog&) = delete;
    OfficeWatchdog& operator=(const OfficeWatchdog&) = delete;

    // The office to kill: the leader of its own process group. Called again
    // when the office restarts itself.
    void watch(pid_t office);

    // One more path that goes with the office (a path without line breaks).
    void alsoRemove(const std::string& path);

    // The office is the user's from now on: the guard never kills it, only
    // waits for it to end and then removes its profile. The guard, now
    // unsupervised, must be reaped by the caller (its pid is returned).
    pid_t handOver();

private:
    void say(const std::string& word);
    void hangUp();

    int socket_ = -1;
    pid_t pid_ = -1;
};

} // namespace sheet::libreoffice
