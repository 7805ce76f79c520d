// The device worker against a scripted device: what garbage, silence and floods do.

#include <gtest/gtest.h>

#include <filesystem>

#include "app/device/DeviceConnector.h"
#include "app/device/DeviceSession.h"
#include "app/device/DeviceTaskQueue.h"
#include "app/device/DeviceTrace.h"
#include "app/device/FakeHid_test.h"
#include "app/device/RecordingSessionView_test.h"
#include "app/store/DeviceDataDB.h"
#include "quorl/core/Utf8.h"
#include "tests/support/TempFolder.h"

namespace {

Bytes Info(int workMode, bool online) {
    return Answer(
        21, {{0, 0x51}, {1, 0x06}, {10, static_cast<uint8_t>(workMode | (online << 3))}, {11, 60}});
}
Bytes Settings() {
    return Answer(
        21, {{0, 0x51}, {1, 0x07}, {2, 1}, {3, 0x22}, {4, 0x22}, {6, 0x90}, {7, 0x01}, {18, 4}});
}
Bytes MouseState(int workMode, int online, int level, int rate) {
    return Answer(21, {{0, 0x54},
                       {1, 0xE2},
                       {2, static_cast<uint8_t>(workMode)},
                       {3, static_cast<uint8_t>(online)},
                       {5, 50},
                       {6, static_cast<uint8_t>(level)},
                       {7, static_cast<uint8_t>(rate)}});
}

class DeviceSessionFaults : public ::testing::Test {
protected:
    DeviceSessionFaults()
        : hid(nullptr, &clock),
          connector(hid, view, tasks),
          session(hid, db, connector, tasks, view, clock, folder / "macro_flash.dat") {
        SetDeviceTraceHook([](std::string_view) {});
    }
    ~DeviceSessionFaults() override { SetDeviceTraceHook({}); }
    void SetUp() override {
        std::filesystem::create_directories(folder / "db");
        ASSERT_TRUE(db.OpenDeviceDatabase(Quorl::Utf8ToWide(folder.Path() + "/"), L"Veyra"));
        session.InitialiseProfiles();
        connector.SetCurrentType(101);
    }
    void Attach(int mode) {
        hid.AddEntry(FakeEntry(&device, 101, mode));
        hid.SetOpened();
    }
    std::wstring Config(int profile, const wchar_t* key) {
        std::wstring v;
        db.GetConfigValue(profile, key, v);
        return v;
    }

    TempFolder folder;
    FakeSleeper clock;
    HidDeviceManager hid;
    RecordingSessionView view;
    DeviceTaskQueue tasks;
    DeviceConnector connector;
    DeviceDataDB db;
    DeviceSession session;
    FakeDeviceScript device;
};

TEST_F(DeviceSessionFaults, GarbageOrSilenceEndsTheReadAndLeavesTheStoreAsItWas) {
    const Bytes garbage = Answer(21, {{0, 0x51}, {1, 0x99}, {2, 1}});
    const Bytes badProfile = Answer(21, {{0, 0x51}, {1, 0x07}, {2, 9}});
    const Bytes kinds = Answer(65, {{0, 0x52}, {1, 0x61}, {2, 1}, {3, 1}});
    const Bytes button0 = Answer(65, {{0, 0x52}, {1, 0x62}, {5, 1}, {6, 2}});
    const Bytes settings = Settings();
    const std::vector<std::vector<std::optional<Bytes>>> scripts = {
        {garbage},
        {std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
         std::nullopt, std::nullopt, std::nullopt, std::nullopt},
        {Info(0, true), badProfile},
        {Info(0, true), Bytes(settings.begin(), settings.begin() + 12)},  // cut short
        {Info(1, false)},  // the mouse behind the receiver is asleep
        {Info(0, true), settings, kinds, button0, garbage},
    };
    ButtonAssignment kept;
    kept.profile = 2;
    kept.key_code = 1;
    kept.macro_type = 1;
    kept.macro_value = 4;
    db.SaveButtonAssignment(kept);
    Attach(0);
    for (size_t i = 0; i < scripts.size(); ++i) {
        SCOPED_TRACE(i);
        device.gets = {scripts[i].begin(), scripts[i].end()};
        const int profile = session.CurrentProfile();
        const bool lastScript = i + 1 == scripts.size();
        EXPECT_FALSE(session.ReadDeviceState());
        if (!lastScript) {
            EXPECT_EQ(session.CurrentProfile(), profile);
            EXPECT_EQ(Config(2, L"dpi_group0_value"), L"1000");
        }
        ButtonAssignment a;
        EXPECT_TRUE(db.GetButtonAssignment(2, 1, a));  // the half-read buttons went nowhere
        EXPECT_EQ(a.macro_value, 4);
    }
    // The settings of a whole answer went in before the button read failed, into profile 2.
    EXPECT_EQ(Config(2, L"dpi_group0_value"), L"400");
    EXPECT_EQ(Config(2, L"dpi_index"), L"2");
    EXPECT_EQ(Config(2, L"report_rate"), L"2");
    EXPECT_EQ(Config(2, L"button_respondtime"), L"4");
}

TEST_F(DeviceSessionFaults, AFailedWirelessCheckAfterWakingQueuesTaskTwoOnceAtATime) {
    Attach(1);
    connector.SetMouseOnline(false);
    // Awake behind the receiver, then the link check gets no answer.
    device.inputs = {MouseState(1, 1, 0, 3)};
    session.PollDeviceReports();
    EXPECT_TRUE(view.Saw("status 52"));
    EXPECT_EQ(tasks.Size(), 1u);
    EXPECT_EQ(tasks.TryPop(), kTaskArrival);

    // Asleep and awake again while another task waits: nothing more is queued.
    tasks.Push(kTaskSendDpi);
    clock.now += 1000;
    device.inputs = {MouseState(1, 0, 0, 3)};
    session.PollDeviceReports();
    clock.now += 1000;
    device.inputs = {MouseState(1, 1, 0, 3)};
    session.PollDeviceReports();
    EXPECT_EQ(tasks.Size(), 1u);
    EXPECT_EQ(tasks.TryPop(), kTaskSendDpi);
}

TEST_F(DeviceSessionFaults, AFloodOfReportsIsReadAtMostFiveTimesASecond) {
    Attach(0);
    // The mouse is known to be on the cable, so its reports need no exchange.
    session.ApplyMouseState(
        DeviceReports::ParseDeviceReport(MouseState(0, 1, 0, 3).data(), 21)->mouse);
    for (int i = 0; i < 100; ++i) {
        device.inputs.push_back(MouseState(0, 1, i % 4, 3));
    }
    // Passes 30 ms apart for one second read at most five reports.
    const size_t before = device.inputs.size();
    for (int pass = 0; pass < 34; ++pass) {
        session.PollDeviceReports();
        clock.now += 30;
    }
    EXPECT_EQ(before - device.inputs.size(), 5u);
    EXPECT_TRUE(device.sent.empty());
    EXPECT_EQ(db.GetActiveProfile(), 1);
    EXPECT_EQ(Config(1, L"dpi_index"), L"0");  // the level of the fifth report read
}

TEST_F(DeviceSessionFaults, LightingFollowsTheSendMaskAndTheModesColourFunction) {
    Attach(1);
    LightModeSettings light;
    light.profile = session.CurrentProfile();
    light.mode = 3;
    light.brightness = 40;
    light.speed = 2;
    light.color_value = 0x112233;
    light.config_func = 0;
    db.AddLightMode(light);
    session.SetCurrentLightingMode(3);
    const std::pair<int, std::vector<int>> cases[] = {
        {kSendMode, {0x22}},
        {kSendBrightness | kSendColour, {0x23, 0x23}},  // the mode has no colour function
        {kSendSpeed, {0x27, 0x27}},
    };
    for (const auto& [mask, commands] : cases) {
        device.sent.clear();
        session.SetSendMask(mask);
        EXPECT_TRUE(session.SendLighting());
        std::vector<int> sent;
        for (const Bytes& r : device.sent) {
            sent.push_back(r[1]);
        }
        EXPECT_EQ(sent, commands) << mask;
    }
    // A report of the mouse's lighting is stored in its mode's row.
    const Bytes report = Answer(
        21, {{0, 0x54}, {1, 0xE1}, {2, 3}, {4, 5}, {5, 90}, {6, 0x10}, {7, 0x20}, {8, 0x30}});
    device.inputs = {report};
    clock.now += 1000;
    session.PollDeviceReports();
    LightModeSettings row;
    ASSERT_TRUE(db.GetLightMode(session.CurrentProfile(), 3, row));
    EXPECT_EQ(row.brightness, 90);
    EXPECT_EQ(row.speed, 5);
    EXPECT_EQ(row.color_value, 0x302010);
    EXPECT_TRUE(view.Saw("light-mode 3"));
}

}  // namespace
