#pragma once

#include "app/Form1Services.h"

#include <QSettings>

// The per-user settings store through Qt's: the application as the
// organisation, the section as a group. The format is the platform's own
// store normally; tests pass an INI format pointed at a scratch folder.
SettingsStore QtSettingsStore(QSettings::Format format = QSettings::NativeFormat);

// What the window takes from a Linux desktop: the pointer file beside the
// program or in its data folder, the browser, Qt's settings store, the
// office of this build.
Form1Services DesktopServices();
