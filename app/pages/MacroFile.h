#pragma once

#include <string_view>

#include "app/pages/ButtonFunctions.h"
#include "app/pages/PageResult.h"

class DeviceDataDB;

// The macro file: one macro and its items as XML (root "macro" with "macroinfo" and
// "macroitems"), the form the macro page exports and imports.

// Writes the macro to path, with ".xml" appended unless the path ends in it (any letter
// case); result.path is the file written. The name is written as the macro list shows it
// (through localiseName when given, else as stored).
PageResult ExportMacroFile(DeviceDataDB& db, int macroId, std::wstring_view path,
                           const MacroNameLocaliser& localiseName = {});

// Reads a macro file into a new macro; result.value is its id. A name that another macro
// already has gets a number (FreeMacroName). Files that are not XML, have another root, lack
// "macroinfo" or hold values out of range are refused and nothing is stored.
PageResult ImportMacroFile(DeviceDataDB& db, std::wstring_view path);
