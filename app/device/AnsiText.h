#pragma once

#include <string>
#include <string_view>

// Texts the mouse keeps (macro names, the firmware version) are in the code page a Windows
// computer of the interface language writes: Windows-1251 for Russian (1049), else 1252.
std::wstring AnsiToWide(std::string_view bytes, int languageId);
std::string WideToAnsi(std::wstring_view text, int languageId);
