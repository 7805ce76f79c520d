#pragma once

#include <string>
#include <vector>

#include "app/pages/ButtonFunctions.h"
#include "app/pages/PageResult.h"

class DeviceDataDB;

// Button functions of a profile as the button page stores them: one record per button that
// does not keep its default, sent with task 6 (the button's record), 7 (restore its default)
// or 15 (restore all). Button 0 is the left button; while "leftbtn_lock" is 1 it cannot be
// given another function.

// A function as the button page offers it. Build one with the helpers below.
struct ButtonFunctionChoice {
    int32_t kind = 0;
    int32_t value = 0;
    int32_t value2 = 0;
    int32_t value3 = 0;
};
// Kinds 1, 3, 5, 6, 8 and 9: a value of the kind's table (kind 9 takes 1).
ButtonFunctionChoice FixedFunction(int32_t kind, int32_t value);
// Kind 2: a HID keyboard usage (0 for modifiers only) and modifier bits (1 Ctrl, 2 Shift,
// 4 Alt, 8 Win).
ButtonFunctionChoice KeyFunction(int32_t usage, int32_t modifiers);
// Kind 4: the macro with this id.
ButtonFunctionChoice MacroFunction(int32_t macroId);
// Kind 7 from a mouse button: bit 1, 2, 4, 8 or 16; interval 10-255 ms; count 1-4000.
ButtonFunctionChoice FireMouseFunction(int32_t buttonBit, int32_t intervalMs, int32_t count);
// Kind 7 from a key, given as a HID keyboard usage (stored as its Windows virtual-key code).
ButtonFunctionChoice FireKeyFunction(int32_t usage, int32_t intervalMs, int32_t count);

// Which buttons exist: the button indices of the model's description. Empty means any index
// 0-255 is accepted.
using ButtonIndexList = std::vector<int>;

// Stores the function for the button and returns task 6 for it. The record's text is the one
// the page writes: the function's language text, the key combination text, the macro's name,
// text 161 for fire keys, text 139 for kind 9. Refused: unknown button, a value outside its
// kind's table or range, a missing macro, a key with neither key nor modifiers, and the left
// button while it is locked.
PageResult SetButtonFunction(DeviceDataDB& db, int profile, int button,
                             const ButtonFunctionChoice& choice, const LangTextLookup& text,
                             const ButtonIndexList& buttons = {});
// Removes the button's record (its default applies again); task 7 for it.
PageResult ResetButton(DeviceDataDB& db, int profile, int button,
                       const ButtonIndexList& buttons = {});
// Removes every button record of the profile; task 15 with reset mask 1.
PageResult ResetAllButtons(DeviceDataDB& db, int profile);

// A button as the button list shows it.
struct ButtonDefault {
    int index = 0;
    int32_t kind = 0;
    int32_t value = 0;
    std::wstring text;  // the default function's text (the description's func_desc text)
};
struct ButtonValue {
    int index = 0;
    bool stored = false;        // the profile holds a record for it
    ButtonAssignment function;  // the record, or the default's kind and value
    std::wstring text;          // DescribeButtonFunction of the record, or the default's text
};
// One entry per given default, in their order, plus any stored record for a button not among
// them (at the end, by index).
std::vector<ButtonValue> ReadButtonValues(DeviceDataDB& db, int profile,
                                          const std::vector<ButtonDefault>& defaults,
                                          const LangTextLookup& text,
                                          const MacroNameLocaliser& localiseMacroName = {});
