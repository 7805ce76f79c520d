#include "app/startup/Startup.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/lang/LanguageId.h"
#include "app/settings/Settings.h"
#include "app/startup/Paths.h"
#include "quorl/core/Utf8.h"
#include "tests/support/TempFolder.h"

namespace {

// Every locale variable cleared, then the ones a case sets.
struct LocaleEnvironment {
    ScopedEnv language{"LANGUAGE", std::nullopt};
    ScopedEnv all{"LC_ALL", std::nullopt};
    ScopedEnv messages{"LC_MESSAGES", std::nullopt};
    ScopedEnv lang{"LANG", std::nullopt};
};

TEST(Startup, UserLanguageFollowsTheLocaleVariablesInOrder) {
    struct Case {
        const char* language;
        const char* all;
        const char* messages;
        const char* lang;
        int expected;
    };
    const Case cases[] = {
        {nullptr, nullptr, nullptr, "ru_RU.UTF-8", 1049},
        {nullptr, nullptr, "ru_UA", "en_GB.UTF-8", 1049},
        {nullptr, "en_US.UTF-8", "ru_RU", nullptr, 1033},
        {"ru:en", "en_US.UTF-8", nullptr, nullptr, 1049},
        {"", nullptr, nullptr, "ru", 1049},
        {nullptr, nullptr, nullptr, "zh_CN.UTF-8", 2052},
        {nullptr, nullptr, nullptr, "zh_TW", 1028},
        {nullptr, nullptr, nullptr, "rue_UA", 1033},
        {nullptr, nullptr, nullptr, "C.UTF-8", 0},
        {nullptr, nullptr, nullptr, "POSIX", 0},
        {nullptr, nullptr, nullptr, nullptr, 0},
    };
    for (const Case& c : cases) {
        LocaleEnvironment clean;
        auto opt = [](const char* v) { return v ? std::optional<std::string>(v) : std::nullopt; };
        ScopedEnv a("LANGUAGE", opt(c.language)), b("LC_ALL", opt(c.all)),
            m("LC_MESSAGES", opt(c.messages)), l("LANG", opt(c.lang));
        EXPECT_EQ(UserInterfaceLanguage(), c.expected) << (c.lang ? c.lang : "-");
    }
}

class SettlementTest : public ::testing::Test {
protected:
    std::string SettingsText() { return ReadFileText(folder_ / "config/Talvane/settings.ini"); }
    void StoreLcid(const std::string& text) {
        WriteFileText(folder_ / "config/Talvane/settings.ini", "[Talvane]\nLCID=" + text + "\n");
    }
    TempFolder folder_;
    ScopedEnv config_{"XDG_CONFIG_HOME", folder_ / "config"};
    LocaleEnvironment locale_;
};

TEST_F(SettlementTest, StoredLanguagesAreKeptOrMappedAndWrittenBack) {
    struct Case {
        const char* stored;
        int expected;
    };
    const Case cases[] = {{"1049", 1049},    {"2052", 1033},    {"1041", 1033}, {"0", 1033},
                          {"garbage", 1033}, {"1049xyz", 1049}, {"", 1033}};
    ScopedEnv lang("LANG", "en_US.UTF-8");
    for (const Case& c : cases) {
        StoreLcid(c.stored);
        EXPECT_EQ(SettleLanguage(), c.expected) << c.stored;
        EXPECT_EQ(CurrentLanguageId(), c.expected);
        EXPECT_EQ(SettingsText(), "[Talvane]\nLCID=" + std::to_string(c.expected) + "\n");
    }
    SetCurrentLanguageId(1033);
}

TEST_F(SettlementTest, FirstStartTakesTheLocaleAndCreatesTheFile) {
    {
        ScopedEnv lang("LANG", "ru_RU.UTF-8");
        EXPECT_EQ(SettleLanguage(), 1049);
        EXPECT_EQ(SettingsText(), "[Talvane]\nLCID=1049\n");
    }
    std::filesystem::remove_all(folder_ / "config");
    ScopedEnv lang("LANG", "de_DE.UTF-8");
    EXPECT_EQ(SettleLanguage(), 1033);
    EXPECT_EQ(SettingsText(), "[Talvane]\nLCID=1033\n");
    SetCurrentLanguageId(1033);
}

TEST_F(SettlementTest, UnreadableSettingsGiveEnglishWithoutCreatingAnything) {
    // A folder where the file should be cannot be read as a file.
    std::filesystem::create_directories(folder_ / "config/Talvane/settings.ini");
    EXPECT_EQ(ReadLanguageCode(), 2052);
    EXPECT_EQ(SettleLanguage(), 1033);
    EXPECT_TRUE(std::filesystem::is_directory(folder_ / "config/Talvane/settings.ini"));
}

TEST(Paths, FoldersEndInASlashAndFollowXdg) {
    TempFolder folder;
    ScopedEnv data("XDG_DATA_HOME", folder / "data");
    EXPECT_EQ(GetDataFolder(), Quorl::Utf8ToWide(folder / "data/Talvane/"));
    {
        ScopedEnv relative("XDG_DATA_HOME", "relative/path");
        ScopedEnv home("HOME", folder / "home");
        EXPECT_EQ(GetDataFolder(), Quorl::Utf8ToWide(folder / "home/.local/share/Talvane/"));
    }
    const std::wstring module = GetModuleFolder();
    ASSERT_FALSE(module.empty());
    EXPECT_EQ(module.back(), L'/');
    EXPECT_TRUE(std::filesystem::exists(Quorl::WideToUtf8(module) + "startup_tests"));
}

TEST(Paths, CreateFolderPathCompletesPartlyExistingFolders) {
    TempFolder folder;
    std::filesystem::create_directories(folder / "a/b");
    EXPECT_TRUE(CreateFolderPath(Quorl::Utf8ToWide(folder / "a/b/c/d")));
    EXPECT_TRUE(std::filesystem::is_directory(folder / "a/b/c/d"));
    EXPECT_TRUE(CreateFolderPath(Quorl::Utf8ToWide(folder / "a/b/c/d/")));
    EXPECT_TRUE(CreateFolderPath(Quorl::Utf8ToWide(folder / "a/b")));
    WriteFileText(folder / "file", "x");
    EXPECT_FALSE(CreateFolderPath(Quorl::Utf8ToWide(folder / "file")));
    EXPECT_FALSE(CreateFolderPath(Quorl::Utf8ToWide(folder / "file/sub")));
    EXPECT_FALSE(CreateFolderPath(L""));

    ScopedEnv data("XDG_DATA_HOME", folder / "fresh/data");
    CreateDataFolders();
    EXPECT_TRUE(std::filesystem::is_directory(folder / "fresh/data/Talvane/db"));
}

TEST(Startup, HideSwitchAnywhereInTheCommandLine) {
    const char* plain[] = {"talvane"};
    const char* alone[] = {"talvane", "-hide"};
    const char* inside[] = {"talvane", "--x", "foo-hidebar"};
    const char* other[] = {"talvane", "-hid", "hide"};
    EXPECT_FALSE(HasHideSwitch(1, plain));
    EXPECT_TRUE(HasHideSwitch(2, alone));
    EXPECT_TRUE(HasHideSwitch(3, inside));
    EXPECT_FALSE(HasHideSwitch(3, other));
}

}  // namespace
