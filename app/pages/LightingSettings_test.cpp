#include "app/pages/LightingSettings.h"

#include "app/pages/PagesStore_test.h"

namespace {

using LightingTest = PagesStoreTest;

LightModeSettings Mode(DeviceDataDB& db, int profile, int mode) {
    LightModeSettings light;
    EXPECT_TRUE(db.GetLightMode(profile, mode, light)) << mode;
    return light;
}

TEST_F(LightingTest, AProfileGetsTheSevenModesWithModeThreeActive) {
    EXPECT_EQ(db_.CountLightModes(1), 0);
    const LightingValues values = ReadLighting(db_, 1);
    ASSERT_EQ(values.modes.size(), 7u);
    EXPECT_EQ(values.activeMode, 3);
    EXPECT_EQ(values.modes[1]->config_func, 17);
    EXPECT_EQ(values.modes[1]->reserved, 281);
    EXPECT_EQ(values.modes[1]->color_value, 255);
    EXPECT_TRUE(EnsureLightModes(db_, 1));
    EXPECT_EQ(db_.CountLightModes(1), 7);  // not created twice
}

TEST_F(LightingTest, ModeChangeSendsTheWholeEffect) {
    struct Case {
        int mode;
        int mask;
    };
    // Mode 0 has nothing but the mode; the colour bit is always there and the worker sends the
    // colour only for modes that have one.
    for (const Case c : {Case{0, 0x11}, Case{1, 0x13}, Case{2, 0x17}, Case{3, 0x17}}) {
        const PageResult result = SetLightingMode(db_, 1, c.mode);
        ASSERT_TRUE(result.ok) << c.mode;
        ASSERT_EQ(Codes(result), std::vector<int>{8});
        EXPECT_EQ(result.tasks[0].sendMask, c.mask) << c.mode;
        EXPECT_EQ(result.tasks[0].lightingMode, c.mode);
        EXPECT_EQ(db_.GetActiveLightMode(1), c.mode);
    }
}

TEST_F(LightingTest, ChangesGoToTheActiveModeWithTheirMask) {
    ASSERT_TRUE(SetLightingMode(db_, 1, 2).ok);
    PageResult result = SetLightBrightness(db_, 1, 40);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.tasks[0].sendMask, 0x02);
    result = SetLightSpeed(db_, 1, 9);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.tasks[0].sendMask, 0x04);
    result = SetLightColour(db_, 1, 255, 0, 0);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.tasks[0].sendMask, 0x10);
    EXPECT_EQ(result.value, 255);  // pure red is 0x0000FF
    ASSERT_TRUE(SetLightColour(db_, 1, 1, 2, 3).ok);

    const LightModeSettings light = Mode(db_, 1, 2);
    EXPECT_EQ(light.brightness, 40);
    EXPECT_EQ(light.speed, 9);
    EXPECT_EQ(light.color_value, 1 + 2 * 256 + 3 * 65536);
    EXPECT_EQ(light.config_func, 19);
    EXPECT_EQ(Mode(db_, 1, 5).brightness, 255);  // other modes keep theirs

    // The reset selects mode 3 and keeps what was stored.
    result = ResetLighting(db_, 1);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(db_.GetActiveLightMode(1), 3);
    EXPECT_EQ(Mode(db_, 1, 2).brightness, 40);
}

TEST_F(LightingTest, RefusalsStoreNothing) {
    ASSERT_TRUE(SetLightingMode(db_, 1, 3).ok);  // brightness and speed, no colour
    const std::string before = Snapshot();
    struct Case {
        PageResult result;
        const wchar_t* mentions;
    };
    const Case cases[] = {
        {SetLightingMode(db_, 1, 7), L"0-6"},
        {SetLightingMode(db_, 1, -1), L"0-6"},
        {SetLightBrightness(db_, 1, 256), L"0-255"},
        {SetLightSpeed(db_, 1, -1), L"0-255"},
        {SetLightColour(db_, 1, 0, 300, 0), L"green must be 0-255"},
        {SetLightColour(db_, 1, 10, 20, 30), L"has no colour"},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(c.result.ok);
        EXPECT_NE(c.result.message.find(c.mentions), std::wstring::npos)
            << Quorl::WideToUtf8(c.result.message);
    }
    EXPECT_EQ(Snapshot(), before);

    ASSERT_TRUE(SetLightingMode(db_, 1, 0).ok);
    const PageResult off = SetLightBrightness(db_, 1, 10);
    EXPECT_FALSE(off.ok);
    EXPECT_NE(off.message.find(L"no brightness"), std::wstring::npos);
}

}  // namespace
