// The user profile an office starts from. A new profile makes the office
// restart itself and set itself up, which costs seconds on every start; so
// one profile is set up once per user, kept in the user's cache, and copied
// into each private folder.
#pragma once

#include "sheet/StopSwitch.h"

#include <filesystem>
#include <memory>
#include <string>

namespace sheet::libreoffice {

// The set-up profile, made first by the office program `binary` when there
// is none, or when the one there is half made or damaged (it is then set
// aside); empty when none could be made. A pulled `stop` ends the set-up at
// once and throws Stopped.
std::filesystem::path ProfileTemplate(const std::string& binary,
                                      const std::shared_ptr<StopSwitch>& stop);

// Fills the private profile folder `profile` from `profileTemplate` (none
// when empty), and turns document locking off in it.
void FillProfile(const std::string& profile, const std::filesystem::path& profileTemplate);

} // namespace sheet::libreoffice
