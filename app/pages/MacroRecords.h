#pragma once

#include <string>
#include <string_view>

#include "app/pages/PageResult.h"
#include "app/store/Records.h"

class DeviceDataDB;

// The macros of a model's store (shared by all its profiles) as the macro page keeps them.

constexpr int kMaxMacroItems = 200;
constexpr int kMaxRecordedDelayMs = 31000;
constexpr int kMaxPlayTimes = 255;
constexpr int kMaxFixedDelayMs = 10000;

// A new macro with the default settings, named "<word> <n>" (word = language text 351) with
// the first n from the number of macros + 1 that no macro has. result.value is its id.
PageResult NewMacro(DeviceDataDB& db, std::wstring_view customWord);

// Renames a macro; refused for an empty name or a name another macro has. The texts of the
// buttons bound to it, in every profile, follow the new name. Nothing is sent: the mouse
// gets the name with the macro when a bound button is sent.
PageResult RenameMacroRecord(DeviceDataDB& db, int profile, int macroId, std::wstring_view name);

// Deletes a macro and its items. Buttons bound to it, in every profile, return to their
// default function (a binding to a macro that no longer exists cannot be sent); result.tasks
// holds task 7 for each such button of the given (current) profile. The other profiles reach
// the mouse with their next switch.
PageResult DeleteMacroRecord(DeviceDataDB& db, int profile, int macroId);

struct MacroValues {
    MacroInfo info;
    MacroEventList items;  // by record_index
};
// False when there is no such macro.
bool ReadMacro(DeviceDataDB& db, int macroId, MacroValues& macro);
int ReadMacros(DeviceDataDB& db, MacroList& macros);

// A macro name that no macro has yet: the name itself, else "<name> 2", "<name> 3" ...
std::wstring FreeMacroName(DeviceDataDB& db, std::wstring_view name);
