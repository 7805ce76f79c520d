#pragma once

#include <string>
#include <string_view>

// Default macro names are stored in the language they were made in ("Custom 2",
// "Пользовательский 2", "Custom 2 Copy"); they are shown with the current language's words.
// The stored names never change.

// For button function texts: a name that begins with another language's "custom" word gets
// customWord (text 351 of the language) instead, and a name that ends with another language's
// "copy" word gets the language's own. languageId 1033, 1049, 1028, 1041 and 2052 have rules;
// any other language leaves the name unchanged.
std::wstring LocaliseMacroName(std::wstring_view name, int languageId,
                               std::wstring_view customWord);

// The macro list's narrower rule: only English and Russian words, only for 1033 and 1049.
std::wstring LocaliseMacroListName(std::wstring_view name, int languageId,
                                   std::wstring_view customWord);

// Both for the current language, with its text 351.
std::wstring LocaliseMacroName(std::wstring_view name);
std::wstring LocaliseMacroListName(std::wstring_view name);
