#include "app/pages/ButtonSettings.h"

#include <algorithm>
#include <set>

#include "app/pages/ConfigValues.h"
#include "app/pages/KeyCodes.h"
#include "app/store/DeviceDataDB.h"

namespace {

constexpr int kMaxButtonIndex = 255;
constexpr int kLeftButton = 0;
constexpr int kAllButtonsResetMask = 1;

template <typename Table>
const typename Table::value_type* FindValue(const Table& table, int32_t value) {
    for (const auto& entry : table) {
        if (entry.value == value) {
            return &entry;
        }
    }
    return nullptr;
}

template <typename Table>
std::wstring ValueList(const Table& table) {
    std::vector<int32_t> values;
    for (const auto& entry : table) {
        values.push_back(entry.value);
    }
    std::sort(values.begin(), values.end());
    std::wstring list;
    for (int32_t value : values) {
        list += (list.empty() ? L"" : L", ") + std::to_wstring(value);
    }
    return list;
}

std::wstring Text(const LangTextLookup& text, int id) {
    return text ? text(id) : std::wstring();
}

std::optional<PageResult> CheckButton(int button, const ButtonIndexList& buttons) {
    const bool known = buttons.empty()
                           ? button >= 0 && button <= kMaxButtonIndex
                           : std::find(buttons.begin(), buttons.end(), button) != buttons.end();
    if (known) {
        return std::nullopt;
    }
    std::wstring list;
    for (int index : buttons) {
        list += (list.empty() ? L"" : L", ") + std::to_wstring(index);
    }
    return PageResult::Refused(buttons.empty()
                                   ? L"button must be 0-" + std::to_wstring(kMaxButtonIndex)
                                   : L"button must be one of " + list);
}

// Fills macro_value... and macro_desc of the record, or gives the refusal.
template <typename Table>
std::optional<PageResult> FromTable(const Table& table, std::wstring_view what,
                                    const ButtonFunctionChoice& choice, const LangTextLookup& text,
                                    ButtonAssignment& record) {
    const auto* entry = FindValue(table, choice.value);
    if (entry == nullptr) {
        return PageResult::Refused(std::wstring(what) + L" must be one of " + ValueList(table));
    }
    record.macro_value = choice.value;
    record.macro_desc = Text(text, entry->textId);
    return std::nullopt;
}

std::optional<PageResult> FireKey(const ButtonFunctionChoice& choice, const LangTextLookup& text,
                                  ButtonAssignment& record) {
    const int source = choice.value / kFireSourceFactor;
    const int code = choice.value % kFireSourceFactor;
    if (source == kFireSourceMouse) {
        if (MouseButtonName(code).empty()) {
            return PageResult::Refused(L"fire button must be 1, 2, 4, 8 or 16");
        }
    } else if (source != kFireSourceKey || code <= 0 || code > 255 ||
               VirtualKeyToUsage(code) == 0) {
        return PageResult::Refused(L"fire key must be a named key");
    }
    if (choice.value2 < kFireMinInterval || choice.value2 > kFireMaxInterval) {
        return PageResult::Refused(L"fire interval must be " + std::to_wstring(kFireMinInterval) +
                                   L"-" + std::to_wstring(kFireMaxInterval) + L" ms");
    }
    if (choice.value3 < kFireMinCount || choice.value3 > kFireMaxCount) {
        return PageResult::Refused(L"fire count must be " + std::to_wstring(kFireMinCount) + L"-" +
                                   std::to_wstring(kFireMaxCount));
    }
    record.macro_value = choice.value;
    record.macro_value2 = choice.value2;
    record.macro_value3 = choice.value3;
    record.macro_desc = Text(text, kFireKeyTextId);
    return std::nullopt;
}

std::optional<PageResult> BuildRecord(DeviceDataDB& db, const ButtonFunctionChoice& choice,
                                      const LangTextLookup& text, ButtonAssignment& record) {
    record.macro_type = choice.kind;
    switch (choice.kind) {
        case kMouseFunction:
            return FromTable(kMouseCodes, L"mouse function", choice, text, record);
        case kMediaFunction:
            return FromTable(kMediaCodes, L"media function", choice, text, record);
        case kThreeGroupFunction:
            return FromTable(kThreeGroupCodes, L"group function", choice, text, record);
        case kFiveGroupFunction:
            return FromTable(kFiveGroupCodes, L"group function", choice, text, record);
        case kSystemFunction:
            return FromTable(kSystemCodes, L"system function", choice, text, record);
        case kButton85Function:
            if (choice.value != 1) {
                return PageResult::Refused(L"function 9 takes the value 1");
            }
            record.macro_value = 1;
            record.macro_desc = Text(text, kButton85TextId);
            return std::nullopt;
        case kKeyFunction: {
            if (choice.value < 0 || choice.value > 255 ||
                (choice.value != 0 && KeyName(choice.value).empty())) {
                return PageResult::Refused(L"key must be a named key");
            }
            if (choice.value2 < 0 || choice.value2 > 15) {
                return PageResult::Refused(
                    L"modifiers must be 0-15 (1 Ctrl, 2 Shift, 4 Alt, 8 Win)");
            }
            if (choice.value == 0 && choice.value2 == 0) {
                return PageResult::Refused(L"give a key, a modifier or both");
            }
            record.macro_value = choice.value;
            record.macro_value2 = choice.value2;
            record.macro_desc = KeyCombinationText(choice.value2, KeyName(choice.value));
            return std::nullopt;
        }
        case kMacroFunction: {
            MacroInfo macro;
            if (choice.value <= 0 || !db.GetMacro(choice.value, macro)) {
                return PageResult::Refused(L"macro " + std::to_wstring(choice.value) +
                                           L" does not exist");
            }
            record.macro_value = choice.value;
            record.macro_desc = macro.name;
            return std::nullopt;
        }
        case kFireKeyFunction:
            return FireKey(choice, text, record);
        default:
            return PageResult::Refused(L"function kind must be 1-9");
    }
}

PageTask ButtonTask(int code, int button) {
    PageTask task = MakeTask(code);
    task.button = button;
    return task;
}

}  // namespace

ButtonFunctionChoice FixedFunction(int32_t kind, int32_t value) {
    return {kind, value, 0, 0};
}

ButtonFunctionChoice KeyFunction(int32_t usage, int32_t modifiers) {
    return {kKeyFunction, usage, modifiers, 0};
}

ButtonFunctionChoice MacroFunction(int32_t macroId) {
    return {kMacroFunction, macroId, 0, 0};
}

ButtonFunctionChoice FireMouseFunction(int32_t buttonBit, int32_t intervalMs, int32_t count) {
    return {kFireKeyFunction, kFireSourceMouse * kFireSourceFactor + buttonBit, intervalMs, count};
}

ButtonFunctionChoice FireKeyFunction(int32_t usage, int32_t intervalMs, int32_t count) {
    // A usage without a virtual key gives code 0, which SetButtonFunction refuses.
    return {kFireKeyFunction, kFireSourceKey * kFireSourceFactor + UsageToVirtualKey(usage),
            intervalMs, count};
}

PageResult SetButtonFunction(DeviceDataDB& db, int profile, int button,
                             const ButtonFunctionChoice& choice, const LangTextLookup& text,
                             const ButtonIndexList& buttons) {
    std::lock_guard<std::recursive_mutex> hold(db.Lock());
    if (auto refused = CheckProfile(db, profile)) {
        return *refused;
    }
    if (auto refused = CheckButton(button, buttons)) {
        return *refused;
    }
    if (button == kLeftButton && ReadConfigInt(db, profile, L"leftbtn_lock") == 1) {
        return PageResult::Refused(L"the left button is locked; unlock it first");
    }
    ButtonAssignment record;
    record.profile = profile;
    record.fn_layer = 0;
    record.key_code = button;
    if (auto refused = BuildRecord(db, choice, text, record)) {
        return *refused;
    }
    const int keyId = db.SaveButtonAssignment(record);
    if (keyId == 0) {
        return PageResult::StoreFailed();
    }
    return PageResult::Done(IfActive(db, profile, {ButtonTask(PageTaskCode::kSendButton, button)}),
                            keyId);
}

PageResult ResetButton(DeviceDataDB& db, int profile, int button, const ButtonIndexList& buttons) {
    std::lock_guard<std::recursive_mutex> hold(db.Lock());
    if (auto refused = CheckProfile(db, profile)) {
        return *refused;
    }
    if (auto refused = CheckButton(button, buttons)) {
        return *refused;
    }
    ButtonAssignment record;
    record.profile = profile;
    record.key_code = button;
    record.macro_type = kMouseFunction;
    db.SaveButtonAssignment(record);  // zero values: only removes the row
    ButtonAssignment left;
    if (db.GetButtonAssignment(profile, button, left)) {
        return PageResult::StoreFailed();
    }
    return PageResult::Done(
        IfActive(db, profile, {ButtonTask(PageTaskCode::kResetButton, button)}));
}

PageResult ResetAllButtons(DeviceDataDB& db, int profile) {
    std::lock_guard<std::recursive_mutex> hold(db.Lock());
    if (auto refused = CheckProfile(db, profile)) {
        return *refused;
    }
    if (!db.DeleteProfileButtons(profile)) {
        return PageResult::StoreFailed();
    }
    PageTask task = MakeTask(PageTaskCode::kRestoreButtons);
    task.resetMask = kAllButtonsResetMask;
    return PageResult::Done(IfActive(db, profile, {task}));
}

std::vector<ButtonValue> ReadButtonValues(DeviceDataDB& db, int profile,
                                          const std::vector<ButtonDefault>& defaults,
                                          const LangTextLookup& text,
                                          const MacroNameLocaliser& localiseMacroName) {
    std::lock_guard<std::recursive_mutex> hold(db.Lock());
    ButtonAssignmentList stored;
    db.ListButtonAssignments(profile, stored);
    std::vector<ButtonValue> values;
    std::set<int> shown;
    for (const ButtonDefault& entry : defaults) {
        ButtonValue value;
        value.index = entry.index;
        value.function.profile = profile;
        value.function.key_code = entry.index;
        value.function.macro_type = entry.kind;
        value.function.macro_value = entry.value;
        value.text = entry.text;
        values.push_back(value);
        shown.insert(entry.index);
    }
    std::vector<ButtonValue> extra;
    for (const auto& record : stored) {
        const std::wstring description = DescribeButtonFunction(*record, text, localiseMacroName);
        auto it = std::find_if(values.begin(), values.end(),
                               [&](const ButtonValue& v) { return v.index == record->key_code; });
        ButtonValue* target = nullptr;
        if (it != values.end()) {
            target = &*it;
        } else if (shown.insert(record->key_code).second) {
            extra.emplace_back();
            target = &extra.back();
            target->index = record->key_code;
        }
        if (target != nullptr) {
            target->stored = true;
            target->function = *record;
            target->text = description;
        }
    }
    std::sort(extra.begin(), extra.end(),
              [](const ButtonValue& a, const ButtonValue& b) { return a.index < b.index; });
    values.insert(values.end(), extra.begin(), extra.end());
    return values;
}
