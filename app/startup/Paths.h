#pragma once

#include <string>
#include <string_view>

// The folder of the running program, with a trailing '/': skins/, language/, config.xml and
// device/ lie beside the program.
std::wstring GetModuleFolder();

// The per-user data folder "$XDG_DATA_HOME/Talvane/", with a trailing '/'. It holds db/ and
// macro_flash.dat. Empty prefix when no home folder is known.
std::wstring GetDataFolder();

// Creates the folder and its missing parents; true when the folder exists afterwards.
bool CreateFolderPath(std::wstring_view path);

constexpr const wchar_t* kProductName = L"Talvane";
