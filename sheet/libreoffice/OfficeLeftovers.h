// What an office we start leaves behind, in one list, and where our folders
// are: the guard removes the list when the office ends, however it ends, and
// the start-up sweep removes it for offices whose guard is gone too.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace sheet::libreoffice {

struct OfficeLeftovers {
    // The office's private folder (its profile, its temporary files, the copy
    // it saves), or a profile template while it is being set up.
    std::vector<std::string> folders;
    // The name of the pipe we told the office to accept us on; its socket
    // file in /tmp stays when the office is killed.
    std::string pipeName;

    // Removes the folders and the pipe's socket files, then every socket of
    // this user's offices in /tmp that refuses a connection: the office's
    // other pipes, whatever their names, which a killed office leaves. Call
    // only once the office has ended.
    void remove() const;
};

// Holds a folder as in use until this process and every process it starts
// without closing its descriptors (the office) have ended: a shared lock
// on the folder, which the start-up sweep tests for. Returns false when the
// folder cannot be opened.
bool HoldAsInUse(const std::string& folder);

// Removes the private folders and template set-ups that no process holds as
// in use and that have not changed for a minute (one just made may not be
// held yet), then every office socket that refuses a connection.
void RemoveStaleProfiles();

// Where our offices' private folders go: TMPDIR, made absolute, or /tmp.
std::filesystem::path TempRoot();
// Where the set-up profile template is kept between runs: the user's cache.
std::filesystem::path TemplateRoot();
// The names our folders start with, in TempRoot() and TemplateRoot().
inline constexpr const char* kPrivateFolderPrefix = "vantrelo-office-";
inline constexpr const char* kTemplateSetupPrefix = "office-profile-setup-";
// A new, empty folder in `parent` named `prefix` and a unique ending; empty
// when none could be made.
std::string MakeUniqueFolder(const std::filesystem::path& parent, const std::string& prefix);

} // namespace sheet::libreoffice
