#include "OfficeProcess.h"

#include "sheet/SheetError.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace sheet::libreoffice {
namespace {

namespace fs = std::filesystem;

constexpr const char* kProfilePrefix = "vantrelo-office-";
constexpr const char* kPidFile = "office.pid";
// The office exits with this code when it wants to be started again, which
// it does once after creating a new user profile.
constexpr int kRestartExitCode = 81;

fs::path TempRoot() {
    const char* tmp = std::getenv("TMPDIR");
    return tmp != nullptr && *tmp != '\0' ? fs::path(tmp) : fs::path("/tmp");
}

bool ProcessAlive(pid_t pid) {
    return pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM);
}

// A pid alone may have been reused: the process must also be an office
// using this very profile.
bool OfficeUsesProfile(pid_t pid, const fs::path& profile) {
    if (!ProcessAlive(pid)) {
        return false;
    }
    std::ifstream cmdline("/proc/" + std::to_string(pid) + "/cmdline", std::ios::binary);
    const std::string args((std::istreambuf_iterator<char>(cmdline)),
                           std::istreambuf_iterator<char>());
    return args.find(profile.string()) != std::string::npos;
}

std::vector<std::string> OfficeArguments(const std::string& binary, const std::string& profile) {
    return {binary,          "-env:UserInstallation=file://" + profile,
            "--invisible",   "--norestore",
            "--nologo",      "--nodefault",
            "--nolockcheck", "--nofirststartwizard"};
}

pid_t Spawn(const std::string& binary, std::vector<std::string> args) {
    std::vector<char*> argv;
    for (auto& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // The office talks on its own: keep its chatter off our terminal.
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // Its own process group, so a Ctrl+C meant for us does not hit the
    // instance we leave to the user.
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    pid_t pid = -1;
    const int error =
        ::posix_spawn(&pid, binary.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (error != 0) {
        throw SheetError("LibreOffice could not be started (" + binary +
                         "): " + std::strerror(error));
    }
    return pid;
}

// A new, empty profile folder named so that stale ones are found again;
// empty when none could be made.
std::string MakeProfileFolder() {
    std::string pattern = (TempRoot() / (std::string(kProfilePrefix) + "XXXXXX")).string();
    return ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
}

// A new profile makes the office restart itself once and set itself up,
// which costs seconds on every start. So one profile is set up once, by an
// office told to stop right after starting, and copied for every instance.
fs::path ProfileTemplate(const std::string& binary) {
    const fs::path ready = TempRoot() / ("vantrelo-profile-template-" + std::to_string(::getuid()));
    std::error_code ec;
    if (fs::exists(ready / "user", ec)) {
        return ready;
    }
    const std::string pattern = MakeProfileFolder();
    if (pattern.empty()) {
        return {};
    }
    for (int attempt = 0; attempt < 2; ++attempt) {
        auto args = OfficeArguments(binary, pattern);
        args.emplace_back("--headless");
        args.emplace_back("--terminate_after_init");
        int status = 0;
        if (::waitpid(Spawn(binary, args), &status, 0) < 0 || !WIFEXITED(status)) {
            break;
        }
        if (WEXITSTATUS(status) == 0) {
            fs::rename(pattern, ready, ec); // another process may have won the race
            break;
        }
    }
    fs::remove_all(pattern, ec);
    return fs::exists(ready / "user", ec) ? ready : fs::path();
}

// Our instances neither write lock files beside the user's workbook nor heed
// them: a workbook still open in the instance an earlier run left to the
// user must open again, and fully editable, for the next run.
void TurnOffDocumentLocking(const fs::path& profile) {
    const fs::path file = profile / "user" / "registrymodifications.xcu";
    std::string text;
    if (std::ifstream in{file}) {
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    const std::string close = "</oor:items>";
    if (text.find(close) == std::string::npos) {
        text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<oor:items "
               "xmlns:oor=\"http://openoffice.org/2001/registry\" "
               "xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" "
               "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n" +
               close + "\n";
    }
    std::string items;
    for (const char* name : {"UseDocumentOOoLockFile", "UseDocumentSystemFileLocking"}) {
        items +=
            std::string("<item oor:path=\"/org.openoffice.Office.Common/Misc\"><prop oor:name=\"") +
            name + "\" oor:op=\"fuse\"><value>false</value></prop></item>\n";
    }
    text.insert(text.find(close), items);
    std::error_code ec;
    fs::create_directories(file.parent_path(), ec);
    std::ofstream(file) << text;
}

} // namespace

void RemoveStaleProfiles() {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(TempRoot(), ec)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(kProfilePrefix, 0) != 0 || !entry.is_directory(ec)) {
            continue;
        }
        std::ifstream pidFile(entry.path() / kPidFile);
        long pid = 0;
        if (pidFile >> pid && OfficeUsesProfile(static_cast<pid_t>(pid), entry.path())) {
            continue;
        }
        // A profile without a pid file may be one being set up right now.
        if (!pidFile && fs::last_write_time(entry.path(), ec) >
                            fs::file_time_type::clock::now() - std::chrono::minutes(10)) {
            continue;
        }
        fs::remove_all(entry.path(), ec);
    }
}

OfficeProcess::OfficeProcess(const OfficeProcessOptions& options) : options_(options) {
    RemoveStaleProfiles();
    profileDir_ = MakeProfileFolder();
    if (profileDir_.empty()) {
        throw SheetError("Could not create a temporary folder for the office's profile in " +
                         TempRoot().string() + ": " + std::strerror(errno));
    }
    pipeName_ = "vantrelo-" + std::to_string(::getpid()) + "-" +
                fs::path(profileDir_).filename().string().substr(std::strlen(kProfilePrefix));
    spawn();
}

OfficeProcess::~OfficeProcess() {
    if (pid_ > 0) {
        end(std::chrono::seconds(10));
    }
}

std::string OfficeProcess::connectUrl() const {
    return "uno:pipe,name=" + pipeName_ + ";urp;StarOffice.ComponentContext";
}

void OfficeProcess::spawn() {
    const std::string binary = options_.programDir + "/soffice.bin";
    if (::access(binary.c_str(), X_OK) != 0) {
        throw SheetError("LibreOffice was not found: there is no " + binary +
                         ". Install LibreOffice Calc (Debian package libreoffice-calc).");
    }
    if (!restarted_) {
        if (const fs::path ready = ProfileTemplate(binary); !ready.empty()) {
            std::error_code ec;
            fs::copy(ready, profileDir_,
                     fs::copy_options::recursive | fs::copy_options::skip_existing, ec);
        }
        TurnOffDocumentLocking(profileDir_);
    }
    auto args = OfficeArguments(binary, profileDir_);
    args.push_back("--accept=pipe,name=" + pipeName_ + ";urp;StarOffice.ComponentContext");
    if (options_.headless) {
        args.emplace_back("--headless");
    }
    pid_ = Spawn(binary, args);
    std::ofstream(fs::path(profileDir_) / kPidFile) << pid_ << '\n';
}

// True when the process has exited (and was reaped).
bool OfficeProcess::reap(bool wait) {
    if (pid_ <= 0) {
        return true;
    }
    int status = 0;
    const pid_t result = ::waitpid(pid_, &status, wait ? 0 : WNOHANG);
    if (result == 0) {
        return false;
    }
    if (result == pid_ && WIFEXITED(status) && WEXITSTATUS(status) == kRestartExitCode &&
        !restarted_ && !ending_) {
        restarted_ = true;
        pid_ = -1;
        spawn();
        return false;
    }
    pid_ = -1;
    return true;
}

bool OfficeProcess::running() {
    return !reap(false);
}

void OfficeProcess::end(std::chrono::milliseconds timeout) {
    ending_ = true;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!reap(false) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        reap(true);
    }
    std::error_code ec;
    fs::remove_all(profileDir_, ec);
}

void OfficeProcess::handOver() {
    if (pid_ > 0) {
        std::thread([pid = pid_] {
            int status = 0;
            ::waitpid(pid, &status, 0);
        }).detach();
        pid_ = -1;
    }
}

} // namespace sheet::libreoffice
