#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "app/pages/ButtonFunctionTables.h"
#include "app/store/Records.h"

// What a button's function is to the mouse and to the user: its device bytes both ways and its
// display text.

// A language text by id, in the current language (empty when the id is missing).
using LangTextLookup = std::function<std::wstring(int id)>;
// A stored macro name shown in the current language.
using MacroNameLocaliser = std::function<std::wstring(const std::wstring& name)>;

// Function bytes as the mouse takes them: byte 0 the kind, then up to six bytes of values.
constexpr size_t kButtonFunctionBytes = 7;
using ButtonFunctionBytes = std::array<uint8_t, kButtonFunctionBytes>;

// The device bytes of an assignment's function (macro_type and its values). Kinds and values
// the mouse does not know give zero bytes where their values would go; an unknown kind gives
// all zeros, which the mouse takes as its own default.
ButtonFunctionBytes EncodeButtonFunction(const ButtonAssignment& assignment);

// Whether the function fits a button entry of the profile report (kind and three bytes);
// macros, fire keys and Alt + Tab go to the mouse on their own.
bool FitsInProfileEntry(const ButtonAssignment& assignment);

// Reads function bytes from the mouse into macro_type, macro_value, macro_value2,
// macro_value3 and macro_desc of function (the other fields are the caller's). Missing bytes
// read as 0. Returns false, with the fields zeroed and no text, for a pattern it does not
// know; saving such a record removes the button's row, so the button keeps its default.
// A macro (kind 4) carries no values here: the macro transfer stores that assignment itself,
// so callers skip kind 4 records rather than save them.
bool DecodeButtonFunction(std::span<const uint8_t> bytes, const LangTextLookup& text,
                          ButtonAssignment& function);

// The text the button list shows for a stored assignment, in the current language: fixed
// functions by their text (the stored text when the value is not in its table), keys by the
// stored text, macros by their name through localiseMacroName (when given).
std::wstring DescribeButtonFunction(const ButtonAssignment& assignment, const LangTextLookup& text,
                                    const MacroNameLocaliser& localiseMacroName = {});

// The function a button shows when the profile holds no record for it.
struct ButtonFunction {
    int32_t kind = 0;
    int32_t value = 0;
};
ButtonFunction DefaultButtonFunction(int buttonIndex);

// The language text id of a fixed function (kinds 1, 3, 5, 6, 7, 8, 9); 0 when the value is
// not one of the kind's functions or the kind has no fixed text.
int ButtonFunctionTextId(int32_t kind, int32_t value);
