#include "app/store/DeviceDataDB.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <filesystem>

#include "app/lang/LanguageId.h"
#include "quorl/core/Utf8.h"
#include "tests/support/TempFolder.h"

namespace {

// The schema as SQLite keeps it in sqlite_master (it drops "IF NOT EXISTS").
const char* const kExpectedSchema[] = {
    "CREATE TABLE t_configdata(config_id INTEGER PRIMARY KEY AUTOINCREMENT, profile INTEGER, "
    "key TEXT, value TEXT)",
    "CREATE TABLE t_profile_data(profile INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT, "
    "status INTEGER, app TEXT, type INTEGER)",
    "CREATE INDEX profileindex ON t_profile_data(profile)",
    "CREATE TABLE t_key_macro_data(key_id INTEGER PRIMARY KEY AUTOINCREMENT, profile INTEGER, "
    "fn_layer INTEGER, key_code INTEGER, layout_value INTEGER, layout_desc TEXT, "
    "macro_type INTEGER, macro_value INTEGER, macro_value2 INTEGER, macro_value3 INTEGER, "
    "macro_desc TEXT)",
    "CREATE INDEX keyindex ON t_key_macro_data(key_id)",
    "CREATE TABLE t_key_otherdata(macro_value INTEGER PRIMARY KEY AUTOINCREMENT, "
    "macro_desc TEXT, param TEXT, type INTEGER)",
    "CREATE INDEX otheridindex ON t_key_otherdata(macro_value)",
    "CREATE TABLE t_macro_data(macro_id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT, "
    "play_type INTEGER, play_times INTEGER, delay_type INTEGER, delay_time INTEGER)",
    "CREATE INDEX macroidindex ON t_macro_data(macro_id)",
    "CREATE TABLE t_macrorecord(record_id INTEGER PRIMARY KEY AUTOINCREMENT, macro_id INTEGER, "
    "type INTEGER, record_index INTEGER, desc TEXT, value INTEGER, delay_time INTEGER)",
    "CREATE INDEX macrorecordindex ON t_macrorecord(record_id)",
    "CREATE TABLE t_light_data(light_id INTEGER PRIMARY KEY AUTOINCREMENT, profile INTEGER, "
    "name TEXT, mode INTEGER, brightness INTEGER, speed INTEGER, direction INTEGER, "
    "colorful INTEGER, colorindex INTEGER, color_value INTEGER, config_func INTEGER, "
    "reserved INTEGER, status INTEGER)",
    "CREATE INDEX lightindex ON t_light_data(light_id)",
    "CREATE TABLE t_key_light_data(keylight_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "profile INTEGER, light_id INTEGER, key_code INTEGER, key_rgb INTEGER)",
    "CREATE INDEX keylightindex ON t_key_light_data(keylight_id)",
};

std::vector<std::string> SchemaOf(const std::string& path) {
    SQLiteDB db;
    std::vector<std::string> statements;
    if (!db.Open(path.c_str(), SQLITE_OPEN_READONLY)) {
        return statements;
    }
    SQLiteStatement query;
    db.Prepare(query,
               "SELECT sql FROM sqlite_master WHERE name != 'sqlite_sequence' ORDER BY rowid");
    while (query.Step() == SQLITE_ROW) {
        statements.push_back(query.ColumnText(0));
    }
    return statements;
}

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        dataFolder_ = Quorl::Utf8ToWide(folder_.Path() + "/");
        std::filesystem::create_directory(folder_ / "db");
        SetCurrentLanguageId(1033);
    }
    void TearDown() override { SetCurrentLanguageId(1033); }

    bool Open(const wchar_t* device = L"M7") { return db_.OpenDeviceDatabase(dataFolder_, device); }
    std::string FilePath(const std::string& device = "M7") {
        return folder_ / ("db/" + device + "_data.db");
    }
    void AddDefaultProfiles() {
        for (int i = 1; i <= 5; ++i) {
            ProfileInfo profile;
            profile.name = L"Profile " + std::to_wstring(i);
            ASSERT_EQ(db_.AddProfile(profile), i);
        }
        ASSERT_TRUE(db_.SetActiveProfile(1));
    }

    TempFolder folder_;
    std::wstring dataFolder_;
    DeviceDataDB db_;
};

TEST_F(StoreTest, NewFileGetsTheWholeSchemaAndAnExistingOneIsLeftAsItIs) {
    ASSERT_TRUE(Open());
    EXPECT_TRUE(db_.IsOpened());
    EXPECT_EQ(db_.Path(), FilePath());
    const std::vector<std::string> expected(std::begin(kExpectedSchema), std::end(kExpectedSchema));
    EXPECT_EQ(SchemaOf(FilePath()), expected);
    db_.CloseDeviceDatabase();
    EXPECT_FALSE(db_.IsOpened());

    // An existing file with a table of its own: opening it runs no schema statement.
    const std::string other = FilePath("Old");
    {
        SQLiteDB raw;
        ASSERT_TRUE(raw.Open(other.c_str(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE));
        ASSERT_EQ(raw.Execute("CREATE TABLE t_configdata(x)"), SQLITE_OK);
    }
    ASSERT_TRUE(Open(L"Old"));
    EXPECT_EQ(SchemaOf(other), std::vector<std::string>{"CREATE TABLE t_configdata(x)"});
}

TEST_F(StoreTest, NoModelNameGivesUnderscoreFile) {
    ASSERT_TRUE(db_.OpenDeviceDatabase(dataFolder_, L""));
    EXPECT_TRUE(std::filesystem::exists(folder_ / "db/_data.db"));
}

TEST_F(StoreTest, DefaultProfilesHaveIdsOneToFiveAndTheirRows) {
    ASSERT_TRUE(Open());
    AddDefaultProfiles();
    // Clearing restarts the ids: a second set of profiles again gets 1 to 5.
    db_.ClearAllTables();
    EXPECT_EQ(db_.GetActiveProfile(), 0);
    AddDefaultProfiles();
    EXPECT_EQ(db_.GetActiveProfile(), 1);

    ProfileList profiles;
    ASSERT_EQ(db_.ListProfiles(profiles), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(profiles[i]->profile, i + 1);
        EXPECT_EQ(profiles[i]->status, i == 0 ? 1 : 0);
    }

    const std::pair<const wchar_t*, const wchar_t*> defaults[] = {
        {L"version", L"1.0.1"},
        {L"lightmode", L"3"},
        {L"sleep_light", L"3"},
        {L"wakeup_mode", L"4"},
        {L"report_rate", L"3"},
        {L"button_respondtime", L"8"},
        {L"sensor_flag", L"53"},
        {L"liftoff_height", L"1"},
        {L"scroll_flag", L"1"},
        {L"e-sports_flag", L"1"},
        {L"leftbtn_lock", L"1"},
        {L"dpi_flag", L"4"},
        {L"dpi_index", L"1"},
        {L"dpi_count", L"4"},
        {L"dpi_group0_value", L"1000"},
        {L"dpi_group1_value", L"1600"},
        {L"dpi_group2_value", L"3200"},
        {L"dpi_group3_value", L"5000"},
        {L"dpi_group4_value", L"12000"},
        {L"dpi_group5_value", L"16000"},
        {L"dpi_group0_rgb", L"255"},
        {L"dpi_group1_rgb", L"65280"},
        {L"dpi_group2_rgb", L"16711680"},
        {L"dpi_group3_rgb", L"8388736"},
        {L"dpi_group4_rgb", L"16777215"},
        {L"dpi_group5_rgb", L"16711935"},
    };
    for (int profile = 1; profile <= 5; ++profile) {
        for (const auto& [key, value] : defaults) {
            std::wstring stored;
            EXPECT_TRUE(db_.GetConfigValue(profile, key, stored)) << profile;
            EXPECT_EQ(stored, value) << Quorl::WideToUtf8(key);
        }
    }
    // Exactly these 26 rows, inserted in this order.
    SQLiteStatement query;
    ASSERT_EQ(
        db_.Prepare(query, "SELECT key FROM t_configdata WHERE profile = 3 ORDER BY config_id"),
        SQLITE_OK);
    size_t row = 0;
    while (query.Step() == SQLITE_ROW) {
        ASSERT_LT(row, std::size(defaults));
        EXPECT_EQ(Quorl::Utf8ToWide(query.ColumnText(0)), defaults[row++].first);
    }
    EXPECT_EQ(row, 26u);
}

TEST_F(StoreTest, ConfigValuesOnlyUpdateExistingRows) {
    ASSERT_TRUE(Open());
    AddDefaultProfiles();
    EXPECT_TRUE(db_.SetConfigValue(2, L"dpi_group2_value", L"3350"));
    std::wstring value = L"stale";
    ASSERT_TRUE(db_.GetConfigValue(2, L"dpi_group2_value", value));
    EXPECT_EQ(value, L"3350");
    ASSERT_TRUE(db_.GetConfigValue(1, L"dpi_group2_value", value));
    EXPECT_EQ(value, L"3200") << "other profiles keep theirs";

    EXPECT_TRUE(db_.SetConfigValue(2, L"no_such_key", L"9")) << "an update of nothing succeeds";
    value = L"stale";
    EXPECT_FALSE(db_.GetConfigValue(2, L"no_such_key", value));
    EXPECT_TRUE(value.empty());
}

TEST_F(StoreTest, ProfileNamesAreStoredAsGivenAndShownInTheCurrentLanguage) {
    ASSERT_TRUE(Open());
    AddDefaultProfiles();
    const std::wstring russian = L"\u041F\u0440\u043E\u0444\u0438\u043B\u044C";
    ASSERT_TRUE(db_.RenameProfile(4, russian + L" 4"));
    ASSERT_TRUE(db_.RenameProfile(5, L"Work \u2013 CAD"));

    std::wstring name;
    ASSERT_TRUE(db_.GetProfileName(4, name));
    EXPECT_EQ(name, L"Profile  4");
    SetCurrentLanguageId(1049);
    ASSERT_TRUE(db_.GetProfileName(4, name));
    EXPECT_EQ(name, russian + L" 4") << "its own word is shown as stored";
    ProfileList profiles;
    ASSERT_EQ(db_.ListProfiles(profiles), 5);
    EXPECT_EQ(profiles[0]->name, russian + L"  1");
    EXPECT_EQ(profiles[4]->name, L"Work \u2013 CAD");
    EXPECT_FALSE(db_.GetProfileName(9, name));
    EXPECT_TRUE(name.empty());

    // The stored text never changes, and is UTF-8 in the file.
    SQLiteStatement query;
    ASSERT_EQ(db_.Prepare(query, "SELECT name FROM t_profile_data WHERE profile = 4"), SQLITE_OK);
    ASSERT_EQ(query.Step(), SQLITE_ROW);
    EXPECT_STREQ(query.ColumnText(0), Quorl::WideToUtf8(russian + L" 4").c_str());
}

TEST(ProfileNames, EachLanguageTranslatesTheOthersWords) {
    struct Case {
        int language;
        std::wstring stored;
        std::wstring shown;
    };
    const std::wstring ru = L"\u041F\u0440\u043E\u0444\u0438\u043B\u044C";
    const std::wstring zh = L"\u914D\u7F6E", zhTw = L"\u914D\u5BD8", ja = L"\u30DC\u30BF\u30F3";
    const Case cases[] = {
        {2052, L"Profile 3", zh + L"  3"},
        {1033, L"Profile 3", L"Profile 3"},
        {1041, ru + L" 2", ru + L" 2"},
        {1041, L"Profile 2", ja + L"  2"},
        {1033, ja + L" 1", L"Profile  1"},
        {1028, zh + L" 5", zhTw + L"  5"},
        {1049, zhTw + L"1", ru + L" 1"},
        {1033, L"profile 3", L"profile 3"},  // case matters
        {1031, L"Profile 3", L"Profile 3"},  // other languages show names as stored
        {1033, L"", L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LocaliseProfileName(c.stored, c.language), c.shown) << c.language;
    }
}

TEST_F(StoreTest, BadFilesGiveFailureValuesAndAreNotTouched) {
    struct Case {
        const char* name;
        std::string contents;
    };
    const Case cases[] = {
        {"text", "this is not a database, just some words on a line\n"},
        {"binary", std::string(4096, '\x7f')},
        {"header only", std::string("SQLite format 3\0", 16) + std::string(84, '\0')},
    };
    for (const Case& c : cases) {
        const std::string path = FilePath(c.name);
        WriteFileText(path, c.contents);
        const std::wstring device = Quorl::Utf8ToWide(c.name);
        DeviceDataDB db;
        EXPECT_FALSE(db.OpenDeviceDatabase(dataFolder_, device)) << c.name;
        EXPECT_FALSE(db.IsOpened());
        std::wstring value;
        EXPECT_FALSE(db.GetConfigValue(1, L"dpi_index", value));
        EXPECT_FALSE(db.SetConfigValue(1, L"dpi_index", L"2"));
        EXPECT_EQ(db.AddProfile(ProfileInfo{}), 0);
        EXPECT_EQ(db.GetActiveProfile(), 0);
        ProfileList profiles;
        EXPECT_EQ(db.ListProfiles(profiles), 0);
        EXPECT_EQ(db.AddMacro(L"m"), 0);
        db.ClearAllTables();
        EXPECT_EQ(ReadFileText(path), c.contents) << c.name;
    }
}

TEST_F(StoreTest, TruncatedDatabaseFailsWithoutCrashing) {
    ASSERT_TRUE(Open());
    AddDefaultProfiles();
    for (int i = 0; i < 200; ++i) {
        db_.AddMacro(L"macro " + std::to_wstring(i));
    }
    db_.CloseDeviceDatabase();
    std::filesystem::resize_file(FilePath(), 2048);
    const std::string truncated = ReadFileText(FilePath());

    DeviceDataDB db;
    db.OpenDeviceDatabase(dataFolder_, L"M7");
    ProfileList profiles;
    MacroList macros;
    std::wstring value;
    db.ListProfiles(profiles);
    db.ListMacros(macros);
    db.GetConfigValue(1, L"dpi_index", value);
    EXPECT_LT(macros.size(), 200u) << "nothing beyond the cut can be read back";
    db.CloseDeviceDatabase();
    EXPECT_EQ(ReadFileText(FilePath()), truncated);
}

TEST_F(StoreTest, EmptyFileLeftByAnInterruptedCreationGetsTheSchema) {
    WriteFileText(FilePath(), "");
    ASSERT_TRUE(Open());
    EXPECT_EQ(SchemaOf(FilePath()).size(), std::size(kExpectedSchema));
}

TEST_F(StoreTest, UnwritableFolderLeavesTheStoreClosed) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "root writes into read-only folders";
    }
    chmod((folder_ / "db").c_str(), 0500);
    EXPECT_FALSE(Open());
    EXPECT_FALSE(db_.IsOpened());
    EXPECT_EQ(db_.AddProfile(ProfileInfo{}), 0);
    EXPECT_FALSE(std::filesystem::exists(FilePath()));
}

TEST_F(StoreTest, MissingFolderLeavesTheStoreClosedAndAReopenWorks) {
    std::filesystem::remove(folder_ / "db");
    EXPECT_FALSE(Open());
    EXPECT_EQ(db_.AddProfile(ProfileInfo{}), 0);
    std::filesystem::create_directory(folder_ / "db");
    EXPECT_TRUE(Open());
    EXPECT_EQ(db_.AddProfile(ProfileInfo{}), 1);
}

TEST_F(StoreTest, ResetEmptiesEveryTable) {
    ASSERT_TRUE(Open());
    AddDefaultProfiles();
    const int macro = db_.AddMacro(L"Burst");
    db_.AddMacroEvent(MacroEvent{0, macro, 1, 0, 4, 10, L"A"});
    db_.AddLightMode(LightModeSettings{0, 1, L"Wave", 2});
    db_.SaveButtonAssignment(ButtonAssignment{0, 1, 0, 3, 0, L"", 1, 5, 0, 0, L"x"});
    db_.ResetDeviceDatabase(dataFolder_, L"M7");
    ProfileList profiles;
    MacroList macros;
    MacroEventList events;
    LightModeList lights;
    ButtonAssignmentList buttons;
    EXPECT_EQ(db_.ListProfiles(profiles), 0);
    EXPECT_EQ(db_.ListMacros(macros), 0);
    EXPECT_EQ(db_.ListMacroEvents(macro, events), 0);
    EXPECT_EQ(db_.ListLightModes(1, lights), 0);
    EXPECT_EQ(db_.ListButtonAssignments(1, buttons), 0);
    EXPECT_EQ(db_.AddMacro(L"again"), 1) << "ids restart";
}

}  // namespace
