#pragma once

#include <functional>
#include <string>
#include <string_view>

// Every visible text of the program is a numbered text of the current language's file
// "<program folder>language/<language id>.lan": INI format, UTF-8, section "LAN", key = the
// text id in decimal, values of at most 259 characters. Each file is parsed once and kept;
// lookups are safe from any thread.

// The text, or empty when the file, the section or the id is missing (no other language is
// tried). Callers pass the section "LAN".
std::wstring GetLangText(std::wstring_view section, int id);

// The same for a given language instead of the current one.
std::wstring GetLangText(std::wstring_view section, int id, int languageId);

// Where the language files are looked for, with a trailing '/'. Empty (the default) means
// "<program folder>language/". Setting it drops the parsed files.
void SetLanguageFolder(std::wstring folder);
std::wstring LanguageFolder();

// Drops the parsed files, so that the next lookup reads them again.
void ForgetLanguageTexts();

// Called by SetLanguage after the new language is in effect. The main window registers its
// operation that sets its font names and re-applies every text to the frame and the pages;
// until one is registered, nothing on screen changes. Replaces a previous handler; an empty
// function removes it.
using LanguageChangedHandler = std::function<void(int languageId)>;
void SetLanguageChangedHandler(LanguageChangedHandler handler);

// Makes languageId the current language, saves it in the settings and runs the registered
// handler. The system page decides when a change is allowed.
void SetLanguage(int languageId);
