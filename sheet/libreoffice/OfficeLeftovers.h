// What an office we start leaves behind, and where our folders are. The
// guard removes an office's leftovers when it ends, however it ends; the
// start-up sweep removes those of offices whose guard is gone too.
#pragma once

#include <filesystem>
#include <string>

namespace sheet::libreoffice {

struct OfficeLeftovers {
    // The office's private folder (its profile, its temporary files, the
    // copy it saves), or a profile template while it is being set up.
    std::string folder;
    // The name of the pipe we told the office to accept us on, if any.
    std::string pipeName;

    // Removes the folder and the pipe's socket, then every socket of this
    // user's offices in /tmp that refuses a connection: the office's other
    // pipes, whatever their names, which a killed office leaves. Call only
    // once the office has ended.
    void remove() const;
};

// Holds a folder as in use until this process and every process it starts
// without closing descriptors (the office) have ended: the start-up sweep
// passes it by. For the guard, which never lets go of it.
void HoldAsInUse(const std::string& folder);

// Removes the leftovers of offices whose private folder or template set-up
// nobody holds as in use, and that has not changed for a minute (one just
// made may not be held yet).
void RemoveStaleProfiles();

// Private folders go in sheet::TemporaryRoot(). The profile template is
// kept between runs in the user's cache, here.
std::filesystem::path TemplateRoot();
inline constexpr const char* kPrivateFolderPrefix = "vantrelo-office-";
inline constexpr const char* kTemplateSetupPrefix = "office-profile-setup-";
// A new, empty folder in `parent` named `prefix` and a unique ending; empty
// when none could be made.
std::string MakeUniqueFolder(const std::filesystem::path& parent, const std::string& prefix);

} // namespace sheet::libreoffice
