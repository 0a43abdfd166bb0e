#include "BatchProcess.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

std::string TempFile() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "vantrelo-batch-XXXXXX").string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        throw std::runtime_error("no temporary file");
    }
    ::close(fd);
    return pattern;
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

} // namespace

BatchProcess::BatchProcess(const std::vector<std::string>& arguments, const BatchOptions& options)
    : outFile_(TempFile()), errFile_(TempFile()) {
    std::vector<std::string> args{VANTRELO_BATCH};
    args.insert(args.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    switch (options.standardOutput) {
    case BatchOptions::Output::Caught:
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outFile_.c_str(),
                                         O_WRONLY | O_TRUNC, 0);
        break;
    case BatchOptions::Output::Full:
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/full", O_WRONLY, 0);
        break;
    case BatchOptions::Output::Closed:
        posix_spawn_file_actions_addclose(&actions, STDOUT_FILENO);
        break;
    }
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errFile_.c_str(), O_WRONLY | O_TRUNC,
                                     0);
    if (!options.workingFolder.empty()) {
        posix_spawn_file_actions_addchdir_np(&actions, options.workingFolder.c_str());
    }
    std::vector<std::string> environment = options.environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string name = std::string(*entry).substr(0, std::string(*entry).find('=') + 1);
        if (std::none_of(environment.begin(), environment.end(),
                         [&](const std::string& given) { return given.rfind(name, 0) == 0; })) {
            environment.emplace_back(*entry);
        }
    }
    std::vector<char*> envp;
    for (auto& entry : environment) {
        envp.push_back(entry.data());
    }
    envp.push_back(nullptr);
    const int error = ::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        throw std::runtime_error("vantrelo-batch could not be started");
    }
}

BatchProcess::~BatchProcess() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    std::filesystem::remove(outFile_);
    std::filesystem::remove(errFile_);
}

BatchResult BatchProcess::wait() {
    int status = 0;
    ::waitpid(pid_, &status, 0);
    return resultOf(status);
}

std::optional<BatchResult> BatchProcess::waitFor(std::chrono::milliseconds time) {
    const auto deadline = std::chrono::steady_clock::now() + time;
    int status = 0;
    while (::waitpid(pid_, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return resultOf(status);
}

BatchResult BatchProcess::resultOf(int status) {
    pid_ = -1;
    BatchResult result;
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = ReadFile(outFile_);
    result.err = ReadFile(errFile_);
    return result;
}

BatchResult RunBatch(const std::vector<std::string>& arguments, const BatchOptions& options) {
    return BatchProcess(arguments, options).wait();
}

std::vector<pid_t> OfficeChildrenOf(pid_t parent) {
    std::vector<pid_t> children;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", ec)) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        const std::string stat = ReadFile((entry.path() / "stat").string());
        const auto close = stat.rfind(')');
        // After the name: the state, then the parent's pid.
        if (close == std::string::npos || close + 4 >= stat.size() ||
            std::strtol(stat.c_str() + close + 4, nullptr, 10) != parent) {
            continue;
        }
        if (ReadFile((entry.path() / "cmdline").string()).find("soffice.bin") !=
            std::string::npos) {
            children.push_back(static_cast<pid_t>(std::stol(name)));
        }
    }
    return children;
}
