#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

// What a finished run of the batch command left.
struct BatchResult {
    int status = -1; // the exit status; 128 + the signal when one ended it
    std::string out;
    std::string err;
};

// How the command is started, besides its arguments.
struct BatchOptions {
    std::vector<std::string> environment; // "NAME=value", added to ours or replacing ours
    std::string workingFolder;            // ours when empty
    enum class Output { Caught, Full, Closed } standardOutput = Output::Caught;
};

// vantrelo-batch running in a process of its own, with nothing on its
// standard input and its two outputs caught (standard output unless the
// options say otherwise).
class BatchProcess {
public:
    explicit BatchProcess(const std::vector<std::string>& arguments,
                          const BatchOptions& options = {});
    ~BatchProcess();
    BatchProcess(const BatchProcess&) = delete;
    BatchProcess& operator=(const BatchProcess&) = delete;

    pid_t pid() const { return pid_; }
    BatchResult wait();
    // The result once the process has ended, or none when it still runs
    // after `time`.
    std::optional<BatchResult> waitFor(std::chrono::milliseconds time);

private:
    BatchResult resultOf(int status);

    pid_t pid_ = -1;
    std::string outFile_, errFile_;
};

BatchResult RunBatch(const std::vector<std::string>& arguments, const BatchOptions& options = {});

// The office processes whose parent is `parent`.
std::vector<pid_t> OfficeChildrenOf(pid_t parent);
