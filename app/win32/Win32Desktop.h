#pragma once

#include "app/Form1Services.h"

// The per-user settings store of Windows' classic settings functions: under
// HKEY_CURRENT_USER, "Software\VB and VBA Program Settings", then the
// application and the section, a text value named after the key.
SettingsStore RegistrySettingsStore();

// What the window takes from Windows: the pointer file beside the program,
// the shell for the home page, the registry, Excel.
Form1Services DesktopServices();
