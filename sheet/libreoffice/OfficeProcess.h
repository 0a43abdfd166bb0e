// One private office process: its own folder (its user profile, its
// temporary files, the copies it saves) and its own pipe name, so it never
// meets an office the user runs. Its guard ends it and removes the folder
// when it is ended, when our process ends any other way, or, once it is
// handed over to the user, when the user has ended it.
#pragma once

#include "LibreOffice.h"
#include "OfficeGuard.h"

#include <chrono>
#include <memory>
#include <string>

namespace sheet::libreoffice {

class OfficeProcess {
public:
    explicit OfficeProcess(LibreOfficeOptions options);
    ~OfficeProcess();
    OfficeProcess(const OfficeProcess&) = delete;
    OfficeProcess& operator=(const OfficeProcess&) = delete;

    const LibreOfficeOptions& options() const { return options_; }

    // The UNO URL that reaches the process's component context, over the
    // pipe of this name.
    std::string connectUrl() const;
    const std::string& pipeName() const { return pipeName_; }

    // The process's private folder, removed with it.
    const std::string& profileDir() const { return profileDir_; }

    // False once the process has ended for good.
    bool running();
    pid_t pid() const { return guard_ ? guard_->office() : -1; }

    // Waits up to `timeout` for the process to end by itself (not at all
    // once the stop switch is pulled), then kills it; returns once its
    // folder is removed.
    void end(std::chrono::milliseconds timeout);

    // The process is the user's from now on: it is neither waited for nor
    // killed, not even by the stop switch.
    void handOver();

    // Whether the stop switch was pulled; throws Stopped when it was.
    bool stopRequested() const;
    void throwIfStopped() const;

private:
    LibreOfficeOptions options_;
    std::string profileDir_;
    std::string pipeName_;
    std::unique_ptr<OfficeGuard> guard_;
};

} // namespace sheet::libreoffice
