#include "app/pages/MacroRecords.h"

#include "app/pages/ButtonFunctionTables.h"
#include "app/pages/ConfigValues.h"
#include "app/store/DeviceDataDB.h"

namespace {

std::optional<PageResult> CheckMacro(DeviceDataDB& db, int macroId, MacroInfo& macro) {
    if (!db.IsOpened()) {
        return PageResult::StoreFailed(L"the settings store is not open");
    }
    if (macroId <= 0 || !db.GetMacro(macroId, macro)) {
        return PageResult::Refused(L"macro " + std::to_wstring(macroId) + L" does not exist");
    }
    return std::nullopt;
}

bool BoundTo(const ButtonAssignment& assignment, int macroId) {
    return assignment.macro_type == kMacroFunction && assignment.macro_value == macroId;
}

}  // namespace

PageResult NewMacro(DeviceDataDB& db, std::wstring_view customWord) {
    std::lock_guard<std::recursive_mutex> hold(db.Lock());
    if (!db.IsOpened()) {
        return PageResult::StoreFailed(L"the settings store is not open");
    }
    MacroList macros;
    int n = db.ListMacros(macros) + 1;
    auto nameFor = [&](int number) {
        return std::wstring(customWord) + L" " + std::to_wstring(number);
    };
    while (db.MacroNameExists(nameFor(n), -1)) {
        ++n;
    }
    const int id = db.AddMacro(nameFor(n));
    if (id == 0) {
        return PageResult::StoreFailed();
    }
    return PageResult::Done({}, id);
}

PageResult RenameMacroRecord(DeviceDataDB& db, int /*profile*/, int macroId,
                             std::wstring_view name) {
    std::lock_guard<std::recursive_mutex> hold(db.Lock());
    MacroInfo macro;
    if (auto refused = CheckMacro(db, macroId, macro)) {
        return *refused;
    }
    if (name.empty()) {
        return PageResult::Refused(L"a macro name cannot be empty");
    }
    if (db.MacroNameExists(name, macroId)) {
        return PageResult::Refused(L"another macro is already named \"" + std::wstring(name) +
                                   L"\"");
    }
    // Every profile's buttons, not only the current one's, so no profile keeps showing (and
    // exporting) the old name.
    ProfileList profiles;
    db.ListProfiles(profiles);
    for (const auto& owner : profiles) {
        ButtonAssignmentList buttons;
        db.ListButtonAssignments(owner->profile, buttons);
        for (const auto& button : buttons) {
            if (BoundTo(*button, macroId)) {
                db.SetButtonDescription(owner->profile, button->key_code, name);
            }
        }
    }
    if (!db.RenameMacro(macroId, name)) {
        return PageResult::StoreFailed();
    }
    return PageResult::Done({}, macroId);
}

PageResult DeleteMacroRecord(DeviceDataDB& db, int profile, int macroId) {
    std::lock_guard<std::recursive_mutex> hold(db.Lock());
    MacroInfo macro;
    if (auto refused = CheckMacro(db, macroId, macro)) {
        return *refused;
    }
    std::vector<PageTask> tasks;
    ProfileList profiles;
    db.ListProfiles(profiles);
    for (const auto& owner : profiles) {
        ButtonAssignmentList buttons;
        db.ListButtonAssignments(owner->profile, buttons);
        for (const auto& button : buttons) {
            if (!BoundTo(*button, macroId)) {
                continue;
            }
            ButtonAssignment cleared;
            cleared.profile = owner->profile;
            cleared.key_code = button->key_code;
            cleared.macro_type = kMouseFunction;
            db.SaveButtonAssignment(cleared);
            if (owner->profile == profile) {
                PageTask task = MakeTask(PageTaskCode::kResetButton);
                task.button = button->key_code;
                tasks.push_back(task);
            }
        }
    }
    if (!db.DeleteMacro(macroId)) {
        return PageResult::StoreFailed();
    }
    return PageResult::Done(IfActive(db, profile, std::move(tasks)), macroId);
}

bool ReadMacro(DeviceDataDB& db, int macroId, MacroValues& macro) {
    std::lock_guard<std::recursive_mutex> hold(db.Lock());
    macro.items.clear();
    if (!db.GetMacro(macroId, macro.info)) {
        return false;
    }
    db.ListMacroEvents(macroId, macro.items);
    return true;
}

int ReadMacros(DeviceDataDB& db, MacroList& macros) {
    return db.ListMacros(macros);
}

std::wstring FreeMacroName(DeviceDataDB& db, std::wstring_view name) {
    std::lock_guard<std::recursive_mutex> hold(db.Lock());
    std::wstring candidate(name);
    for (int n = 2; db.MacroNameExists(candidate, -1); ++n) {
        candidate = std::wstring(name) + L" " + std::to_wstring(n);
    }
    return candidate;
}
