#include "app/store/DeviceDataDB.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include "app/lang/LanguageId.h"
#include "app/store/StatementArgs.h"
#include "quorl/core/Utf8.h"

using Quorl::WideToUtf8;
using store_detail::ColumnWide;
using store_detail::PrepareAndBind;
using store_detail::RunOnce;

namespace {

constexpr const char* kSchema[] = {
    "CREATE TABLE IF NOT EXISTS t_configdata(config_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "profile INTEGER, key TEXT, value TEXT)",
    "CREATE TABLE IF NOT EXISTS t_profile_data(profile INTEGER PRIMARY KEY AUTOINCREMENT, "
    "name TEXT, status INTEGER, app TEXT, type INTEGER)",
    "CREATE INDEX IF NOT EXISTS profileindex ON t_profile_data(profile)",
    "CREATE TABLE IF NOT EXISTS t_key_macro_data(key_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "profile INTEGER, fn_layer INTEGER, key_code INTEGER, layout_value INTEGER, layout_desc TEXT, "
    "macro_type INTEGER, macro_value INTEGER, macro_value2 INTEGER, macro_value3 INTEGER, "
    "macro_desc TEXT)",
    "CREATE INDEX IF NOT EXISTS keyindex ON t_key_macro_data(key_id)",
    "CREATE TABLE IF NOT EXISTS t_key_otherdata(macro_value INTEGER PRIMARY KEY AUTOINCREMENT, "
    "macro_desc TEXT, param TEXT, type INTEGER)",
    "CREATE INDEX IF NOT EXISTS otheridindex ON t_key_otherdata(macro_value)",
    "CREATE TABLE IF NOT EXISTS t_macro_data(macro_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "name TEXT, play_type INTEGER, play_times INTEGER, delay_type INTEGER, delay_time INTEGER)",
    "CREATE INDEX IF NOT EXISTS macroidindex ON t_macro_data(macro_id)",
    "CREATE TABLE IF NOT EXISTS t_macrorecord(record_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "macro_id INTEGER, type INTEGER, record_index INTEGER, desc TEXT, value INTEGER, "
    "delay_time INTEGER)",
    "CREATE INDEX IF NOT EXISTS macrorecordindex ON t_macrorecord(record_id)",
    "CREATE TABLE IF NOT EXISTS t_light_data(light_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "profile INTEGER, name TEXT, mode INTEGER, brightness INTEGER, speed INTEGER, "
    "direction INTEGER, colorful INTEGER, colorindex INTEGER, color_value INTEGER, "
    "config_func INTEGER, reserved INTEGER, status INTEGER)",
    "CREATE INDEX IF NOT EXISTS lightindex ON t_light_data(light_id)",
    "CREATE TABLE IF NOT EXISTS t_key_light_data(keylight_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "profile INTEGER, light_id INTEGER, key_code INTEGER, key_rgb INTEGER)",
    "CREATE INDEX IF NOT EXISTS keylightindex ON t_key_light_data(keylight_id)",
};

struct DefaultConfigRow {
    const char* key;
    const char* value;
};

// The rows every new profile receives, in this order.
constexpr DefaultConfigRow kDefaultConfig[] = {
    {"version", "1.0.1"},
    {"lightmode", "3"},
    {"sleep_light", "3"},
    {"wakeup_mode", "4"},
    {"report_rate", "3"},
    {"button_respondtime", "8"},
    {"sensor_flag", "53"},
    {"liftoff_height", "1"},
    {"scroll_flag", "1"},
    {"e-sports_flag", "1"},
    {"leftbtn_lock", "1"},
    {"dpi_flag", "4"},
    {"dpi_index", "1"},
    {"dpi_count", "4"},
    {"dpi_group0_value", "1000"},
    {"dpi_group1_value", "1600"},
    {"dpi_group2_value", "3200"},
    {"dpi_group3_value", "5000"},
    {"dpi_group4_value", "12000"},
    {"dpi_group5_value", "16000"},
    {"dpi_group0_rgb", "255"},
    {"dpi_group1_rgb", "65280"},
    {"dpi_group2_rgb", "16711680"},
    {"dpi_group3_rgb", "8388736"},
    {"dpi_group4_rgb", "16777215"},
    {"dpi_group5_rgb", "16711935"},
};

constexpr const char* kClearStatements[] = {
    "DELETE FROM t_configdata",    "DELETE FROM t_profile_data",   "DELETE FROM t_key_macro_data",
    "DELETE FROM t_key_otherdata", "DELETE FROM t_macro_data",     "DELETE FROM t_macrorecord",
    "DELETE FROM t_light_data",    "DELETE FROM t_key_light_data", "DELETE FROM sqlite_sequence",
};

constexpr int kOpenExisting = SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX;
constexpr int kOpenCreate = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX;

enum class FileState { Missing, Empty, Present };

FileState StateOf(const std::string& path) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0) {
        return FileState::Missing;
    }
    return S_ISREG(info.st_mode) && info.st_size == 0 ? FileState::Empty : FileState::Present;
}

}  // namespace

namespace store_detail {

std::wstring ColumnWide(const SQLiteStatement& statement, int index) {
    const char* text = statement.ColumnText(index);
    return text == nullptr ? std::wstring() : Quorl::Utf8ToWide(text);
}

}  // namespace store_detail

DeviceDataDB::~DeviceDataDB() {
    std::lock_guard guard(lock_);
    if (opened_) {
        Close();
    }
}

DeviceDataDB& DeviceDataDB::Instance() {
    static DeviceDataDB instance;
    return instance;
}

bool DeviceDataDB::OpenDeviceDatabase(std::wstring_view dataFolder, std::wstring_view deviceName) {
    std::lock_guard guard(lock_);
    std::wstring relative = L"db/";
    relative.append(deviceName).append(L"_data.db");
    path_ = WideToUtf8(std::wstring(dataFolder) + relative);

    bool result;
    // A file of no bytes holds no database: it is what an interrupted first creation leaves,
    // and giving it the schema loses nothing.
    if (StateOf(path_) == FileState::Present) {
        result = IsOpen() || Open(path_.c_str(), kOpenExisting);
        // SQLite opens any file lazily; a file that is not a database must not count as opened.
        if (result && RunOnce(*this, "SELECT count(*) FROM sqlite_master") != SQLITE_ROW) {
            Close();
            result = false;
        }
    } else {
        result = CreateSchema();
    }
    opened_ = result;
    return result;
}

bool DeviceDataDB::CreateSchema() {
    if (IsOpen()) {
        return true;
    }
    if (!Open(path_.c_str(), kOpenCreate)) {
        return false;
    }
    bool allSucceeded = true;
    for (const char* statement : kSchema) {
        allSucceeded = StepSucceeded(RunOnce(*this, statement)) && allSucceeded;
    }
    return allSucceeded;
}

void DeviceDataDB::ResetDeviceDatabase(std::wstring_view dataFolder, std::wstring_view deviceName) {
    std::lock_guard guard(lock_);
    OpenDeviceDatabase(dataFolder, deviceName);
    ClearAllTables();
}

void DeviceDataDB::CloseDeviceDatabase() {
    std::lock_guard guard(lock_);
    Close();
    opened_ = false;
}

void DeviceDataDB::ClearAllTables() {
    std::lock_guard guard(lock_);
    for (const char* statement : kClearStatements) {
        RunOnce(*this, statement);
    }
}

bool DeviceDataDB::IsOpened() const {
    std::lock_guard guard(lock_);
    return opened_;
}

std::string DeviceDataDB::Path() const {
    std::lock_guard guard(lock_);
    return path_;
}

bool DeviceDataDB::GetConfigValue(int profile, std::wstring_view key, std::wstring& value) {
    std::lock_guard guard(lock_);
    value.clear();
    const std::string utf8Key = WideToUtf8(key);
    SQLiteStatement statement;
    if (PrepareAndBind(*this, statement,
                       "SELECT value FROM t_configdata WHERE profile = ? and key = ?", profile,
                       utf8Key) != SQLITE_OK ||
        statement.Step() != SQLITE_ROW) {
        return false;
    }
    value = ColumnWide(statement, 0);
    return true;
}

bool DeviceDataDB::SetConfigValue(int profile, std::wstring_view key, std::wstring_view value) {
    std::lock_guard guard(lock_);
    const std::string utf8Value = WideToUtf8(value);
    const std::string utf8Key = WideToUtf8(key);
    return StepSucceeded(RunOnce(*this,
                                 "UPDATE t_configdata SET value = ? WHERE profile = ? and key = ?",
                                 utf8Value, profile, utf8Key));
}

void DeviceDataDB::InsertDefaultConfig(int profile) {
    std::lock_guard guard(lock_);
    for (const DefaultConfigRow& row : kDefaultConfig) {
        RunOnce(*this, "INSERT INTO t_configdata(profile, key, value) VALUES (?, ?, ?);", profile,
                std::string(row.key), std::string(row.value));
    }
}

int DeviceDataDB::InsertedId(int stepResult) {
    return StepSucceeded(stepResult) ? static_cast<int>(LastInsertRowId()) : 0;
}

int DeviceDataDB::AddProfile(const ProfileInfo& profile) {
    std::lock_guard guard(lock_);
    const std::string name = WideToUtf8(profile.name);
    const std::string app = WideToUtf8(profile.app);
    const int id = InsertedId(
        RunOnce(*this, "INSERT INTO t_profile_data(name, status, app, type) VALUES (?, ?, ?, ?);",
                name, 0, app, 0));
    if (id != 0) {
        InsertDefaultConfig(id);
    }
    return id;
}

bool DeviceDataDB::RenameProfile(int profile, std::wstring_view name) {
    std::lock_guard guard(lock_);
    const std::string utf8Name = WideToUtf8(name);
    return StepSucceeded(
        RunOnce(*this, "UPDATE t_profile_data SET name = ? WHERE profile = ?", utf8Name, profile));
}

bool DeviceDataDB::GetProfileName(int profile, std::wstring& name) {
    std::lock_guard guard(lock_);
    name.clear();
    SQLiteStatement statement;
    if (PrepareAndBind(*this, statement, "SELECT name FROM t_profile_data WHERE profile = ?",
                       profile) != SQLITE_OK ||
        statement.Step() != SQLITE_ROW) {
        return false;
    }
    name = LocaliseProfileName(ColumnWide(statement, 0), CurrentLanguageId());
    return true;
}

int DeviceDataDB::ListProfiles(ProfileList& profiles) {
    std::lock_guard guard(lock_);
    profiles.clear();
    SQLiteStatement statement;
    if (Prepare(statement, "SELECT * FROM t_profile_data") != SQLITE_OK) {
        return 0;
    }
    const int languageId = CurrentLanguageId();
    while (statement.Step() == SQLITE_ROW) {
        auto profile = std::make_unique<ProfileInfo>();
        profile->profile = statement.ColumnInt(0);
        profile->name = LocaliseProfileName(ColumnWide(statement, 1), languageId);
        profile->status = statement.ColumnInt(2);
        profile->app = ColumnWide(statement, 3);
        profile->type = statement.ColumnInt(4);
        profiles.push_back(std::move(profile));
    }
    return static_cast<int>(profiles.size());
}

bool DeviceDataDB::SetActiveProfile(int profile) {
    std::lock_guard guard(lock_);
    RunOnce(*this, "UPDATE t_profile_data SET status = ?", 0);
    return StepSucceeded(
        RunOnce(*this, "UPDATE t_profile_data SET status = ? WHERE profile = ?", 1, profile));
}

int DeviceDataDB::GetActiveProfile() {
    std::lock_guard guard(lock_);
    SQLiteStatement statement;
    if (PrepareAndBind(*this, statement, "SELECT profile FROM t_profile_data WHERE status = ?",
                       1) != SQLITE_OK ||
        statement.Step() != SQLITE_ROW) {
        return 0;
    }
    return statement.ColumnInt(0);
}
