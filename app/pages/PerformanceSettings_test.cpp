#include "app/pages/PerformanceSettings.h"

#include <functional>

#include "app/pages/PagesStore_test.h"

namespace {

using PerformanceTest = PagesStoreTest;

TEST_F(PerformanceTest, DpiValueIsClampedRoundedDownStoredAndMadeActive) {
    struct Case {
        int typed;
        int stored;
    };
    for (const Case c : {Case{99, 100}, Case{-5, 100}, Case{12345, 12000}, Case{1234, 1200},
                         Case{1200, 1200}, Case{149, 100}, Case{151, 150}}) {
        const PageResult result = SetDpiLevelValue(db_, 1, 3, c.typed);
        ASSERT_TRUE(result.ok) << c.typed;
        EXPECT_EQ(result.value, c.stored) << c.typed;
        EXPECT_EQ(Config(1, L"dpi_group2_value"), std::to_wstring(c.stored)) << c.typed;
        EXPECT_EQ(Config(1, L"dpi_index"), L"2");
        EXPECT_EQ(Codes(result), std::vector<int>{9});
    }
}

TEST_F(PerformanceTest, AcceptedValuesAreStoredWithTheirTask) {
    struct Case {
        const char* what;
        std::function<PageResult(DeviceDataDB&)> apply;
        const wchar_t* key;
        const wchar_t* stored;
        int task;
    };
    const Case cases[] = {
        {"125 Hz", [](auto& db) { return SetReportRate(db, 1, 125); }, L"report_rate", L"0", 10},
        {"250 Hz", [](auto& db) { return SetReportRate(db, 1, 250); }, L"report_rate", L"1", 10},
        {"500 Hz", [](auto& db) { return SetReportRate(db, 1, 500); }, L"report_rate", L"2", 10},
        {"1000 Hz", [](auto& db) { return SetReportRate(db, 1, 1000); }, L"report_rate", L"3", 10},
        {"lift-off", [](auto& db) { return SetLiftOff(db, 1, 2); }, L"liftoff_height", L"2", 11},
        {"scroll", [](auto& db) { return SetScrollOption(db, 1, 2); }, L"scroll_flag", L"2", 11},
        {"e-sports on", [](auto& db) { return SetESports(db, 1, true); }, L"e-sports_flag", L"2",
         11},
        {"e-sports off", [](auto& db) { return SetESports(db, 1, false); }, L"e-sports_flag", L"1",
         11},
        {"debounce", [](auto& db) { return SetDebounce(db, 1, 7); }, L"button_respondtime", L"7",
         12},
        {"debounce max", [](auto& db) { return SetDebounce(db, 1, 20); }, L"button_respondtime",
         L"20", 12},
        {"active level", [](auto& db) { return SetActiveDpiLevel(db, 1, 4); }, L"dpi_index", L"3",
         9},
    };
    for (const Case& c : cases) {
        const PageResult result = c.apply(db_);
        ASSERT_TRUE(result.ok) << c.what;
        EXPECT_EQ(Config(1, c.key), c.stored) << c.what;
        EXPECT_EQ(Codes(result), std::vector<int>{c.task}) << c.what;
    }
}

TEST_F(PerformanceTest, RefusalsNameTheRangeAndStoreNothing) {
    struct Case {
        std::function<PageResult(DeviceDataDB&)> apply;
        const wchar_t* mentions;
    };
    const Case cases[] = {
        {[](auto& db) { return SetDpiLevelValue(db, 1, 5, 800); }, L"1-4"},  // 4 levels in use
        {[](auto& db) { return SetDpiLevelValue(db, 1, 0, 800); }, L"1-4"},
        {[](auto& db) { return SetActiveDpiLevel(db, 1, 5); }, L"1-4"},
        {[](auto& db) { return SetDpiLevelCount(db, 1, 0); }, L"1-5"},
        {[](auto& db) { return SetDpiLevelCount(db, 1, 6); }, L"1-5"},
        {[](auto& db) { return SetReportRate(db, 1, 300); }, L"125, 250, 500 or 1000"},
        {[](auto& db) { return SetLiftOff(db, 1, 3); }, L"1 or 2"},
        {[](auto& db) { return SetSensorOption(db, 1, 4, true); }, L"1-3"},
        {[](auto& db) { return SetSensorOption(db, 1, 3, false); }, L"always on"},
        {[](auto& db) { return SetScrollOption(db, 1, 0); }, L"1 or 2"},
        {[](auto& db) { return SetDebounce(db, 1, 21); }, L"0-20"},
        {[](auto& db) { return SetDebounce(db, 1, -1); }, L"0-20"},
        {[](auto& db) { return SetWakeupOption(db, 1, 3, true); }, L"1 or 2"},
        {[](auto& db) { return SetDebounce(db, 9, 5); }, L"1-5"},  // no profile 9
    };
    const std::string before = Snapshot();
    for (const Case& c : cases) {
        const PageResult result = c.apply(db_);
        EXPECT_FALSE(result.ok) << Quorl::WideToUtf8(c.mentions);
        EXPECT_FALSE(result.storeFailed);
        EXPECT_TRUE(result.tasks.empty());
        EXPECT_NE(result.message.find(c.mentions), std::wstring::npos)
            << Quorl::WideToUtf8(result.message);
    }
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(PerformanceTest, LevelCountPullsTheActiveLevelIntoRange) {
    ASSERT_TRUE(SetDpiLevelCount(db_, 1, 5).ok);
    ASSERT_TRUE(SetActiveDpiLevel(db_, 1, 5).ok);
    const PageResult result = SetDpiLevelCount(db_, 1, 3);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(Config(1, L"dpi_count"), L"3");
    EXPECT_EQ(Config(1, L"dpi_index"), L"2");
    EXPECT_EQ(Codes(result), std::vector<int>{9});

    ASSERT_TRUE(SetDpiLevelCount(db_, 1, 5).ok);
    EXPECT_EQ(Config(1, L"dpi_index"), L"2");  // a larger count keeps the level
}

TEST_F(PerformanceTest, DpiResetRestoresTheDefaults) {
    ASSERT_TRUE(SetDpiLevelCount(db_, 1, 2).ok);
    ASSERT_TRUE(SetDpiLevelValue(db_, 1, 1, 400).ok);
    const PageResult result = ResetDpi(db_, 1);
    ASSERT_TRUE(result.ok);
    const PerformanceValues v = ReadPerformanceValues(db_, 1);
    EXPECT_EQ(v.dpiValues, (std::array<int, 5>{1000, 1600, 3200, 5000, 12000}));
    EXPECT_EQ(v.dpiCount, 4);
    EXPECT_EQ(v.dpiIndex, 1);
    EXPECT_EQ(Codes(result), std::vector<int>{9});
    ASSERT_TRUE(SetReportRate(db_, 1, 125).ok);
    EXPECT_EQ(Codes(ResetReportRate(db_, 1)), std::vector<int>{10});
    EXPECT_EQ(Config(1, L"report_rate"), L"3");
}

TEST_F(PerformanceTest, OptionBitsFollowThePage) {
    // Default sensor_flag 53 shows options 1 and 3; turning 1 off stores only the third bit.
    PerformanceValues v = ReadPerformanceValues(db_, 1);
    EXPECT_EQ(v.sensorOptions, (std::array<bool, 3>{true, false, true}));
    PageResult result = SetSensorOption(db_, 1, 1, false);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(Config(1, L"sensor_flag"), L"16");
    EXPECT_EQ(Codes(result), std::vector<int>{11});
    ASSERT_TRUE(SetSensorOption(db_, 1, 2, true).ok);
    EXPECT_EQ(Config(1, L"sensor_flag"), L"24");

    // wakeup_mode 5 shows both options; option 1 (bit 4) off stores 1.
    ASSERT_TRUE(db_.SetConfigValue(1, L"wakeup_mode", L"5"));
    v = ReadPerformanceValues(db_, 1);
    EXPECT_EQ(v.wakeupOptions, (std::array<bool, 2>{true, true}));
    result = SetWakeupOption(db_, 1, 1, false);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(Config(1, L"wakeup_mode"), L"1");
    EXPECT_EQ(Codes(result), std::vector<int>{13});
}

TEST_F(PerformanceTest, AnotherProfileIsStoredButNotSent) {
    const PageResult result = SetDpiLevelValue(db_, 2, 1, 800);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(Config(2, L"dpi_group0_value"), L"800");
    EXPECT_EQ(Config(1, L"dpi_group0_value"), L"1000");
    EXPECT_TRUE(result.tasks.empty());
}

TEST_F(PerformanceTest, LeftButtonLockIsStoredWithoutATask) {
    EXPECT_TRUE(ReadPerformanceValues(db_, 1).leftButtonLocked);
    const PageResult result = SetLeftButtonLock(db_, 1, false);
    ASSERT_TRUE(result.ok);
    EXPECT_TRUE(result.tasks.empty());
    EXPECT_EQ(Config(1, L"leftbtn_lock"), L"0");
}

TEST_F(PerformanceTest, ClosedStoreIsAStoreFailure) {
    db_.CloseDeviceDatabase();
    const PageResult result = SetDebounce(db_, 1, 5);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.storeFailed);
}

}  // namespace
