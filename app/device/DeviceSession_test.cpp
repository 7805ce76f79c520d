// The device worker against a running talvane-virtual-mouse: the store, the mouse's report log
// and the calls the pages would get.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "app/device/DeviceConnector.h"
#include "app/device/DeviceReports.h"
#include "app/device/DeviceSession.h"
#include "app/device/DeviceTaskQueue.h"
#include "app/device/HidDeviceManager.h"
#include "app/device/ModeEntries_test.h"
#include "app/device/RecordingSessionView_test.h"
#include "app/device/VirtualHidBackend.h"
#include "app/device/VirtualMouseProcess_test.h"
#include "app/pages/ButtonFunctions.h"
#include "app/store/DeviceDataDB.h"
#include "quorl/core/Utf8.h"
#include "tests/support/TempFolder.h"

namespace {

using namespace DeviceReports;

std::string Hex(const Report& r) {
    std::string out;
    char byte[4];
    for (uint8_t b : r) {
        std::snprintf(byte, sizeof byte, " %02x", b);
        out += byte;
    }
    return out;
}

class DeviceSessionTest : public ::testing::Test {
protected:
    DeviceSessionTest()
        : dir(folder / "hid"),
          backend(dir),
          hid(&backend, &clock),
          connector(hid, view, tasks),
          session(hid, db, connector, tasks, view, clock, folder / "macro_flash.dat") {
        connector.SetModeEntries(ConfigModes());
        connector.SetCurrentType(101);
    }
    void SetUp() override {
        std::filesystem::create_directories(folder / "db");
        ASSERT_TRUE(db.OpenDeviceDatabase(Quorl::Utf8ToWide(folder.Path() + "/"), L"Veyra"));
    }
    void Connect(VirtualMouseRun&, size_t interfaces) {
        ASSERT_TRUE(WaitUntil([&] { return backend.Enumerate().size() == interfaces; }));
        connector.ConnectDevices();
        session.TakeLightingTabFromConnector();
    }
    std::string Log() { return ReadFileText(dir + "/virtual-mouse.log"); }
    // The reports set on the interface since the log had `from` bytes, in order.
    std::vector<std::string> SetFeatures(size_t from) {
        std::vector<std::string> out;
        std::istringstream lines(Log().substr(from));
        std::string line;
        while (std::getline(lines, line)) {
            size_t at = line.find(" set-feature");
            if (line.find(" > ") != std::string::npos && at != std::string::npos) {
                out.push_back(line.substr(at + 12));
            }
        }
        return out;
    }
    std::wstring Config(int profile, const wchar_t* key) {
        std::wstring v;
        db.GetConfigValue(profile, key, v);
        return v;
    }
    // Passes until the condition holds, as the worker makes them.
    bool PassUntil(const std::function<bool()>& condition) {
        return WaitUntil([&] {
            session.RunPass();
            return condition();
        });
    }

    TempFolder folder;
    std::string dir;
    VirtualHidBackend backend;
    SteadySleeper clock;
    HidDeviceManager hid;
    RecordingSessionView view;
    DeviceTaskQueue tasks;
    DeviceConnector connector;
    DeviceDataDB db;
    DeviceSession session;
};

TEST_F(DeviceSessionTest, InitialSyncFillsTheCurrentProfileFromTheMouseOnCableAndReceiver) {
    session.InitialiseProfiles();
    for (const char* mode : {"cable", "receiver"}) {
        SCOPED_TRACE(mode);
        VirtualMouseRun mouse(dir, {"--mode", mode});
        Connect(mouse, 2);
        // Give the mouse settings the store does not hold, then forget them in the store.
        db.SetConfigValue(1, L"dpi_group2_value", L"4400");
        db.SetConfigValue(1, L"dpi_index", L"2");
        db.SetConfigValue(1, L"button_respondtime", L"12");
        ASSERT_TRUE(session.Commands().SendDpiSettings(1));
        ASSERT_TRUE(session.Commands().SendDebounceTime(1));
        for (const wchar_t* key : {L"dpi_group2_value", L"dpi_index", L"button_respondtime"}) {
            db.SetConfigValue(1, key, L"0");
        }
        view.Clear();
        session.SetSynced(false);
        tasks.Push(kTaskInitialSync);
        session.RunPass();

        EXPECT_TRUE(session.Synced());
        EXPECT_EQ(Config(1, L"dpi_group2_value"), L"4400");
        EXPECT_EQ(Config(1, L"dpi_index"), L"2");
        EXPECT_EQ(Config(1, L"button_respondtime"), L"12");
        EXPECT_EQ(Config(1, L"report_rate"), L"3");
        EXPECT_EQ(session.CurrentDpiLevel(), 2);
        ProfileList profiles;
        EXPECT_EQ(db.ListProfiles(profiles), 5);
        EXPECT_TRUE(
            view.Saw(std::string("status ") + (mode == std::string("cable") ? "51" : "52")));
        EXPECT_TRUE(
            view.Saw(mode == std::string("cable") ? "firmware V1.08 0.0" : "firmware R2.01 V1.08"));
        std::vector<std::string> calls = view.Calls();
        auto at = [&](const std::string& c) {
            return std::find(calls.begin(), calls.end(), c) - calls.begin();
        };
        EXPECT_LT(at("refresh buttons"), at("refresh macros"));
        EXPECT_LT(at("refresh macros"), at("refresh performance"));
        EXPECT_EQ(view.Saw("refresh lighting"), session.LightingTabShown());
        EXPECT_EQ(mouse.Quit(), 0);
        ASSERT_TRUE(WaitUntil([&] { return backend.Enumerate().empty(); }));
    }
}

TEST_F(DeviceSessionTest, BluetoothReadsNothingAndStaysUnsynced) {
    VirtualMouseRun mouse(dir, {"--mode", "bluetooth"});
    Connect(mouse, 1);
    tasks.Push(kTaskInitialSync);
    session.RunPass();
    EXPECT_FALSE(session.Synced());
    EXPECT_TRUE(SetFeatures(0).empty());
    EXPECT_FALSE(view.Saw("refresh buttons"));
}

TEST_F(DeviceSessionTest, TheDpiButtonOnTheMouseUpdatesTheStoreWithoutACommand) {
    VirtualMouseRun mouse(dir, {"--mode", "cable"});
    Connect(mouse, 2);
    tasks.Push(kTaskInitialSync);
    session.RunPass();
    ASSERT_TRUE(session.Synced());
    ASSERT_EQ(Config(1, L"dpi_index"), L"1");
    size_t mark = Log().size();
    mouse.Send("dpi-button");
    ASSERT_TRUE(PassUntil([&] { return Config(1, L"dpi_index") == L"2"; }));
    EXPECT_TRUE(view.Saw("dpi-level 2"));
    EXPECT_TRUE(SetFeatures(mark).empty());
}

TEST_F(DeviceSessionTest, TasksSendExactlyTheirReportsInOrder) {
    VirtualMouseRun mouse(dir, {"--mode", "receiver"});
    Connect(mouse, 2);
    ASSERT_TRUE(session.LightingTabShown());
    ProfileInfo p;
    p.name = L"Profile 1";
    ASSERT_EQ(db.AddProfile(p), 1);
    LightModeSettings light;
    light.profile = 1;
    light.mode = 2;
    light.brightness = 70;
    light.speed = 4;
    light.color_value = 0x336699;
    light.config_func = 0x10;
    ASSERT_GT(db.AddLightMode(light), 0);
    ButtonAssignment a;
    a.profile = 1;
    a.key_code = 3;
    a.macro_type = 1;
    a.macro_value = 2;
    ASSERT_GT(db.SaveButtonAssignment(a), 0);
    session.SetCurrentProfile(1);
    session.SetSelectedButton(3);
    session.SetCurrentLightingMode(2);
    session.SetSendMask(kSendMode | kSendBrightness | kSendSpeed | kSendColour);

    size_t mark = Log().size();
    for (int code : {5, 6, 7, 8, 9, 10, 11, 12, 13, 0, 14, 15, 16}) {
        tasks.Push(code);
    }
    while (!tasks.Empty()) {
        session.RunPass();
    }

    auto encode = [](const ButtonAssignment& b, std::array<uint8_t, 7>& bytes) {
        ButtonFunctionBytes e = EncodeButtonFunction(b);
        std::copy(e.begin(), e.end(), bytes.begin());
    };
    std::array<uint8_t, 10> function{};
    ButtonFunctionBytes e = EncodeButtonFunction(a);
    std::copy(e.begin(), e.end(), function.begin());
    const std::vector<Report> lighting = {
        BuildLightingMode(2),     BuildLightingBrightness(2, 70), BuildLightingBrightness(2, 70),
        BuildLightingSpeed(2, 4), BuildLightingSpeed(2, 4),       BuildLightingColour(2, 0x336699)};
    std::vector<Report> expected = {BuildWriteProfile(db, 1, encode)};
    expected.insert(expected.end(), lighting.begin(), lighting.end());
    expected.push_back(BuildButtonFunction(3, function));
    expected.push_back(BuildButtonFunction(3, {}));
    expected.insert(expected.end(), lighting.begin(), lighting.end());
    for (const Report& r : {BuildDpiSettings(db, 1, 1), BuildReportRate(db, 1, 1),
                            BuildSensorSettings(db, 1), BuildDebounceTime(db, 1),
                            BuildWakeupMode(db, 1), BuildRestoreDefaults(1), BuildFactoryReset()}) {
        expected.push_back(r);
    }
    std::vector<std::string> expectedHex;
    for (const Report& r : expected) {
        expectedHex.push_back(Hex(r));
    }
    EXPECT_EQ(SetFeatures(mark), expectedHex);
    EXPECT_TRUE(view.Saw("refresh macros"));  // after the factory reset

    // On the cable the lighting tab is hidden: a profile switch sends no lighting.
    EXPECT_EQ(mouse.Quit(), 0);
    ASSERT_TRUE(WaitUntil([&] { return backend.Enumerate().empty(); }));
    std::filesystem::remove(dir + "/virtual-mouse.log");
    VirtualMouseRun cable(dir, {"--mode", "cable"});
    Connect(cable, 2);
    ASSERT_FALSE(session.LightingTabShown());
    tasks.Push(kTaskProfileSwitch);
    session.RunPass();
    std::vector<std::string> sent = SetFeatures(0);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].substr(0, 6), " 52 57");
}

TEST_F(DeviceSessionTest, AMacroReadBackFromTheMouseIsStoredWithItsNameAndEvents) {
    VirtualMouseRun mouse(dir, {"--mode", "cable"});
    Connect(mouse, 2);
    MacroInfo m;
    m.name = L"Burst";
    m.play_times = 5000;  // only 12 bits come back
    const int id = db.AddMacroWithSettings(m);
    ASSERT_GT(id, 0);
    db.AddMacroEvents({{0, id, 2, 0, 65, 0, L"\u2193  A"},
                       {0, id, 1, 1, 30, 0, L" -   30 ms"},
                       {0, id, 3, 2, 65, 0, L"\u2191  A"}});
    ASSERT_TRUE(session.Macros().SendMacro(3, id));
    ASSERT_TRUE(session.Macros().SendMacroName(3, id));
    ASSERT_TRUE(db.DeleteMacro(id));

    tasks.Push(kTaskInitialSync);
    session.RunPass();
    ASSERT_TRUE(session.Synced());
    ButtonAssignment a;
    ASSERT_TRUE(db.GetButtonAssignment(session.CurrentProfile(), 3, a));
    EXPECT_EQ(a.macro_type, 4);
    EXPECT_EQ(a.macro_desc, L"Burst");
    MacroInfo read;
    ASSERT_TRUE(db.GetMacro(a.macro_value, read));
    EXPECT_EQ(read.name, L"Burst");
    EXPECT_EQ(read.play_times, 904);
    MacroEventList events;
    ASSERT_EQ(db.ListMacroEvents(a.macro_value, events), 3);
    EXPECT_EQ(events[0]->type, 2);
    EXPECT_EQ(events[0]->value, 65);
    EXPECT_EQ(events[1]->type, 1);
    EXPECT_EQ(events[1]->value, 30);
    EXPECT_EQ(events[1]->desc, L" -   30 ms");
    EXPECT_EQ(events[2]->type, 3);
    EXPECT_EQ(events[2]->delay_time, events[0]->delay_time);  // a key up takes its key down's
    // The read rebuilt the memory position: one macro of 3 items.
    EXPECT_EQ(session.Flash().Position(), 6 + 12 + 4);
}

TEST_F(DeviceSessionTest, ButtonFunctionsAreReadOncePerModelAndRunAgainForAnother) {
    auto kindQueries = [&] {
        std::vector<std::string> sent = SetFeatures(0);
        return std::count_if(sent.begin(), sent.end(),
                             [](const std::string& s) { return s.substr(0, 6) == " 52 61"; });
    };
    {
        VirtualMouseRun mouse(dir, {"--mode", "receiver"});
        Connect(mouse, 2);
        tasks.Push(kTaskInitialSync);
        session.RunPass();
        ASSERT_TRUE(session.Synced());
        EXPECT_EQ(kindQueries(), 1);
        mouse.Send("unplug receiver");
        ASSERT_TRUE(WaitUntil([&] { return backend.Enumerate().empty(); }));
        mouse.Send("plug receiver");
        ASSERT_TRUE(WaitUntil([&] { return backend.Enumerate().size() == 2; }));
        tasks.Push(kTaskArrival);
        session.RunPass();
        EXPECT_EQ(hid.GetConnectionMode(), 1);
        EXPECT_TRUE(view.Saw("status 52"));
        EXPECT_EQ(kindQueries(), 1);
        EXPECT_EQ(mouse.Quit(), 0);
        ASSERT_TRUE(WaitUntil([&] { return backend.Enumerate().empty(); }));
    }
    std::filesystem::remove(dir + "/virtual-mouse.log");
    VirtualMouseRun lite(dir, {"--mode", "receiver", "--model", "102"});
    ASSERT_TRUE(WaitUntil([&] { return backend.Enumerate().size() == 2; }));
    connector.SetCurrentType(102);
    view.Clear();
    tasks.Push(kTaskDeviceTypeChanged);
    session.RunPass();
    EXPECT_EQ(kindQueries(), 1);
    EXPECT_TRUE(view.Saw("close-wait"));
}

TEST_F(DeviceSessionTest, AMouseThatFallsAsleepBehindTheReceiverQueuesNothingAndWakingReadsIt) {
    VirtualMouseRun mouse(dir, {"--mode", "receiver"});
    Connect(mouse, 2);
    tasks.Push(kTaskInitialSync);
    session.RunPass();
    ASSERT_TRUE(session.Synced());
    mouse.Send("sleep");
    ASSERT_TRUE(PassUntil([&] { return !session.Online(); }));
    EXPECT_TRUE(view.Saw("status 53"));
    EXPECT_TRUE(tasks.Empty());
    size_t mark = Log().size();
    mouse.Send("wake");
    ASSERT_TRUE(PassUntil([&] { return session.Online(); }));
    std::vector<std::string> sent = SetFeatures(mark);
    ASSERT_GE(sent.size(), 3u);
    EXPECT_EQ(sent[0].substr(0, 6), " 51 0c");  // CheckWirelessLink
    EXPECT_EQ(sent[1].substr(0, 6), " 51 06");  // then ReadDeviceState
    EXPECT_EQ(sent[2].substr(0, 6), " 51 07");
}

TEST_F(DeviceSessionTest, TheWorkerAndTheUiThreadShareTheQueueAndTheSettings) {
    VirtualMouseRun mouse(dir, {"--mode", "cable"});
    Connect(mouse, 2);
    tasks.Push(kTaskInitialSync);
    ASSERT_TRUE(session.Start(1));
    ASSERT_TRUE(WaitUntil([&] { return session.Synced(); }));
    // What the pages do: store first, set what the task reads, then queue it.
    for (int i = 0; i < 5; ++i) {
        db.SetConfigValue(session.CurrentProfile(), L"dpi_group0_value",
                          std::to_wstring(400 + 50 * i));
        session.SetSelectedButton(i);
        session.SetSendMask(i);
        tasks.Push(kTaskSendDpi);
        tasks.Push(kTaskResetButton);
    }
    auto count = [&](const std::string& start) {
        std::vector<std::string> sent = SetFeatures(0);
        return std::count_if(sent.begin(), sent.end(), [&](const std::string& s) {
            return s.compare(0, start.size(), start) == 0;
        });
    };
    ASSERT_TRUE(WaitUntil([&] { return count(" 51 40") == 5 && count(" 52 52") == 5; }));
    // The last DPI report carries the last value stored before it was queued (600).
    std::vector<std::string> sent = SetFeatures(0);
    auto last = std::find_if(sent.rbegin(), sent.rend(),
                             [](const std::string& s) { return s.compare(0, 6, " 51 40") == 0; });
    ASSERT_NE(last, sent.rend());
    EXPECT_EQ(last->substr(15, 6), " 58 02");
    // A caller that waits for its task learns whether the mouse took it.
    using namespace std::chrono_literals;
    EXPECT_EQ(tasks.WaitFinished(tasks.PushTracked(kTaskSendDpi), 30s), std::optional(true));
    EXPECT_EQ(tasks.WaitFinished(tasks.PushTracked(14), 30s), std::optional(false));
    mouse.Send("unplug");
    ASSERT_TRUE(WaitUntil([&] { return backend.Enumerate().empty(); }));
    EXPECT_EQ(tasks.WaitFinished(tasks.PushTracked(kTaskSendDpi), 30s), std::optional(false));
    EXPECT_TRUE(session.Stop());
    EXPECT_FALSE(session.IsRunning());
}

}  // namespace
