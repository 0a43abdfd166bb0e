#include "OfficeProcess.h"

#include "OfficeEnvironment.h"
#include "ProcessArguments.h"
#include "sheet/SheetError.h"

#include <rtl/digest.h>
#include <rtl/ustring.hxx>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <set>
#include <spawn.h>
#include <sstream>
#include <string_view>
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
constexpr auto kTemplateTimeout = std::chrono::seconds(60);
constexpr auto kPollInterval = std::chrono::milliseconds(20);

// Absolute, whatever TMPDIR holds: the office is told the path as a URL,
// and a relative one would depend on its working folder.
fs::path TempRoot() {
    const char* tmp = std::getenv("TMPDIR");
    const fs::path root = tmp != nullptr && *tmp != '\0' ? fs::path(tmp) : fs::path("/tmp");
    std::error_code ec;
    const fs::path absolute = fs::absolute(root, ec);
    return ec ? root : absolute;
}

// Where the set-up profile is kept between runs: the user's cache, so that
// the temporary folder is left as we found it.
fs::path TemplateRoot() {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    const char* home = std::getenv("HOME");
    if (cache != nullptr && *cache == '/') {
        return fs::path(cache) / "vantrelo";
    }
    if (home != nullptr && *home == '/') {
        return fs::path(home) / ".cache" / "vantrelo";
    }
    return TempRoot();
}

// A file URL for any path a user may have: every byte outside the
// unreserved set is percent-encoded, '%', '#', blanks, '$' (which the
// office would expand as a macro) and non-ASCII bytes included.
std::string FileUrl(const std::string& absolutePath) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (const char c : absolutePath) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                           (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' ||
                           byte == '_' || byte == '~' || byte == '/';
        if (plain) {
            url += c;
        } else {
            url += '%';
            url += kHex[byte >> 4];
            url += kHex[byte & 0xF];
        }
    }
    return url;
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
    return args.find(FileUrl(profile.string())) != std::string::npos;
}

// The argument that names an office's profile, which no other process's command line holds.
std::string ProfileArgument(const std::string& profile) {
    return "-env:UserInstallation=" + FileUrl(profile);
}

std::vector<std::string> PipeFilesOf(const std::string& pipeName) {
    const std::string name = "OSL_PIPE_" + std::to_string(::getuid()) + "_" + pipeName;
    return {"/tmp/" + name, "/var/tmp/" + name};
}

// The profile's URL as the office spells it once it has read it: the marks a URL path may hold
// plainly are decoded, everything else stays as FileUrl encoded it.
std::string AsTheOfficeSpellsIt(const std::string& url) {
    static constexpr std::string_view kPlainMarks = "!$&'()*+,:=@";
    std::string spelled;
    for (std::size_t at = 0; at < url.size(); ++at) {
        if (url[at] == '%' && at + 2 < url.size()) {
            const auto byte = static_cast<char>(std::stoi(url.substr(at + 1, 2), nullptr, 16));
            if (kPlainMarks.find(byte) != std::string_view::npos) {
                spelled += byte;
                at += 2;
                continue;
            }
        }
        spelled += url[at];
    }
    return spelled;
}

// The office's single-instance pipe is named by a digest of its profile's URL: MD5 over its
// UTF-16 text, each byte in hex without leading zeros. Knowing the name before the office starts
// lets a killed office's pipe go even when it was killed before we could look at its sockets.
std::string SingleInstancePipeName(const std::string& profile) {
    const std::string url = AsTheOfficeSpellsIt(FileUrl(profile));
    const rtl::OUString text(url.data(), static_cast<sal_Int32>(url.size()),
                             RTL_TEXTENCODING_ASCII_US);
    sal_uInt8 digest[RTL_DIGEST_LENGTH_MD5];
    rtl_digest_MD5(text.getStr(), static_cast<sal_uInt32>(text.getLength()) * sizeof(sal_Unicode),
                   digest, sizeof digest);
    std::ostringstream name;
    name << "SingleOfficeIPC_" << std::hex;
    for (const sal_uInt8 byte : digest) {
        name << static_cast<unsigned>(byte);
    }
    return name.str();
}

// Every pipe file an office with this profile and UNO pipe may leave in /tmp when killed.
std::vector<std::string> OfficePipeFiles(const std::string& profile, const std::string& pipeName) {
    std::vector<std::string> files = PipeFilesOf(SingleInstancePipeName(profile));
    if (!pipeName.empty()) {
        const auto uno = PipeFilesOf(pipeName);
        files.insert(files.end(), uno.begin(), uno.end());
    }
    return files;
}

std::vector<std::string> OfficeArguments(const std::string& binary, const std::string& profile) {
    return {
        binary,        ProfileArgument(profile), "--invisible",          "--norestore", "--nologo",
        "--nodefault", "--nolockcheck",          "--nofirststartwizard",
    };
}

std::size_t EnvironmentSize() {
    std::size_t size = 0;
    while (environ[size] != nullptr) {
        ++size;
    }
    return size;
}

pid_t Spawn(const std::string& binary, std::vector<std::string> args, const std::string& profile,
            bool headless) {
    std::error_code ec;
    fs::create_directories(profile + "/tmp", ec);
    std::vector<std::string> variables = OfficeEnvironment(
        std::vector<std::string>(environ, environ + EnvironmentSize()), profile, headless);
    const std::vector<char*> argv = NullTerminated(args);
    const std::vector<char*> envp = NullTerminated(variables);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // The office talks on its own: keep its chatter off our terminal.
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // Its own process group, so a Ctrl+C meant for us does not hit the
    // instance we leave to the user, and the watchdog kills it whole.
    // Signals we ignore (a broken pipe, in the batch command) stay ignored
    // across exec; the office gets the usual handling of its own.
    sigset_t usual;
    sigemptyset(&usual);
    sigaddset(&usual, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &usual);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF);
    posix_spawnattr_setpgroup(&attributes, 0);
    pid_t pid = -1;
    const int error =
        ::posix_spawn(&pid, binary.c_str(), &actions, &attributes, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (error != 0) {
        throw SheetError("LibreOffice could not be started (" + binary +
                         "): " + std::strerror(error));
    }
    return pid;
}

// A new, empty folder named `prefix` and a unique ending; empty when none
// could be made.
std::string MakeUniqueFolder(const fs::path& parent, const std::string& prefix) {
    std::string pattern = (parent / (prefix + "XXXXXX")).string();
    return ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
}

// Waits for a process we started and nobody else reaps, polling so that a
// pulled stop switch or the deadline ends the wait: then it is killed.
// Returns its wait status.
int WaitOrKill(pid_t pid, const std::shared_ptr<StopSwitch>& stop,
               std::chrono::steady_clock::time_point deadline, bool& killed) {
    int status = 0;
    killed = false;
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() >= deadline || PulledWithin(stop, kPollInterval)) {
            ::kill(-pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            killed = true;
            break;
        }
    }
    return status;
}

// A new profile makes the office restart itself once and set itself up,
// which costs seconds on every start. So one profile is set up once, by an
// office told to stop right after starting, and copied for every instance.
// Each first start sets one up in a folder of its own and renames it into
// place, so concurrent first starts never see half a profile.
fs::path ProfileTemplate(const std::string& binary, const std::shared_ptr<StopSwitch>& stop) {
    const fs::path root = TemplateRoot();
    const fs::path ready = root / ("office-profile-" + std::to_string(::getuid()));
    std::error_code ec;
    if (fs::exists(ready / "user", ec)) {
        return ready;
    }
    fs::create_directories(root, ec);
    const std::string staging = MakeUniqueFolder(root, "office-profile-setup-");
    if (staging.empty()) {
        return {};
    }
    {
        OfficeWatchdog watchdog(staging, ProfileArgument(staging), OfficePipeFiles(staging, {}));
        const auto deadline = std::chrono::steady_clock::now() + kTemplateTimeout;
        for (int attempt = 0; attempt < 2; ++attempt) {
            auto args = OfficeArguments(binary, staging);
            args.emplace_back("--headless");
            args.emplace_back("--terminate_after_init");
            const pid_t pid = Spawn(binary, args, staging, true);
            watchdog.watch(pid);
            bool killed = false;
            const int status = WaitOrKill(pid, stop, deadline, killed);
            if (killed) {
                fs::remove_all(staging, ec);
                for (const std::string& pipe : OfficePipeFiles(staging, {})) {
                    fs::remove(pipe, ec);
                }
                if (stop && stop->pulled()) {
                    throw Stopped();
                }
                throw SheetError("LibreOffice did not finish setting up a new profile within " +
                                 std::to_string(kTemplateTimeout.count()) +
                                 " seconds; it may be stuck or the computer very busy.");
            }
            if (!WIFEXITED(status)) {
                break;
            }
            if (WEXITSTATUS(status) == 0) {
                fs::remove_all(fs::path(staging) / "tmp", ec);
                fs::rename(staging, ready, ec); // another process may have won the race
                break;
            }
        }
    }
    fs::remove_all(staging, ec);
    return fs::exists(ready / "user", ec) ? ready : fs::path();
}

// Our instances neither write lock files beside the user's workbook nor heed
// them: a workbook still open in the instance an earlier run left to the
// user must open again, and fully editable, for the next run. Only
// UseLocking turns the lock file off: with the other two off the office
// still writes it and merely ignores it when deciding whether a workbook
// opens for editing.
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
    for (const char* name :
         {"UseLocking", "UseDocumentOOoLockFile", "UseDocumentSystemFileLocking"}) {
        items +=
            std::string("<item oor:path=\"/org.openoffice.Office.Common/Misc\"><prop oor:name=\"") +
            name + "\" oor:op=\"fuse\"><value>false</value></prop></item>\n";
    }
    text.insert(text.find(close), items);
    std::error_code ec;
    fs::create_directories(file.parent_path(), ec);
    std::ofstream(file) << text;
}

// Where the office's runtime puts the named pipe it listens on: a socket
// file in /tmp (or /var/tmp), whatever TMPDIR says, which a killed office
// leaves behind.
} // namespace

void RemoveStaleProfiles() {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(TempRoot(), ec)) {
        const std::string name = entry.path().filename().string();
        // Earlier versions kept the set-up profile here.
        if (name.rfind("vantrelo-profile-template-", 0) == 0) {
            fs::remove_all(entry.path(), ec);
            continue;
        }
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
        for (const std::string& pipe : OfficePipeFiles(entry.path().string(), {})) {
            fs::remove(pipe, ec);
        }
    }
}

OfficeProcess::OfficeProcess(const OfficeProcessOptions& options) : options_(options) {
    throwIfStopped();
    RemoveStaleProfiles();
    profileDir_ = MakeUniqueFolder(TempRoot(), kProfilePrefix);
    if (profileDir_.empty()) {
        throw SheetError("Could not create a temporary folder for the office's profile in " +
                         TempRoot().string() + ": " + std::strerror(errno));
    }
    pipeName_ = "vantrelo-" + std::to_string(::getpid()) + "-" +
                fs::path(profileDir_).filename().string().substr(std::strlen(kProfilePrefix));
    try {
        watchdog_ = std::make_unique<OfficeWatchdog>(profileDir_, ProfileArgument(profileDir_),
                                                     OfficePipeFiles(profileDir_, pipeName_));
        if (options_.stop) {
            stopHook_ = options_.stop->onPull([this] { kill(); });
        }
        spawn();
    } catch (...) {
        stopHook_ = {};
        watchdog_.reset();
        std::error_code ec;
        fs::remove_all(profileDir_, ec);
        throw;
    }
}

OfficeProcess::~OfficeProcess() {
    // Also when the office has ended by itself: its profile must go.
    if (pid_ > 0 || watchdog_) {
        end(std::chrono::seconds(10));
    }
}

std::string OfficeProcess::connectUrl() const {
    return "uno:pipe,name=" + pipeName_ + ";urp;StarOffice.ComponentContext";
}

bool OfficeProcess::stopRequested() const {
    return options_.stop && options_.stop->pulled();
}

void OfficeProcess::throwIfStopped() const {
    if (stopRequested()) {
        throw Stopped();
    }
}

bool OfficeProcess::stoppedWithin(std::chrono::milliseconds time) const {
    return PulledWithin(options_.stop, time);
}

void OfficeProcess::spawn() {
    const std::string binary = options_.programDir + "/soffice.bin";
    if (::access(binary.c_str(), X_OK) != 0) {
        throw SheetError("LibreOffice was not found: there is no " + binary +
                         ". Install LibreOffice Calc (Debian package libreoffice-calc).");
    }
    if (!restarted_) {
        if (const fs::path ready = ProfileTemplate(binary, options_.stop); !ready.empty()) {
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
    pid_ = Spawn(binary, args, profileDir_, options_.headless);
    watchdog_->watch(pid_);
    {
        const std::lock_guard lock(killableMutex_);
        killable_ = pid_;
    }
    std::ofstream(fs::path(profileDir_) / kPidFile) << pid_ << '\n';
    // A switch pulled while we were starting found nothing to kill yet.
    if (stopRequested()) {
        kill();
    }
}

void OfficeProcess::kill() {
    const std::lock_guard lock(killableMutex_);
    if (killable_ > 0) {
        ::kill(-killable_, SIGKILL);
    }
}

// True when the process has exited (and was reaped).
bool OfficeProcess::reap(bool wait) {
    if (pid_ <= 0) {
        return true;
    }
    // Seen exited but left a zombie first, so that its pid cannot be reused
    // while the stop switch might still signal it.
    siginfo_t info{};
    if (::waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOWAIT | (wait ? 0 : WNOHANG)) ==
            0 &&
        info.si_pid == 0) {
        return false;
    }
    {
        const std::lock_guard lock(killableMutex_);
        killable_ = -1;
    }
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    if (WIFEXITED(status) && WEXITSTATUS(status) == kRestartExitCode && !restarted_ && !ending_ &&
        !stopRequested()) {
        restarted_ = true;
        spawn();
        return false;
    }
    return true;
}

bool OfficeProcess::running() {
    return !reap(false);
}

void OfficeProcess::end(std::chrono::milliseconds timeout) {
    ending_ = true;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!reap(false) && std::chrono::steady_clock::now() < deadline) {
        if (stoppedWithin(kPollInterval)) {
            break;
        }
    }
    if (pid_ > 0) {
        kill();
        reap(true);
    }
    stopHook_ = {};
    std::error_code ec;
    fs::remove_all(profileDir_, ec);
    for (const std::string& pipe : pipeFiles()) {
        fs::remove(pipe, ec);
    }
    for (const std::string& socket : sockets_) {
        fs::remove(socket, ec);
    }
    watchdog_.reset();
}

std::vector<std::string> OfficeProcess::pipeFiles() const {
    return OfficePipeFiles(profileDir_, pipeName_);
}

std::vector<std::string> OfficeProcess::listeningPipes() const {
    std::vector<std::string> pipes;
    if (pid_ <= 0) {
        return pipes;
    }
    std::set<std::string> inodes;
    std::error_code ec;
    for (const auto& fd : fs::directory_iterator("/proc/" + std::to_string(pid_) + "/fd", ec)) {
        const std::string target = fs::read_symlink(fd.path(), ec).string();
        if (target.rfind("socket:[", 0) == 0) {
            inodes.insert(target.substr(8, target.size() - 9));
        }
    }
    // Num RefCount Protocol Flags Type St Inode Path
    std::ifstream table("/proc/net/unix");
    std::string line;
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string skip, inode, path;
        for (int i = 0; i < 6; ++i) {
            fields >> skip;
        }
        fields >> inode >> path;
        if (inodes.count(inode) != 0 && path.find("/OSL_PIPE_") != std::string::npos &&
            std::find(pipes.begin(), pipes.end(), path) == pipes.end()) {
            pipes.push_back(path);
        }
    }
    return pipes;
}

void OfficeProcess::noteSockets() {
    if (pid_ <= 0 || !watchdog_) {
        return;
    }
    const auto foreseen = pipeFiles();
    for (const std::string& path : listeningPipes()) {
        if (std::find(foreseen.begin(), foreseen.end(), path) == foreseen.end() &&
            std::find(sockets_.begin(), sockets_.end(), path) == sockets_.end()) {
            sockets_.push_back(path);
            watchdog_->alsoRemove(path);
        }
    }
}

void OfficeProcess::handOver() {
    stopHook_ = {};
    {
        const std::lock_guard lock(killableMutex_);
        killable_ = -1;
    }
    if (pid_ > 0) {
        const pid_t guard = watchdog_->handOver();
        std::thread([office = pid_, guard] {
            ::waitpid(office, nullptr, 0);
            ::waitpid(guard, nullptr, 0);
        }).detach();
        pid_ = -1;
    } else {
        std::error_code ec;
        fs::remove_all(profileDir_, ec);
    }
    watchdog_.reset();
}

} // namespace sheet::libreoffice
