#include "app/device/DeviceReports.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "app/store/DeviceDataDB.h"
#include "quorl/core/Utf8.h"
#include "tests/support/TempFolder.h"

using namespace DeviceReports;

namespace {

Report Expect(size_t length, std::initializer_list<std::pair<size_t, uint8_t>> bytes) {
    Report r(length, 0);
    for (auto [at, value] : bytes) {
        r[at] = value;
    }
    return r;
}

class ReportsTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(folder / "db");
        ASSERT_TRUE(db.OpenDeviceDatabase(Quorl::Utf8ToWide(folder.Path() + "/"), L"Veyra"));
        ProfileInfo p;
        p.name = L"Profile 1";
        profile = db.AddProfile(p);
        ASSERT_EQ(profile, 1);
    }
    void Set(const wchar_t* key, const wchar_t* value) {
        ASSERT_TRUE(db.SetConfigValue(profile, key, value));
    }
    void Assign(int button, int kind, int value, int value2 = 0) {
        ButtonAssignment a;
        a.profile = profile;
        a.key_code = button;
        a.macro_type = kind;
        a.macro_value = value;
        a.macro_value2 = value2;
        db.SaveButtonAssignment(a);
    }
    TempFolder folder;
    DeviceDataDB db;
    int profile = 0;
};

TEST_F(ReportsTest, BuildersTakeTheirValuesFromTheStore) {
    Set(L"dpi_index", L"2");
    Set(L"dpi_count", L"5");
    Set(L"dpi_group0_value", L"400");
    Set(L"dpi_group1_value", L"800");
    Set(L"dpi_group2_value", L"3200");
    Set(L"dpi_group3_value", L"6400");
    Set(L"dpi_group4_value", L"12000");
    Set(L"report_rate", L"4");
    Set(L"sensor_flag", L"20");  // 0x04 and 0x10
    Set(L"liftoff_height", L"2");
    Set(L"scroll_flag", L"2");
    Set(L"e-sports_flag", L"1");
    Set(L"button_respondtime", L"12");
    Set(L"wakeup_mode", L"3");
    const std::initializer_list<std::pair<size_t, uint8_t>> dpiValues = {
        {5, 0x90},  {6, 0x01},  {7, 0x20},  {8, 0x03},  {9, 0x80}, {10, 0x0C},
        {11, 0x00}, {12, 0x19}, {13, 0xE0}, {14, 0x2E}, {15, 5}};
    auto dpi = [&](uint8_t b2, uint8_t b3, uint8_t b4) {
        Report r = Expect(21, dpiValues);
        r[0] = 0x51, r[1] = 0x40, r[2] = b2, r[3] = b3, r[4] = b4;
        return r;
    };
    struct Case {
        const char* name;
        std::function<Report()> build;
        Report expected;
    };
    const Case cases[] = {
        {"dpi cable", [&] { return BuildDpiSettings(db, profile, 0); }, dpi(2, 0xFF, 0xFF)},
        {"dpi receiver", [&] { return BuildDpiSettings(db, profile, 1); }, dpi(0xFF, 2, 0xFF)},
        {"dpi second receiver", [&] { return BuildDpiSettings(db, profile, 3); },
         dpi(0xFF, 2, 0xFF)},
        {"dpi bluetooth", [&] { return BuildDpiSettings(db, profile, 2); }, dpi(0xFF, 0xFF, 2)},
        {"rate receiver", [&] { return BuildReportRate(db, profile, 1); },
         Expect(21, {{0, 0x51},
                     {1, 0x41},
                     {2, 0xFF},
                     {3, 4},
                     {4, 0xFF},
                     {5, 125},
                     {7, 0xF4},
                     {8, 0x01},
                     {9, 0xE8},
                     {10, 0x03}})},
        {"sensor", [&] { return BuildSensorSettings(db, profile); },
         Expect(21, {{0, 0x51}, {1, 0x42}, {2, 2}, {3, 1}, {4, 2}, {5, 1}, {7, 2}, {8, 1}})},
        {"debounce", [&] { return BuildDebounceTime(db, profile); },
         Expect(21, {{0, 0x51}, {1, 0x43}, {2, 12}})},
        {"wake-up", [&] { return BuildWakeupMode(db, profile); },
         Expect(21, {{0, 0x51}, {1, 0x47}, {2, 3}})},
        {"paired ids", [] { return BuildPairedIdsQuery(); }, Expect(21, {{0, 0x51}, {1, 0x03}})},
        {"firmware of the mouse behind a receiver", [] { return BuildFirmwareVersionQuery(true); },
         Expect(21, {{0, 0x51}, {1, 0x04}, {2, 0xAA}})},
        {"firmware", [] { return BuildFirmwareVersionQuery(false); },
         Expect(21, {{0, 0x51}, {1, 0x04}})},
        {"device info", [] { return BuildDeviceInfoQuery(); }, Expect(21, {{0, 0x51}, {1, 0x06}})},
        {"device settings", [] { return BuildDeviceSettingsQuery(); },
         Expect(21, {{0, 0x51}, {1, 0x07}})},
        {"restore buttons", [] { return BuildRestoreDefaults(1); },
         Expect(64, {{0, 0x51}, {1, 0x0B}, {2, 0x01}, {3, 0x01}})},
        {"factory reset", [] { return BuildFactoryReset(); },
         Expect(64, {{0, 0x51}, {1, 0x0B}, {2, 0xAA}})},
        {"wireless link", [] { return BuildCheckWirelessLink(); },
         Expect(21, {{0, 0x51}, {1, 0x0C}, {2, 0x02}})},
        {"lighting info", [] { return BuildLightingInfoQuery(); },
         Expect(21, {{0, 0x51}, {1, 0x12}})},
        {"lighting mode", [] { return BuildLightingMode(3); },
         Expect(21, {{0, 0x51}, {1, 0x22}, {2, 1}, {3, 3}})},
        {"brightness", [] { return BuildLightingBrightness(3, 80); },
         Expect(21, {{0, 0x51}, {1, 0x23}, {2, 1}, {3, 3}, {4, 80}})},
        {"speed", [] { return BuildLightingSpeed(2, 4); },
         Expect(21, {{0, 0x51}, {1, 0x27}, {2, 1}, {3, 2}, {4, 4}})},
        {"colour low byte first", [] { return BuildLightingColour(1, 0x00123456u); },
         Expect(21, {{0, 0x51}, {1, 0x28}, {2, 1}, {3, 1}, {4, 0x56}, {5, 0x34}, {6, 0x12}})},
        {"button function",
         [] {
             return BuildButtonFunction(5, {2, 3, 4});
         },
         Expect(65, {{0, 0x52}, {1, 0x52}, {2, 5}, {4, 2}, {5, 3}, {6, 4}})},
        {"button reset", [] { return BuildButtonFunction(7, {}); },
         Expect(65, {{0, 0x52}, {1, 0x52}, {2, 7}})},
        {"button kinds", [] { return BuildButtonKindsQuery(); },
         Expect(65, {{0, 0x52}, {1, 0x61}})},
        {"one button", [] { return BuildButtonFunctionQuery(9); },
         Expect(65, {{0, 0x52}, {1, 0x62}, {2, 9}})},
        {"macro name", [] { return BuildMacroNameQuery(3); },
         Expect(65, {{0, 0x52}, {1, 0x63}, {2, 3}})},
        {"button macro", [] { return BuildButtonMacroQuery(3, false); },
         Expect(65, {{0, 0x52}, {1, 0x65}, {2, 3}})},
        {"button macro continued", [] { return BuildButtonMacroQuery(3, true); },
         Expect(65, {{0, 0x52}, {1, 0x65}, {2, 3}, {4, 0xFF}, {5, 0xFF}})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.build(), c.expected);
    }
}

TEST_F(ReportsTest, WriteProfileLeavesOutLongFunctionsAndStopsAtElevenEntries) {
    Set(L"report_rate", L"3");
    Set(L"dpi_index", L"1");
    Set(L"sensor_flag", L"53");  // 0x35: 0x04 and 0x10 of the switch bits, and others
    Set(L"liftoff_height", L"1");
    Set(L"scroll_flag", L"2");
    Set(L"e-sports_flag", L"2");
    Set(L"button_respondtime", L"8");
    Assign(0, 1, 1);
    Assign(1, 4, 3);         // macro
    Assign(2, 7, 1026, 30);  // fire key
    Assign(3, 8, 8);         // system code 8
    Assign(4, 8, 3);         // a short system code
    for (int button = 5; button < 16; ++button) {
        Assign(button, 2, button, 1);
    }
    auto encode = [](const ButtonAssignment& a, std::array<uint8_t, 7>& bytes) {
        bytes = {static_cast<uint8_t>(a.macro_type), static_cast<uint8_t>(a.macro_value),
                 static_cast<uint8_t>(a.macro_value2), 0x77, 0x99};
    };
    int pauses = 0;
    Report r = BuildWriteProfile(db, profile, encode, [&] { ++pauses; });
    ASSERT_EQ(r.size(), 65u);
    EXPECT_EQ(r[0], 0x52);
    EXPECT_EQ(r[1], 0x57);
    EXPECT_EQ(r[2], 0);
    EXPECT_EQ(r[3], 0x31);
    EXPECT_EQ(r[4], 0x31);
    EXPECT_EQ(r[5], 0x31);
    EXPECT_EQ(r[6], 0xE8);  // 1000
    EXPECT_EQ(r[7], 0x03);
    EXPECT_EQ(r[14], 0xE0);  // 12000
    EXPECT_EQ(r[15], 0x2E);
    EXPECT_EQ(r[16], 0);
    EXPECT_EQ(r[17], 0x01 | 0x04 | 0x10 | 0x40 | 0x80);
    EXPECT_EQ(r[18], 8);
    EXPECT_EQ(r[19], 0);
    const uint8_t first[] = {0x01, 1, 0, 0x77};
    const uint8_t second[] = {0x48, 3, 0, 0x77};
    EXPECT_TRUE(std::equal(first, first + 4, r.begin() + 20));
    EXPECT_TRUE(std::equal(second, second + 4, r.begin() + 24));
    EXPECT_EQ(r[28], 0x52);  // button 5, kind 2
    EXPECT_EQ(r[60], 0xD2);  // the eleventh entry: button 13
    EXPECT_EQ(pauses, 11);
}

TEST_F(ReportsTest, WriteProfileMarksUnfilledEntries) {
    Report r = BuildWriteProfile(db, profile, [](const ButtonAssignment&, auto&) {});
    for (int entry = 0; entry < 11; ++entry) {
        EXPECT_EQ(r[20 + 4 * entry], 0xF0);
        EXPECT_EQ(r[21 + 4 * entry], 0);
    }
}

TEST(ReportParsers, DeviceInfoAndSettings) {
    Report info =
        Expect(21, {{0, 0x51}, {1, 0x06}, {2, 0x34}, {3, 0x12}, {10, 0x09}, {11, 77}, {12, 1}});
    auto parsed = ParseDeviceInfo(info.data(), info.size());
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->value2, 0x1234);
    EXPECT_EQ(parsed->work_mode, 1);
    EXPECT_TRUE(parsed->online);
    EXPECT_EQ(parsed->battery_level, 77);
    EXPECT_EQ(parsed->charging, 1);

    Report settings = Expect(21, {{0, 0x51},
                                  {1, 0x07},
                                  {2, 2},
                                  {3, 0x31},
                                  {4, 0x42},
                                  {5, 0x13},
                                  {6, 0x90},
                                  {7, 0x01},
                                  {16, 0x5D},
                                  {17, 4},
                                  {18, 9}});
    auto s = ParseDeviceSettings(settings.data(), settings.size());
    ASSERT_TRUE(s);
    EXPECT_EQ(s->profile_index, 2);
    EXPECT_EQ(s->dpi[0], 400);
    EXPECT_EQ(s->Level(0), 1);
    EXPECT_EQ(s->RateCode(0), 3);
    EXPECT_EQ(s->Level(3), 2);
    EXPECT_EQ(s->RateCode(2), 1);
    EXPECT_FALSE(s->Level(5));  // no per-connection byte for work mode 5
    EXPECT_FALSE(s->RateCode(5));
    EXPECT_EQ(s->sensor, 0x5D);
    EXPECT_EQ(s->debounce, 9);
}

TEST(ReportParsers, RejectShortOrForeignAnswers) {
    Report info = Expect(21, {{0, 0x51}, {1, 0x06}});
    EXPECT_FALSE(ParseDeviceInfo(info.data(), 12));
    Report wrong = Expect(21, {{0, 0x51}, {1, 0x07}});
    EXPECT_FALSE(ParseDeviceInfo(wrong.data(), wrong.size()));
    EXPECT_FALSE(ParseDeviceSettings(wrong.data(), 19));
    Report badProfile = Expect(21, {{0, 0x51}, {1, 0x07}, {2, 5}});
    EXPECT_FALSE(ParseDeviceSettings(badProfile.data(), badProfile.size()));
    Report light = Expect(21, {{0, 0x51}, {1, 0x12}, {2, 1}, {3, 9}, {4, 2}});
    EXPECT_EQ(ParseLightingInfo(light.data(), light.size())->mode_count, 9);
    EXPECT_FALSE(ParseLightingInfo(light.data(), 4));
    Report kinds = Expect(65, {{0, 0x52}, {1, 0x61}, {2, 1}, {17, 4}});
    EXPECT_EQ((*ParseButtonKinds(kinds.data(), kinds.size()))[15], 4);
    EXPECT_FALSE(ParseButtonKinds(kinds.data(), 17));
    Report one = Expect(65, {{0, 0x52}, {1, 0x62}, {5, 2}, {10, 6}});
    EXPECT_EQ((*ParseButtonFunction(one.data(), one.size()))[5], 6);
    EXPECT_FALSE(ParseButtonFunction(one.data(), 10));
}

TEST(ReportParsers, LengthBytesAreBoundedByTheReport) {
    // Firmware version: n bytes from byte 3, at most 18 and never past the report.
    Report fw = Expect(21, {{0, 0x51}, {1, 0x04}, {2, 4}, {3, '1'}, {4, '.'}, {5, '2'}, {6, '3'}});
    EXPECT_EQ(ParseFirmwareVersion(fw.data(), fw.size()), "1.23");
    fw[2] = 0;
    EXPECT_EQ(ParseFirmwareVersion(fw.data(), fw.size()), "");
    fw[2] = 0xFF;
    EXPECT_EQ(ParseFirmwareVersion(fw.data(), 5), "1.");
    for (size_t i = 3; i < 21; ++i) {
        fw[i] = 'x';
    }
    EXPECT_EQ(ParseFirmwareVersion(fw.data(), fw.size()).size(), 18u);

    Report name = Expect(65, {{0, 0x52}, {1, 0x63}, {3, 200}});
    for (size_t i = 4; i < 65; ++i) {
        name[i] = 'n';
    }
    EXPECT_EQ(ParseMacroName(name.data(), name.size()).size(), 61u);
    EXPECT_EQ(ParseMacroName(name.data(), 10).size(), 6u);

    Report macro = Expect(65, {{0, 0x52}, {1, 0x65}, {3, 1}, {6, 58}});
    auto packet = ParseButtonMacroPacket(macro.data(), macro.size());
    ASSERT_TRUE(packet);
    EXPECT_TRUE(packet->more);
    EXPECT_EQ(packet->data.size(), 58u);
    macro[6] = 59;
    EXPECT_FALSE(ParseButtonMacroPacket(macro.data(), macro.size()));
    macro[6] = 30;
    EXPECT_FALSE(ParseButtonMacroPacket(macro.data(), 21));  // fewer bytes than announced
}

TEST(ReportParsers, DeviceReports) {
    Report e2 = Expect(21, {{0, 0x54}, {1, 0xE2}, {2, 1}, {3, 1}, {4, 1}, {5, 80}, {6, 3}, {7, 2}});
    auto r = ParseDeviceReport(e2.data(), e2.size());
    ASSERT_TRUE(r);
    EXPECT_EQ(r->mouse.battery_level, 80);
    EXPECT_EQ(r->mouse.dpi_level, 3);
    EXPECT_EQ(r->mouse.rate_code, 2);
    EXPECT_FALSE(ParseDeviceReport(e2.data(), 9));
    Report e1 = Expect(
        21,
        {{0, 0x54}, {1, 0xE1}, {2, 4}, {4, 2}, {5, 90}, {6, 0x11}, {7, 0x22}, {8, 0x33}, {12, 7}});
    r = ParseDeviceReport(e1.data(), e1.size());
    ASSERT_TRUE(r);
    EXPECT_EQ(r->lighting.colour, 0x332211u);
    EXPECT_EQ(r->lighting.brightness, 90);
    EXPECT_EQ(r->lighting.kept[3], 7);
    EXPECT_FALSE(ParseDeviceReport(e1.data(), 12));
    Report e4 = Expect(21, {{0, 0x54}, {1, 0xE4}, {2, 2}});
    EXPECT_EQ(ParseDeviceReport(e4.data(), e4.size())->status, 2);
    Report other = Expect(21, {{0, 0x53}, {1, 0xE2}});
    EXPECT_FALSE(ParseDeviceReport(other.data(), other.size()));
    other[0] = 0x54, other[1] = 0xE5;
    EXPECT_FALSE(ParseDeviceReport(other.data(), other.size()));
}

}  // namespace
