// Setting up, checking and copying the profile template.
#include "ProfileTemplate.h"

#include "OfficeCommand.h"
#include "OfficeGuard.h"
#include "Spawn.h"
#include "sheet/SheetError.h"

#include <fstream>
#include <iterator>
#include <sys/wait.h>
#include <unistd.h>

namespace sheet::libreoffice {
namespace {

namespace fs = std::filesystem;

constexpr auto kSetUpTimeout = std::chrono::seconds(60);

// The office writes its settings file last, as it ends after setting up.
bool IsWhole(const fs::path& profile) {
    std::error_code ec;
    return fs::is_directory(fs::symlink_status(profile / "user", ec)) &&
           fs::is_regular_file(
               fs::symlink_status(profile / "user" / "registrymodifications.xcu", ec));
}

// Out of the way in one step, so that a run copying it meanwhile still
// reads it whole; under a set-up folder's name, which the start-up sweep
// removes should we be killed before we do.
void SetAside(const fs::path& root, const fs::path& damaged) {
    std::error_code ec;
    const std::string aside = MakeUniqueFolder(root, kTemplateSetupPrefix);
    if (aside.empty() || (fs::rename(damaged, aside, ec), ec)) {
        fs::remove_all(damaged, ec);
    }
    fs::remove_all(aside, ec);
}

// Each set-up happens in a folder of its own, renamed into place once whole,
// so concurrent first starts never see half a profile. The guard removes the
// folder when the set-up fails or is killed, however this process ends.
void SetUp(const std::string& binary, const std::shared_ptr<StopSwitch>& stop, const fs::path& root,
           const fs::path& ready) {
    const std::string staging = MakeUniqueFolder(root, kTemplateSetupPrefix);
    if (staging.empty()) {
        return;
    }
    auto arguments = OfficeArguments(binary, staging);
    arguments.insert(arguments.end(), {"--headless", "--terminate_after_init"});
    OfficeGuard office(OfficeLeftovers{staging, {}}, arguments,
                       OfficeEnvironment(OurEnvironment(), staging, true), stop);
    const bool ended = office.exitedWithin(kSetUpTimeout);
    if (stop && stop->pulled()) {
        throw Stopped();
    }
    if (!ended) {
        throw SheetError("LibreOffice did not finish setting up a new profile within " +
                         std::to_string(kSetUpTimeout.count()) +
                         " seconds; it may be stuck or the computer very busy.");
    }
    const int status = office.exitStatus().value_or(-1);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        std::error_code ec;
        fs::remove_all(fs::path(staging) / "tmp", ec);
        fs::rename(staging, ready, ec); // another process may have won the race
    }
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

} // namespace

fs::path ProfileTemplate(const std::string& binary, const std::shared_ptr<StopSwitch>& stop) {
    const fs::path root = TemplateRoot();
    const fs::path ready = root / ("office-profile-" + std::to_string(::getuid()));
    if (IsWhole(ready)) {
        return ready;
    }
    std::error_code ec;
    fs::create_directories(root, ec);
    if (fs::exists(fs::symlink_status(ready, ec))) {
        SetAside(root, ready);
    }
    SetUp(binary, stop, root, ready);
    return IsWhole(ready) ? ready : fs::path();
}

void FillProfile(const std::string& profile, const fs::path& profileTemplate) {
    if (!profileTemplate.empty()) {
        std::error_code ec;
        fs::copy(profileTemplate, profile,
                 fs::copy_options::recursive | fs::copy_options::skip_existing, ec);
    }
    TurnOffDocumentLocking(profile);
}

} // namespace sheet::libreoffice
