// The device link against a running talvane-virtual-mouse, through its folder: the same path
// the program takes.

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <mutex>
#include <thread>

#include "app/console/HeadlessSessionView.h"
#include "app/device/DeviceCommands.h"
#include "app/device/DeviceConnector.h"
#include "app/device/DeviceTaskQueue.h"
#include "app/device/HidDeviceManager.h"
#include "app/device/HidIdentity.h"
#include "app/device/ModeEntries_test.h"
#include "app/device/VirtualHidBackend.h"
#include "app/device/VirtualMouseProcess_test.h"
#include "app/store/DeviceDataDB.h"
#include "quorl/core/Utf8.h"
#include "tests/support/TempFolder.h"

namespace {

class NullView : public HeadlessSessionView {
public:
    void SetStatusText(int id) override { status = id; }
    std::atomic<int> status{0};
};

class VirtualMouseLink : public ::testing::Test {
protected:
    VirtualMouseLink()
        : dir(folder / "hid"), backend(dir), hid(&backend, &clock), connector(hid, view, tasks) {
        connector.SetModeEntries(ConfigModes());
        connector.SetCurrentType(101);
    }
    void SetUp() override {
        std::filesystem::create_directories(folder / "db");
        ASSERT_TRUE(db.OpenDeviceDatabase(Quorl::Utf8ToWide(folder.Path() + "/"), L"Veyra"));
        ProfileInfo p;
        p.name = L"Profile 1";
        ASSERT_EQ(db.AddProfile(p), 1);
    }
    size_t Interfaces() { return backend.Enumerate().size(); }
    std::string Log() { return ReadFileText(dir + "/virtual-mouse.log"); }

    TempFolder folder;
    std::string dir;
    VirtualHidBackend backend;
    SteadySleeper clock;
    HidDeviceManager hid;
    NullView view;
    DeviceTaskQueue tasks;
    DeviceConnector connector;
    DeviceDataDB db;
};

TEST_F(VirtualMouseLink, CableSettingsGoOutByteForByteAndReadBack) {
    VirtualMouseRun mouse(dir, {"--mode", "cable"});
    ASSERT_TRUE(WaitUntil([&] { return Interfaces() == 2; }));
    connector.ConnectDevices();
    EXPECT_EQ(hid.GetConnectionMode(), 0);
    EXPECT_EQ(view.status, 51);

    db.SetConfigValue(1, L"dpi_index", L"3");
    db.SetConfigValue(1, L"dpi_count", L"5");
    db.SetConfigValue(1, L"dpi_group3_value", L"6400");
    db.SetConfigValue(1, L"report_rate", L"2");
    db.SetConfigValue(1, L"button_respondtime", L"12");
    DeviceCommands commands(hid, db);
    ASSERT_TRUE(commands.SendDpiSettings(1));
    ASSERT_TRUE(commands.SendReportRate(1));
    ASSERT_TRUE(commands.SendDebounceTime(1));
    DeviceReports::DeviceSettings settings;
    ASSERT_TRUE(commands.ReadDeviceSettings(settings));
    EXPECT_EQ(settings.dpi[3], 6400);
    EXPECT_EQ(settings.Level(0), 3);
    EXPECT_EQ(settings.RateCode(0), 2);
    EXPECT_EQ(settings.debounce, 12);
    DeviceReports::DeviceInfo info;
    ASSERT_TRUE(commands.ReadDeviceInfo(info));
    EXPECT_EQ(info.work_mode, 0);
    EXPECT_EQ(commands.ReadFirmwareVersion(false, 1033), L"V1.08");

    std::string log = Log();
    EXPECT_NE(log.find("> cable-01 set-feature 51 40 03 ff ff e8 03 40 06 80 0c 00 19 e0 2e 05 "
                       "00 00 00 00 00\n"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("> cable-01 set-feature 51 41 02 ff ff 7d 00 f4 01 e8 03 00"),
              std::string::npos);
    EXPECT_NE(log.find("> cable-01 set-feature 51 43 0c 00"), std::string::npos);
}

TEST_F(VirtualMouseLink, ReceiverForwardsAndAcknowledgesWhileTheMouseIsAwake) {
    VirtualMouseRun mouse(dir, {"--mode", "receiver"});
    ASSERT_TRUE(WaitUntil([&] { return Interfaces() == 2; }));
    connector.ConnectDevices();
    ASSERT_EQ(hid.GetConnectionMode(), 1);
    EXPECT_EQ(view.status, 53);  // online is not known before the first read
    DeviceCommands commands(hid, db);
    ASSERT_TRUE(commands.CheckWirelessLink());
    DeviceReports::LightingInfo light;
    ASSERT_TRUE(commands.ReadLightingInfo(light));
    EXPECT_EQ(light.mode_count, 8);
    DeviceReports::DeviceInfo info;
    ASSERT_TRUE(commands.ReadDeviceInfo(info));
    EXPECT_EQ(info.work_mode, 1);
    EXPECT_TRUE(info.online);
    DeviceButtonFunctions buttons;
    ASSERT_TRUE(commands.ReadButtonFunctions(buttons));
    EXPECT_EQ(buttons.entries[1].kind, 1);
    EXPECT_EQ(buttons.entries[1].function[0], 0x02);
    EXPECT_EQ(commands.ReadFirmwareVersion(true, 1033), L"V1.08");
    EXPECT_EQ(commands.ReadFirmwareVersion(false, 1033), L"R2.01");

    mouse.Send("sleep");
    ASSERT_TRUE(WaitUntil([&] { return Log().find("input 54 e2 01 00") != std::string::npos; }));
    EXPECT_FALSE(commands.CheckWirelessLink());
    EXPECT_FALSE(commands.ReadLightingInfo(light));
    ASSERT_TRUE(commands.ReadDeviceInfo(info));
    EXPECT_FALSE(info.online);
    EXPECT_NE(Log().find("< receiver-01 input 54 e4 02"), std::string::npos);
}

TEST_F(VirtualMouseLink, PlugAndUnplugArriveAsTasksTwoAndThree) {
    VirtualMouseRun mouse(dir, {"--mode", "cable+receiver"});
    ASSERT_TRUE(WaitUntil([&] { return Interfaces() == 4; }));
    connector.ConnectDevices();
    EXPECT_EQ(hid.GetConnectionMode(), 0);
    VirtualHidWatcher watcher(dir);
    std::mutex seenLock;
    std::string seen;
    ASSERT_TRUE(watcher.Start([&](const DeviceChange& c) {
        connector.UpdateUSBDevice(c);
        std::lock_guard guard(seenLock);
        seen += std::to_string(c.kind) + " " + c.identity + " -> " + std::to_string(tasks.Size()) +
                "\n";
    }));

    mouse.Send("unplug cable");
    ASSERT_TRUE(WaitUntil([&] { return !tasks.Empty(); }));
    EXPECT_EQ(tasks.TryPop(), 3);
    ASSERT_TRUE(WaitUntil([&] { return Interfaces() == 2; }));
    connector.ConnectDevices();  // what the worker does for task 3
    EXPECT_EQ(hid.GetConnectionMode(), 1);

    mouse.Send("plug cable");
    ASSERT_TRUE(WaitUntil([&] { return !tasks.Empty(); }));
    EXPECT_EQ(tasks.TryPop(), 2);
    ASSERT_TRUE(WaitUntil([&] { return Interfaces() == 4; }));
    connector.ConnectDevices();
    EXPECT_EQ(hid.GetConnectionMode(), 0);

    // Every mode held: another arrival of the receiver's interfaces queues nothing.
    mouse.Send("unplug receiver");
    ASSERT_TRUE(WaitUntil([&] { return tasks.Size() >= 1; }));
    EXPECT_EQ(tasks.TryPop(), 3);
    mouse.Send("plug receiver");
    // The watcher must have seen it arrive before it leaves, or it cannot tell what left.
    ASSERT_TRUE(WaitUntil([&] {
        std::lock_guard guard(seenLock);
        return seen.find("32768 " + ToUpperAscii(dir) + "/RECEIVER-01") != std::string::npos;
    }));
    mouse.Send("quit");
    ASSERT_TRUE(WaitUntil([&] { return Interfaces() == 0; }));
    // Both command interfaces leave at quit; the receiver's arrival before queued nothing.
    ASSERT_TRUE(WaitUntil([&] { return tasks.Size() >= 2; })) << [&] {
        std::lock_guard guard(seenLock);
        return seen;
    }();
    watcher.Stop();
    EXPECT_EQ(mouse.Quit(), 0);
    EXPECT_EQ(tasks.TryPop(), 3);
    EXPECT_EQ(tasks.TryPop(), 3);
    EXPECT_TRUE(tasks.Empty());
}

TEST_F(VirtualMouseLink, AnUnpluggedDeviceFailsItsExchanges) {
    VirtualMouseRun mouse(dir, {"--mode", "cable"});
    ASSERT_TRUE(WaitUntil([&] { return Interfaces() == 2; }));
    connector.ConnectDevices();
    DeviceCommands commands(hid, db);
    ASSERT_TRUE(commands.SendWakeupMode(1));
    mouse.Send("unplug");
    ASSERT_TRUE(WaitUntil([&] { return Interfaces() == 0; }));
    EXPECT_FALSE(commands.SendWakeupMode(1));
    DeviceReports::DeviceInfo info;
    EXPECT_FALSE(commands.ReadDeviceInfo(info));
    uint8_t report[21] = {};
    EXPECT_EQ(hid.ReadInputReport(hid.GetCommandHandle(), report, sizeof report), -1);
}

TEST_F(VirtualMouseLink, AnotherModelsReceiverIsLeftOut) {
    VirtualMouseRun mouse(dir, {"--mode", "receiver", "--model", "102"});
    ASSERT_TRUE(WaitUntil([&] { return Interfaces() == 2; }));
    connector.SetCurrentType(102);
    connector.ConnectDevices();  // its own model: accepted
    EXPECT_EQ(hid.GetConnectionMode(), 1);
    connector.SetCurrentType(101);
    connector.ConnectDevices();
    EXPECT_EQ(hid.GetConnectionMode(), -1);
    EXPECT_EQ(view.status, 50);
}

TEST_F(VirtualMouseLink, OnboardMemorySurvivesARestart) {
    {
        VirtualMouseRun mouse(dir, {"--mode", "cable"});
        ASSERT_TRUE(WaitUntil([&] { return Interfaces() == 2; }));
        connector.ConnectDevices();
        db.SetConfigValue(1, L"dpi_group0_value", L"450");
        DeviceCommands commands(hid, db);
        ASSERT_TRUE(commands.SendDpiSettings(1));
        ASSERT_TRUE(commands.SendButtonFunction(6, {2, 0, 4}));
        EXPECT_EQ(mouse.Quit(), 0);
    }
    EXPECT_EQ(Interfaces(), 0u);
    VirtualMouseRun mouse(dir, {"--mode", "cable"});
    ASSERT_TRUE(WaitUntil([&] { return Interfaces() == 2; }));
    connector.ConnectDevices();
    DeviceCommands commands(hid, db);
    DeviceReports::DeviceSettings settings;
    ASSERT_TRUE(commands.ReadDeviceSettings(settings));
    EXPECT_EQ(settings.dpi[0], 450);
    DeviceButtonFunctions buttons;
    ASSERT_TRUE(commands.ReadButtonFunctions(buttons));
    EXPECT_EQ(buttons.entries[6].kind, 2);
    EXPECT_EQ(buttons.entries[6].function[1], 4);
}

TEST_F(VirtualMouseLink, DpiButtonAndBatteryAreReportedByTheMouse) {
    VirtualMouseRun mouse(dir, {"--mode", "cable"});
    ASSERT_TRUE(WaitUntil([&] { return Interfaces() == 2; }));
    connector.ConnectDevices();
    HidHandlePtr handle = hid.GetCommandHandle();
    ASSERT_TRUE(handle);
    mouse.Send("battery 42 charging");
    mouse.Send("dpi-button");
    std::vector<DeviceReports::MouseState> states;
    WaitUntil([&] {
        uint8_t report[21] = {};
        int got = hid.ReadInputReport(handle, report, sizeof report);
        auto parsed = got > 0 ? DeviceReports::ParseDeviceReport(report, got) : std::nullopt;
        if (parsed && parsed->kind == 0xE2) {
            states.push_back(parsed->mouse);
        }
        return states.size() == 2;
    });
    ASSERT_EQ(states.size(), 2u);
    EXPECT_EQ(states[0].battery_level, 42);
    EXPECT_EQ(states[0].charging, 1);
    EXPECT_EQ(states[1].dpi_level, (states[0].dpi_level + 1) % 4);
}

std::string Hex(const DeviceReports::Report& r) {
    std::string out;
    char byte[4];
    for (uint8_t b : r) {
        std::snprintf(byte, sizeof byte, " %02x", b);
        out += byte;
    }
    return out;
}

TEST_F(VirtualMouseLink, EveryCommandReachesTheMouseAsBuiltInEachMode) {
    using namespace DeviceReports;
    db.SetConfigValue(1, L"dpi_index", L"2");
    db.SetConfigValue(1, L"report_rate", L"1");
    db.SetConfigValue(1, L"sensor_flag", L"8");
    db.SetConfigValue(1, L"wakeup_mode", L"2");
    for (const char* mode : {"cable", "receiver"}) {
        SCOPED_TRACE(mode);
        std::string iface = std::string(mode) + "-01";
        int connection = std::string(mode) == "cable" ? 0 : 1;
        VirtualMouseRun mouse(dir, {"--mode", mode});
        ASSERT_TRUE(WaitUntil([&] { return Interfaces() == 2; }));
        connector.ConnectDevices();
        ASSERT_EQ(hid.GetConnectionMode(), connection);
        DeviceCommands commands(hid, db);
        ASSERT_TRUE(commands.SendDpiSettings(1));
        ASSERT_TRUE(commands.SendReportRate(1));
        ASSERT_TRUE(commands.SendSensorSettings(1));
        ASSERT_TRUE(commands.SendDebounceTime(1));
        ASSERT_TRUE(commands.SendWakeupMode(1));
        ASSERT_TRUE(commands.SendLightingMode(2));
        ASSERT_TRUE(commands.SendLightingBrightness(2, 70));
        ASSERT_TRUE(commands.SendLightingSpeed(2, 4));
        ASSERT_TRUE(commands.SendLightingColour(2, 0x00336699));
        ASSERT_TRUE(commands.SendButtonFunction(3, {3, 0xCD}));
        ASSERT_TRUE(commands.ResetButtonFunction(3));
        ASSERT_TRUE(commands.RestoreDefaults(1));
        ASSERT_TRUE(commands.CheckWirelessLink());
        auto encode = [](const ButtonAssignment& a, std::array<uint8_t, 7>& b) {
            b[0] = static_cast<uint8_t>(a.macro_type);
        };
        ASSERT_TRUE(commands.WriteProfile(1, encode, {}));
        const Report expected[] = {BuildDpiSettings(db, 1, connection),
                                   BuildReportRate(db, 1, connection),
                                   BuildSensorSettings(db, 1),
                                   BuildDebounceTime(db, 1),
                                   BuildWakeupMode(db, 1),
                                   BuildLightingMode(2),
                                   BuildLightingBrightness(2, 70),
                                   BuildLightingSpeed(2, 4),
                                   BuildLightingColour(2, 0x00336699),
                                   BuildButtonFunction(3, {3, 0xCD}),
                                   BuildButtonFunction(3, {}),
                                   BuildRestoreDefaults(1),
                                   BuildCheckWirelessLink(),
                                   BuildWriteProfile(db, 1, encode)};
        std::string log = Log();
        for (const Report& r : expected) {
            EXPECT_NE(log.find("> " + iface + " set-feature" + Hex(r) + "\n"), std::string::npos)
                << Hex(r);
        }
        std::string triplet = connection == 0 ? " 51 40 02 ff ff" : " 51 40 ff 02 ff";
        EXPECT_NE(log.find("> " + iface + " set-feature" + triplet), std::string::npos);
        if (connection == 1) {
            EXPECT_NE(log.find("< receiver-01 input 54 e4 01"), std::string::npos);
        }
        DeviceReports::LightingInfo light;
        ASSERT_TRUE(commands.ReadLightingInfo(light));
        EXPECT_EQ(light.current_mode, 2);
        EXPECT_EQ(mouse.Quit(), 0);
        ASSERT_TRUE(WaitUntil([&] { return Interfaces() == 0; }));
        std::filesystem::remove(dir + "/virtual-mouse.log");
    }
}

TEST_F(VirtualMouseLink, BluetoothOffersNoCommandInterface) {
    VirtualMouseRun mouse(dir, {"--mode", "bluetooth"});
    ASSERT_TRUE(WaitUntil([&] { return Interfaces() == 1; }));
    connector.ConnectDevices();
    EXPECT_EQ(hid.GetConnectionMode(), 2);
    EXPECT_EQ(view.status, 54);
    DeviceCommands commands(hid, db);
    EXPECT_FALSE(commands.SendDpiSettings(1));
    EXPECT_EQ(Log().find("set-feature"), std::string::npos);
}

TEST_F(VirtualMouseLink, MacroPacketsAreStoredAndReadBackInPieces) {
    VirtualMouseRun mouse(dir, {"--mode", "cable"});
    ASSERT_TRUE(WaitUntil([&] { return Interfaces() == 2; }));
    connector.ConnectDevices();
    DeviceCommands commands(hid, db);
    // A macro of 14 items (62 bytes) goes out as two packets of 58 and 4 bytes.
    std::vector<uint8_t> macro(62);
    for (size_t i = 0; i < macro.size(); ++i) {
        macro[i] = static_cast<uint8_t>(i + 1);
    }
    for (size_t offset : {size_t{0}, size_t{58}}) {
        DeviceReports::Report r = DeviceReports::Empty(0x52, 0x55, 65);
        size_t n = std::min<size_t>(58, macro.size() - offset);
        r[2] = 4;
        r[3] = offset == 0 ? 1 : 0;
        r[4] = static_cast<uint8_t>(offset);
        r[6] = static_cast<uint8_t>(n);
        std::copy(macro.begin() + offset, macro.begin() + offset + n, r.begin() + 7);
        ASSERT_TRUE(commands.Send(r, "0x52 0x55"));
    }
    DeviceReports::Report name = DeviceReports::Empty(0x52, 0x53, 65);
    name[2] = 4;
    name[3] = 5;
    std::copy_n("Macro", 5, name.begin() + 4);
    ASSERT_TRUE(commands.Send(name, "0x52 0x53"));
    DeviceButtonFunctions buttons;
    ASSERT_TRUE(commands.ReadButtonFunctions(buttons));
    EXPECT_EQ(buttons.entries[4].kind, 4);
    ASSERT_EQ(buttons.macros.size(), 1u);
    EXPECT_EQ(buttons.macros[0].first, 4);
    EXPECT_EQ(buttons.macros[0].second, macro);
    DeviceReports::Report query = DeviceReports::BuildMacroNameQuery(4);
    ASSERT_TRUE(commands.ReadExchange(query, "0x52 0x63"));
    EXPECT_EQ(DeviceReports::ParseMacroName(query.data(), query.size()), "Macro");
}

}  // namespace
