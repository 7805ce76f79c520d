#pragma once

#include <string>

#include "app/platform/Autostart.h"

// The per-user settings that live outside the model databases: the interface language and the
// last selected model, in "$XDG_CONFIG_HOME/Talvane/settings.ini", section [Talvane], as
// decimal text. Failures are silent.

// "LCID"; 0 when absent or not a number. A missing file is created (then 0); a file that
// cannot be read or created gives 2052.
int ReadLanguageCode();
// Writes "LCID" only when the settings file exists; it is not created here.
void WriteLanguageCode(int code);
// "DeviceType"; 0 when absent or when the file cannot be read; never creates the file.
int ReadDeviceType();
void WriteDeviceType(int type);

// The settings file's path.
std::string SettingsFilePath();

// The number a decimal text starts with (after blanks and a sign), 0 when it starts with none.
int LeadingDecimal(const std::wstring& text);
