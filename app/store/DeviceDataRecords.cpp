// Button assignments, lighting modes and macros of the per-model store.
#include <sqlite3.h>

#include "app/store/DeviceDataDB.h"
#include "app/store/StatementArgs.h"
#include "quorl/core/Utf8.h"

using Quorl::WideToUtf8;
using store_detail::ColumnWide;
using store_detail::PrepareAndBind;
using store_detail::RunOnce;

namespace {

void ReadButtonAssignment(const SQLiteStatement& row, ButtonAssignment& out) {
    out.key_id = row.ColumnInt(0);
    out.profile = row.ColumnInt(1);
    out.fn_layer = row.ColumnInt(2);
    out.key_code = row.ColumnInt(3);
    out.layout_value = row.ColumnInt(4);
    out.layout_desc = ColumnWide(row, 5);
    out.macro_type = row.ColumnInt(6);
    out.macro_value = row.ColumnInt(7);
    out.macro_value2 = row.ColumnInt(8);
    out.macro_value3 = row.ColumnInt(9);
    out.macro_desc = ColumnWide(row, 10);
}

void ReadLightMode(const SQLiteStatement& row, LightModeSettings& out) {
    out.light_id = row.ColumnInt(0);
    out.profile = row.ColumnInt(1);
    out.name = ColumnWide(row, 2);
    out.mode = row.ColumnInt(3);
    out.brightness = row.ColumnInt(4);
    out.speed = row.ColumnInt(5);
    out.direction = row.ColumnInt(6);
    out.colorful = row.ColumnInt(7);
    out.colorindex = row.ColumnInt(8);
    out.color_value = row.ColumnInt(9);
    out.config_func = row.ColumnInt(10);
    out.reserved = row.ColumnInt(11);
    out.status = row.ColumnInt(12);
}

void ReadMacro(const SQLiteStatement& row, MacroInfo& out) {
    out.macro_id = row.ColumnInt(0);
    out.name = ColumnWide(row, 1);
    out.play_type = row.ColumnInt(2);
    out.play_times = row.ColumnInt(3);
    out.delay_type = row.ColumnInt(4);
    out.delay_time = row.ColumnInt(5);
}

void ReadMacroEvent(const SQLiteStatement& row, MacroEvent& out) {
    out.record_id = row.ColumnInt(0);
    out.macro_id = row.ColumnInt(1);
    out.type = row.ColumnInt(2);
    out.record_index = row.ColumnInt(3);
    out.desc = ColumnWide(row, 4);
    out.value = row.ColumnInt(5);
    out.delay_time = row.ColumnInt(6);
}

// Reads the first row of a prepared query into out; false when there is none.
template <typename Record, typename Reader>
bool ReadFirst(SQLiteStatement& statement, int prepareResult, Record& out, Reader read) {
    if (prepareResult != SQLITE_OK || statement.Step() != SQLITE_ROW) {
        return false;
    }
    read(statement, out);
    return true;
}

// Reads every row of a prepared query into a freshly cleared list.
template <typename Record, typename Reader>
int ReadAll(SQLiteStatement& statement, int prepareResult,
            std::vector<std::unique_ptr<Record>>& list, Reader read) {
    list.clear();
    if (prepareResult != SQLITE_OK) {
        return 0;
    }
    while (statement.Step() == SQLITE_ROW) {
        auto record = std::make_unique<Record>();
        read(statement, *record);
        list.push_back(std::move(record));
    }
    return static_cast<int>(list.size());
}

constexpr const char* kInsertMacroEvent =
    "INSERT INTO t_macrorecord(macro_id, type, record_index, desc, value, delay_time) "
    "VALUES (?, ?, ?, ?, ?, ?);";

}  // namespace

int DeviceDataDB::SaveButtonAssignment(const ButtonAssignment& a) {
    std::lock_guard guard(lock_);
    RunOnce(*this,
            "DELETE FROM t_key_macro_data WHERE profile = ? and fn_layer = ? and key_code = ?",
            a.profile, a.fn_layer, a.key_code);
    // A button without a row has its built-in function: an empty assignment only deletes.
    if (a.macro_value == 0 && a.macro_value2 == 0) {
        return 0;
    }
    const std::string layoutDesc = WideToUtf8(a.layout_desc);
    const std::string macroDesc = WideToUtf8(a.macro_desc);
    return InsertedId(RunOnce(
        *this,
        "INSERT INTO t_key_macro_data(profile, fn_layer, key_code, layout_value, layout_desc, "
        "macro_type, macro_value, macro_value2, macro_value3, macro_desc) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?);",
        a.profile, a.fn_layer, a.key_code, a.layout_value, layoutDesc, a.macro_type, a.macro_value,
        a.macro_value2, a.macro_value3, macroDesc));
}

bool DeviceDataDB::GetButtonAssignment(int profile, int keyCode, ButtonAssignment& assignment) {
    std::lock_guard guard(lock_);
    SQLiteStatement statement;
    const int prepared = PrepareAndBind(
        *this, statement,
        "SELECT * FROM t_key_macro_data WHERE profile = ? and fn_layer = ? and key_code = ?",
        profile, 0, keyCode);
    return ReadFirst(statement, prepared, assignment, ReadButtonAssignment);
}

bool DeviceDataDB::SetButtonDescription(int profile, int keyCode, std::wstring_view text) {
    std::lock_guard guard(lock_);
    const std::string utf8 = WideToUtf8(text);
    return StepSucceeded(RunOnce(*this,
                                 "UPDATE t_key_macro_data SET macro_desc = ? WHERE profile = ? and "
                                 "fn_layer = ? and key_code = ?",
                                 utf8, profile, 0, keyCode));
}

int DeviceDataDB::ListButtonAssignments(int profile, ButtonAssignmentList& assignments) {
    std::lock_guard guard(lock_);
    SQLiteStatement statement;
    const int prepared = PrepareAndBind(
        *this, statement, "SELECT * FROM t_key_macro_data WHERE profile = ? and fn_layer = ?",
        profile, 0);
    return ReadAll(statement, prepared, assignments, ReadButtonAssignment);
}

bool DeviceDataDB::DeleteProfileButtons(int profile) {
    std::lock_guard guard(lock_);
    return StepSucceeded(RunOnce(*this, "DELETE FROM t_key_macro_data WHERE profile = ?", profile));
}

int DeviceDataDB::CountLightModes(int profile) {
    std::lock_guard guard(lock_);
    SQLiteStatement statement;
    if (PrepareAndBind(*this, statement, "select count(*) FROM t_light_data WHERE profile = ?",
                       profile) != SQLITE_OK ||
        statement.Step() != SQLITE_ROW) {
        return 0;
    }
    return statement.ColumnInt(0);
}

int DeviceDataDB::AddLightMode(const LightModeSettings& l) {
    std::lock_guard guard(lock_);
    const std::string name = WideToUtf8(l.name);
    return InsertedId(RunOnce(
        *this,
        "INSERT INTO t_light_data(profile, name, mode, brightness, speed, direction, colorful, "
        "colorindex, color_value, config_func, reserved, status) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?);",
        l.profile, name, l.mode, l.brightness, l.speed, l.direction, l.colorful, l.colorindex,
        l.color_value, l.config_func, l.reserved, l.status));
}

bool DeviceDataDB::UpdateLightMode(int profile, int mode, const LightModeSettings& l) {
    std::lock_guard guard(lock_);
    return StepSucceeded(
        RunOnce(*this,
                "UPDATE t_light_data SET brightness = ?, speed = ?, direction = ?, colorful = ?, "
                "colorindex = ?, color_value = ?, config_func = ?, reserved = ? "
                "WHERE profile = ? and mode = ?",
                l.brightness, l.speed, l.direction, l.colorful, l.colorindex, l.color_value,
                l.config_func, l.reserved, profile, mode));
}

bool DeviceDataDB::SetLightBrightness(int profile, int mode, int value) {
    std::lock_guard guard(lock_);
    return StepSucceeded(
        RunOnce(*this, "UPDATE t_light_data SET brightness = ? WHERE profile = ? and mode = ?",
                value, profile, mode));
}

bool DeviceDataDB::SetLightSpeed(int profile, int mode, int value) {
    std::lock_guard guard(lock_);
    return StepSucceeded(RunOnce(*this,
                                 "UPDATE t_light_data SET speed = ? WHERE profile = ? and mode = ?",
                                 value, profile, mode));
}

bool DeviceDataDB::SetLightColor(int profile, int mode, int value) {
    std::lock_guard guard(lock_);
    return StepSucceeded(
        RunOnce(*this, "UPDATE t_light_data SET color_value = ? WHERE profile = ? and mode = ?",
                value, profile, mode));
}

bool DeviceDataDB::SetActiveLightMode(int profile, int mode) {
    std::lock_guard guard(lock_);
    RunOnce(*this, "UPDATE t_light_data SET status = ? WHERE profile = ?", 0, profile);
    return StepSucceeded(
        RunOnce(*this, "UPDATE t_light_data SET status = ? WHERE profile = ? and mode = ?", 1,
                profile, mode));
}

int DeviceDataDB::GetActiveLightMode(int profile) {
    std::lock_guard guard(lock_);
    SQLiteStatement statement;
    if (PrepareAndBind(*this, statement,
                       "SELECT mode FROM t_light_data WHERE profile = ? and status = ?", profile,
                       1) != SQLITE_OK ||
        statement.Step() != SQLITE_ROW) {
        return 0;
    }
    return statement.ColumnInt(0);
}

bool DeviceDataDB::GetLightMode(int profile, int mode, LightModeSettings& light) {
    std::lock_guard guard(lock_);
    SQLiteStatement statement;
    const int prepared =
        PrepareAndBind(*this, statement,
                       "SELECT * FROM t_light_data WHERE profile = ? AND mode = ?", profile, mode);
    return ReadFirst(statement, prepared, light, ReadLightMode);
}

int DeviceDataDB::ListLightModes(int profile, LightModeList& lights) {
    std::lock_guard guard(lock_);
    SQLiteStatement statement;
    const int prepared =
        PrepareAndBind(*this, statement, "SELECT * FROM t_light_data WHERE profile = ?", profile);
    return ReadAll(statement, prepared, lights, ReadLightMode);
}

int DeviceDataDB::InsertMacro(std::string_view name, int playType, int playTimes, int delayType,
                              int delayTime) {
    const std::string utf8Name(name);
    return InsertedId(RunOnce(*this,
                              "INSERT INTO t_macro_data(name, play_type, play_times, delay_type, "
                              "delay_time) VALUES (?, ?, ?, ?, ?);",
                              utf8Name, playType, playTimes, delayType, delayTime));
}

int DeviceDataDB::AddMacro(std::wstring_view name) {
    std::lock_guard guard(lock_);
    return InsertMacro(WideToUtf8(name), 0, 1, 1, 0);
}

int DeviceDataDB::AddMacroWithSettings(const MacroInfo& m) {
    std::lock_guard guard(lock_);
    return InsertMacro(WideToUtf8(m.name), m.play_type, m.play_times, m.delay_type, m.delay_time);
}

bool DeviceDataDB::MacroNameExists(std::wstring_view name, int excludedId) {
    std::lock_guard guard(lock_);
    const std::string utf8Name = WideToUtf8(name);
    SQLiteStatement statement;
    const int prepared =
        excludedId < 0
            ? PrepareAndBind(*this, statement, "SELECT COUNT(*) FROM t_macro_data WHERE name = ?",
                             utf8Name)
            : PrepareAndBind(*this, statement,
                             "SELECT COUNT(*) FROM t_macro_data WHERE name = ? AND macro_id != ?",
                             utf8Name, excludedId);
    return prepared == SQLITE_OK && statement.Step() == SQLITE_ROW && statement.ColumnInt(0) > 0;
}

bool DeviceDataDB::RenameMacro(int macroId, std::wstring_view name) {
    std::lock_guard guard(lock_);
    const std::string utf8Name = WideToUtf8(name);
    return StepSucceeded(
        RunOnce(*this, "UPDATE t_macro_data SET name = ? WHERE macro_id = ?", utf8Name, macroId));
}

bool DeviceDataDB::DeleteMacro(int macroId) {
    std::lock_guard guard(lock_);
    if (!StepSucceeded(RunOnce(*this, "DELETE FROM t_macro_data WHERE macro_id = ?", macroId))) {
        return false;
    }
    return StepSucceeded(RunOnce(*this, "DELETE FROM t_macrorecord WHERE macro_id = ?", macroId));
}

bool DeviceDataDB::GetMacro(int macroId, MacroInfo& macro) {
    std::lock_guard guard(lock_);
    SQLiteStatement statement;
    const int prepared =
        PrepareAndBind(*this, statement, "SELECT * FROM t_macro_data WHERE macro_id = ?", macroId);
    return ReadFirst(statement, prepared, macro, ReadMacro);
}

bool DeviceDataDB::UpdateMacro(const MacroInfo& m) {
    std::lock_guard guard(lock_);
    const std::string name = WideToUtf8(m.name);
    return StepSucceeded(RunOnce(*this,
                                 "UPDATE t_macro_data SET name = ?, play_type = ?, play_times = ?, "
                                 "delay_type = ?,delay_time = ? WHERE macro_id = ?",
                                 name, m.play_type, m.play_times, m.delay_type, m.delay_time,
                                 m.macro_id));
}

int DeviceDataDB::ListMacros(MacroList& macros) {
    std::lock_guard guard(lock_);
    SQLiteStatement statement;
    const int prepared = Prepare(statement, "SELECT * FROM t_macro_data");
    return ReadAll(statement, prepared, macros, ReadMacro);
}

int DeviceDataDB::AddMacroEvent(const MacroEvent& e) {
    std::lock_guard guard(lock_);
    const std::string desc = WideToUtf8(e.desc);
    return InsertedId(RunOnce(*this, kInsertMacroEvent, e.macro_id, e.type, e.record_index, desc,
                              e.value, e.delay_time));
}

void DeviceDataDB::AddMacroEvents(const std::vector<MacroEvent>& events) {
    std::lock_guard guard(lock_);
    SQLiteAutoTransaction transaction(this);
    transaction.Begin();
    for (const MacroEvent& e : events) {
        const std::string desc = WideToUtf8(e.desc);
        RunOnce(*this, kInsertMacroEvent, e.macro_id, e.type, e.record_index, desc, e.value,
                e.delay_time);
    }
    transaction.Commit();
}

int DeviceDataDB::ListMacroEvents(int macroId, MacroEventList& events) {
    std::lock_guard guard(lock_);
    SQLiteStatement statement;
    const int prepared = PrepareAndBind(
        *this, statement,
        "SELECT * FROM t_macrorecord WHERE macro_id = ? ORDER BY record_index ASC", macroId);
    return ReadAll(statement, prepared, events, ReadMacroEvent);
}

bool DeviceDataDB::DeleteMacroEvents(int macroId) {
    std::lock_guard guard(lock_);
    return StepSucceeded(RunOnce(*this, "DELETE FROM t_macrorecord WHERE macro_id = ?", macroId));
}
