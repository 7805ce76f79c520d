#include "app/settings/Settings.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/platform/XdgPaths.h"
#include "app/startup/IniFile.h"
#include "tests/support/TempFolder.h"

namespace {

class SettingsTest : public ::testing::Test {
protected:
    std::string SettingsPath() { return folder_ / "config/Talvane/settings.ini"; }
    TempFolder folder_;
    ScopedEnv config_{"XDG_CONFIG_HOME", folder_ / "config"};
};

TEST_F(SettingsTest, OnlyTheLanguageReaderCreatesTheFile) {
    WriteDeviceType(101);
    WriteLanguageCode(1049);
    EXPECT_EQ(ReadDeviceType(), 0);
    EXPECT_FALSE(std::filesystem::exists(SettingsPath()));

    EXPECT_EQ(ReadLanguageCode(), 0);
    ASSERT_TRUE(std::filesystem::exists(SettingsPath()));
    WriteLanguageCode(1049);
    WriteDeviceType(102);
    WriteDeviceType(101);
    EXPECT_EQ(ReadLanguageCode(), 1049);
    EXPECT_EQ(ReadDeviceType(), 101);
    EXPECT_EQ(ReadFileText(SettingsPath()), "[Talvane]\nLCID=1049\nDeviceType=101\n");
}

TEST_F(SettingsTest, GarbageValuesReadByTheirLeadingDigits) {
    WriteFileText(SettingsPath(), "[Talvane]\nLCID=1049 and letters\nDeviceType=x101\n");
    EXPECT_EQ(ReadLanguageCode(), 1049);
    EXPECT_EQ(ReadDeviceType(), 0);

    const std::pair<const wchar_t*, int> cases[] = {
        {L"1049abc", 1049}, {L"abc", 0}, {L"", 0},     {L"  42", 42},
        {L"-7", -7},        {L"+8x", 8}, {L"0x65", 0}, {L"99999999999999", 2147483647},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(LeadingDecimal(text), value);
    }
}

TEST_F(SettingsTest, WritesKeepOtherLinesOfTheFile) {
    WriteFileText(SettingsPath(), "[Talvane]\nLCID=1033\nWheelLines=3\n[Window]\nx=10\n");
    WriteDeviceType(102);
    EXPECT_EQ(ReadFileText(SettingsPath()),
              "[Talvane]\nLCID=1033\nWheelLines=3\nDeviceType=102\n[Window]\nx=10\n");
}

TEST_F(SettingsTest, AutostartEntryRunsThisProgramHidden) {
    EXPECT_FALSE(IsAutostartOn());
    SetAutostart(true);
    ASSERT_TRUE(IsAutostartOn());
    const std::string entry = ReadFileText(folder_ / "config/autostart/Talvane.desktop");
    const IniDocument desktop = IniDocument::Parse(entry);
    const std::wstring* exec = desktop.Find(L"Desktop Entry", L"Exec");
    ASSERT_NE(exec, nullptr);
    const std::string program = ExecutablePath();
    EXPECT_EQ(*exec, L"\"" + std::wstring(program.begin(), program.end()) + L"\" -hide");
    EXPECT_NE(entry.find("Type=Application\n"), std::string::npos);

    // The switch shows on after a restart exactly when the entry is there and not hidden.
    WriteFileText(folder_ / "config/autostart/Talvane.desktop", entry + "Hidden=true\n");
    EXPECT_FALSE(IsAutostartOn());
    SetAutostart(false);
    EXPECT_FALSE(std::filesystem::exists(folder_ / "config/autostart/Talvane.desktop"));
    EXPECT_FALSE(IsAutostartOn());
}

TEST(Autostart, ExecLineEscapesWhatDesktopEntriesReserve) {
    EXPECT_EQ(AutostartExecLine("/opt/my apps/talvane"), "\"/opt/my apps/talvane\" -hide");
    EXPECT_EQ(AutostartExecLine("/a\"b`c$d\\e%f"), "\"/a\\\\\"b\\\\`c\\\\$d\\\\\\\\e%%f\" -hide");
}

}  // namespace
