// button: the functions of the buttons, as the button page offers and stores them.
#include <algorithm>
#include <cwctype>

#include "app/cli/CliButtons.h"
#include "app/cli/CliCommands.h"
#include "app/cli/CliSession.h"
#include "app/devicedesc/DeviceDescription.h"
#include "app/lang/LangText.h"
#include "app/lang/MacroNames.h"
#include "app/pages/ButtonFunctionTables.h"
#include "app/pages/ButtonSettings.h"
#include "app/pages/KeyCodes.h"
#include "app/pages/PerformanceSettings.h"
#include "app/startup/Paths.h"
#include "app/store/DeviceDataDB.h"
#include "quorl/core/Utf8.h"

namespace {

std::wstring Text(int id) {
    return GetLangText(L"LAN", id);
}

std::string Utf8(const std::wstring& text) {
    return Quorl::WideToUtf8(text);
}

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) {
        c = static_cast<wchar_t>(std::towlower(c));
    }
    return text;
}

// The key whose shown name is this (any letter case); 0 when none has it.
int KeyUsageByName(const std::string& name) {
    const std::wstring wanted = Lower(Quorl::Utf8ToWide(name));
    for (int usage = 1; usage < 256; ++usage) {
        const std::wstring shown = KeyName(usage);
        if (!shown.empty() && Lower(shown) == wanted) {
            return usage;
        }
    }
    return 0;
}

std::vector<std::string> SplitPlus(const std::string& text) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (true) {
        size_t plus = text.find('+', start);
        // A lone "+" or a trailing "+" is the key itself.
        if (plus == std::string::npos || plus + 1 == text.size()) {
            parts.push_back(text.substr(start));
            return parts;
        }
        parts.push_back(text.substr(start, plus - start));
        start = plus + 1;
    }
}

// "ctrl+shift+c", "alt", "f5": the modifiers and the key.
bool ParseKeyCombination(const std::string& text, int& usage, int& modifiers, std::string& error) {
    usage = 0;
    modifiers = 0;
    for (const std::string& part : SplitPlus(text)) {
        std::wstring lower = Lower(Quorl::Utf8ToWide(part));
        if (lower == L"ctrl" || lower == L"control") {
            modifiers |= kModifierCtrl;
        } else if (lower == L"shift") {
            modifiers |= kModifierShift;
        } else if (lower == L"alt") {
            modifiers |= kModifierAlt;
        } else if (lower == L"win" || lower == L"super") {
            modifiers |= kModifierWin;
        } else if (usage == 0 && (usage = KeyUsageByName(part)) != 0) {
            continue;
        } else {
            error = "unknown key " + part + " (button functions keys lists the names)";
            return false;
        }
    }
    return true;
}

bool Number(const std::string& text, int& value) {
    long long n = 0;
    if (!ParseWholeNumber(text, n) || n < INT32_MIN || n > INT32_MAX) {
        return false;
    }
    value = static_cast<int>(n);
    return true;
}

}  // namespace

std::vector<ButtonDefault> CliButtonDefaults(CliSession& s, std::vector<std::wstring>* names) {
    DeviceDescription description;
    LoadDeviceDescription(
        DeviceDescriptionPath(GetModuleFolder(), s.Devices().ModelName(s.DeviceType())),
        description);
    std::vector<ButtonDefault> defaults;
    for (const DeviceButton& b : description.buttons) {
        ButtonDefault d;
        d.index = b.keyValue;
        d.kind = b.funcType;
        d.value = b.funcValue;
        d.text = b.funcDescId != 0 ? Text(b.funcDescId) : b.funcDescText;
        defaults.push_back(d);
        if (names != nullptr) {
            names->push_back(b.nameId != 0 ? Text(b.nameId) : b.nameText);
        }
    }
    return defaults;
}

ButtonIndexList CliButtonIndices(CliSession& s) {
    ButtonIndexList indices;
    for (const ButtonDefault& d : CliButtonDefaults(s, nullptr)) {
        indices.push_back(d.index);
    }
    return indices;
}

int CliSetButton(CliSession& s, int button, const ButtonFunctionChoice& choice,
                 const std::string& what) {
    if (int prepared = CliPrepareChange(s); prepared != kExitDone) {
        return prepared;
    }
    PageResult result =
        SetButtonFunction(s.Store(), s.Profile(), button, choice, Text, CliButtonIndices(s));
    return CliFinishChange(s, result, "Button " + std::to_string(button) + " set to " + what,
                           JsonValue::MakeObject()
                               .Set("button", button)
                               .Set("kind", choice.kind)
                               .Set("value", choice.value));
}

namespace {

int ListButtons(CliSession& s) {
    const int profile = s.Profile();
    std::vector<std::wstring> names;
    std::vector<ButtonDefault> defaults = CliButtonDefaults(s, &names);
    std::vector<ButtonValue> values =
        ReadButtonValues(s.Store(), profile, defaults, Text,
                         [](const std::wstring& name) { return LocaliseMacroName(name); });
    JsonValue buttons = JsonValue::MakeArray();
    std::vector<std::string> text = {"Buttons of profile " + std::to_string(profile) + ":"};
    for (size_t i = 0; i < values.size(); ++i) {
        const ButtonValue& v = values[i];
        const std::string name = i < names.size() ? Utf8(names[i]) : "";
        buttons.Append(JsonValue::MakeObject()
                           .Set("index", v.index)
                           .Set("name", name)
                           .Set("kind", v.function.macro_type)
                           .Set("value", v.function.macro_value)
                           .Set("function", v.text)
                           .Set("default", !v.stored));
        text.push_back("  " + std::to_string(v.index) + "  " + (name.empty() ? "" : name + ": ") +
                       Utf8(v.text) + (v.stored ? "" : "  (default)"));
    }
    s.Out().Result(JsonValue::MakeObject().Set("profile", profile).Set("buttons", buttons), text);
    return kExitDone;
}

// The numbered functions of each kind, as "button set" takes them.
int ListFunctions(CliSession& s, const std::string& only) {
    JsonValue json = JsonValue::MakeObject();
    std::vector<std::string> text;
    auto kind = [&](const char* name, auto table) {
        if (!only.empty() && only != name) {
            return;
        }
        JsonValue list = JsonValue::MakeArray();
        text.push_back(std::string(name) + ":");
        for (const auto& entry : table) {
            list.Append(
                JsonValue::MakeObject().Set("value", entry.value).Set("text", Text(entry.textId)));
            text.push_back("  " + std::to_string(entry.value) + "  " + Utf8(Text(entry.textId)));
        }
        json.Set(name, list);
    };
    kind("mouse", kMouseCodes);
    kind("media", kMediaCodes);
    kind("system", kSystemCodes);
    kind("group3", kThreeGroupCodes);
    kind("group5", kFiveGroupCodes);
    if (only.empty() || only == "keys") {
        JsonValue keys = JsonValue::MakeArray();
        std::string line = " ";
        for (int usage = 1; usage < 256; ++usage) {
            const std::wstring name = KeyName(usage);
            if (!name.empty()) {
                keys.Append(JsonValue::MakeObject().Set("usage", usage).Set("name", name));
                line += " " + Utf8(name);
            }
        }
        json.Set("keys", keys);
        text.push_back("keys:");
        text.push_back(line);
    }
    if (text.empty()) {
        return CliUsageError(s,
                             "button functions takes mouse, media, system, group3, group5 or keys");
    }
    s.Out().Result(json, text);
    return kExitDone;
}

int SetFunction(CliSession& s, int button, const CliArgs& f) {
    const std::string usage =
        "button set INDEX takes mouse N, media N, system N, group3 N, group5 N, button85, "
        "key COMBINATION, fire mouse BIT|key KEY INTERVAL COUNT or macro ID";
    if (f.empty()) {
        return CliUsageError(s, usage);
    }
    const std::string& k = f[0];
    int n = 0;
    struct Fixed {
        const char* word;
        int32_t kind;
    };
    static const Fixed kFixed[] = {{"mouse", kMouseFunction},
                                   {"media", kMediaFunction},
                                   {"system", kSystemFunction},
                                   {"group3", kThreeGroupFunction},
                                   {"group5", kFiveGroupFunction}};
    for (const Fixed& fixed : kFixed) {
        if (k == fixed.word) {
            if (f.size() != 2 || !Number(f[1], n)) {
                return CliUsageError(s, std::string(fixed.word) +
                                            " takes the number that "
                                            "button functions " +
                                            fixed.word + " shows");
            }
            return CliSetButton(s, button, FixedFunction(fixed.kind, n), k + " " + f[1]);
        }
    }
    if (k == "button85" && f.size() == 1) {
        return CliSetButton(s, button, FixedFunction(kButton85Function, 1), k);
    }
    if (k == "key" && f.size() == 2) {
        int key = 0, modifiers = 0;
        std::string error;
        if (!ParseKeyCombination(f[1], key, modifiers, error)) {
            return CliUsageError(s, error);
        }
        return CliSetButton(s, button, KeyFunction(key, modifiers), "key " + f[1]);
    }
    if (k == "macro" && f.size() == 2 && Number(f[1], n)) {
        return CliSetButton(s, button, MacroFunction(n), "macro " + f[1]);
    }
    if (k == "fire" && f.size() == 5) {
        int interval = 0, count = 0;
        if (!Number(f[3], interval) || !Number(f[4], count)) {
            return CliUsageError(s, "fire takes a source, an interval in ms and a count");
        }
        const std::string what =
            "fire " + f[1] + " " + f[2] + " every " + f[3] + " ms, " + f[4] + " times";
        if (f[1] == "mouse" && Number(f[2], n)) {
            return CliSetButton(s, button, FireMouseFunction(n, interval, count), what);
        }
        if (f[1] == "key") {
            int key = 0, modifiers = 0;
            std::string error;
            if (!ParseKeyCombination(f[2], key, modifiers, error) || modifiers != 0 || key == 0) {
                return CliUsageError(s, error.empty() ? "a fire key is one key" : error);
            }
            return CliSetButton(s, button, FireKeyFunction(key, interval, count), what);
        }
    }
    return CliUsageError(s, usage);
}

}  // namespace

int CliButton(CliSession& s, const CliArgs& args) {
    if (args.empty() || (args.size() == 1 && args[0] == "list")) {
        return ListButtons(s);
    }
    const std::string& verb = args[0];
    if (verb == "functions" && args.size() <= 2) {
        return ListFunctions(s, args.size() == 2 ? args[1] : "");
    }
    int button = 0;
    if (verb == "set" && args.size() >= 2 && Number(args[1], button)) {
        return SetFunction(s, button, CliArgs(args.begin() + 2, args.end()));
    }
    if (verb == "reset" && args.size() == 2 && Number(args[1], button)) {
        if (int prepared = CliPrepareChange(s); prepared != kExitDone) {
            return prepared;
        }
        return CliFinishChange(s, ResetButton(s.Store(), s.Profile(), button, CliButtonIndices(s)),
                               "Button " + args[1] + " has its default function again",
                               JsonValue::MakeObject().Set("button", button));
    }
    if (verb == "lock" && args.size() == 2 && (args[1] == "on" || args[1] == "off")) {
        // Guards the left button against a new function; nothing goes to the mouse.
        if (int prepared = CliPrepareChange(s, CliChangeKind::kStoreOnly); prepared != kExitDone) {
            return prepared;
        }
        const bool locked = args[1] == "on";
        return CliFinishChange(
            s, SetLeftButtonLock(s.Store(), s.Profile(), locked),
            std::string("The left button is ") + (locked ? "locked" : "unlocked"),
            JsonValue::MakeObject().Set("locked", locked), CliChangeKind::kStoreOnly);
    }
    if (verb == "reset-all" && args.size() == 1) {
        if (int prepared = CliPrepareChange(s); prepared != kExitDone) {
            return prepared;
        }
        return CliFinishChange(s, ResetAllButtons(s.Store(), s.Profile()),
                               "Every button has its default function again",
                               JsonValue::MakeObject());
    }
    return CliUsageError(s,
                         "button takes list, functions, set INDEX FUNCTION, reset INDEX, "
                         "reset-all or lock on|off");
}
