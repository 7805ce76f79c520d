#pragma once

#include <string>
#include <string_view>

// Start-up services of the program entry.

// The user's interface language from the locale environment (LANGUAGE, LC_ALL, LC_MESSAGES,
// LANG, the first that is set), as a Windows language id; 0 when none is set or it is C/POSIX.
int UserInterfaceLanguage();

// 1049 stays 1049; everything else becomes 1033.
int SupportedLanguage(int languageId);

// Reads the stored language, falls back to the user's, keeps it to a supported one, makes it
// the process language and writes it back. Returns it.
int SettleLanguage();

// Creates the data folder and its db/ folder; a failure is not reported.
void CreateDataFolders();

// Whether "-hide" occurs anywhere in the command line, also inside a longer argument.
bool HasHideSwitch(int argc, const char* const* argv);
