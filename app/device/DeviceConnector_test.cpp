#include "app/device/DeviceConnector.h"

#include <gtest/gtest.h>

#include <thread>

#include "app/device/ConnectionView.h"
#include "app/device/DeviceTaskQueue.h"
#include "app/device/FakeHid_test.h"
#include "app/device/HidIdentity.h"
#include "app/device/ModeEntries_test.h"

namespace {

// Records what a connection pass shows, in order.
class RecordingView : public ConnectionView {
public:
    void CloseSecondaryWindows() override { log.push_back("close"); }
    void SetBatteryInfo(int level, int charging) override {
        log.push_back("battery " + std::to_string(level) + " " + std::to_string(charging));
    }
    void ClearMessageLine() override { log.push_back("message clear"); }
    void SetStatusText(int id) override {
        status = id;
        log.push_back("status " + std::to_string(id));
    }
    void SelectPageTab(int tab) override { log.push_back("tab " + std::to_string(tab)); }
    void EnablePageTabs(bool on) override { tabsEnabled = on; }
    void ShowLightingTab(bool shown) override { lighting = shown; }
    void SetPagesEnabled(bool on) override { pages = on; }
    void OpenBluetoothBattery() override { log.push_back("bluetooth battery"); }
    void Relayout() override { log.push_back("layout"); }
    std::vector<std::string> log;
    int status = 0;
    bool tabsEnabled = false, lighting = false, pages = false;
};

HidInterfaceInfo Usb(const std::string& path, uint16_t pid, int mi, uint16_t page, uint16_t usage) {
    return {path, 0x3434, pid, 0x0102, page, usage, mi, HidBus::Usb};
}
HidInterfaceInfo Command(const std::string& path, uint16_t pid) {
    return Usb(path, pid, 1, 0x8C, 1);
}
HidInterfaceInfo Keyboard(const std::string& path, uint16_t pid) {
    return {path, 0x3434, pid, 0x0200, 1, 6, -1, HidBus::Bluetooth};
}

Bytes PairedAnswer(uint16_t pid) {
    Bytes b(21, 0);
    b[0] = 0x51, b[1] = 0x03;
    if (pid != 0) {
        b[3] = 0x34, b[4] = 0x34, b[5] = pid & 0xFF, b[6] = pid >> 8;
    }
    return b;
}

class ConnectorTest : public ::testing::Test {
protected:
    ConnectorTest() : hid(&backend, &clock), connector(hid, view, tasks) {
        connector.SetModeEntries(ConfigModes());
        connector.SetCurrentType(101);
    }
    FakeSleeper clock;
    FakeHidBackend backend;
    HidDeviceManager hid;
    RecordingView view;
    DeviceTaskQueue tasks;
    DeviceConnector connector;
};

TEST_F(ConnectorTest, NothingAttached) {
    backend.interfaces = {Command("/dev/hidraw0", 0xD042)};  // another model
    connector.ConnectDevices();
    EXPECT_FALSE(connector.Connected());
    EXPECT_EQ(view.status, 50);
    EXPECT_FALSE(view.tabsEnabled);
    EXPECT_FALSE(view.pages);
    EXPECT_EQ(view.log.front(), "close");
    EXPECT_EQ(view.log[1], "battery 0 2");
}

TEST_F(ConnectorTest, CableTakesOnlyTheCommandInterface) {
    backend.interfaces = {Usb("/dev/hidraw0", 0xD032, 0, 1, 2), Command("/dev/hidraw1", 0xD032)};
    connector.ConnectDevices();
    std::vector<HidInterfaceEntry> entries;
    ASSERT_TRUE(hid.ListInterfaces(entries));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].path, "/dev/hidraw1");
    EXPECT_EQ(entries[0].product, L"Veyra");
    EXPECT_EQ(hid.GetConnectionMode(), 0);
    EXPECT_EQ(view.status, 51);
    EXPECT_TRUE(view.tabsEnabled);
    EXPECT_TRUE(view.pages);
    EXPECT_FALSE(view.lighting);
    EXPECT_EQ(view.log.back(), "layout");
}

TEST_F(ConnectorTest, ReceiverNeedsItsPairedMouseAccepted) {
    struct Case {
        const char* name;
        int type;
        uint16_t receiverPid;
        std::optional<Bytes> answer;
        bool accepted;
    };
    const Case cases[] = {
        {"paired Veyra", 101, 0xD033, PairedAnswer(0xD032), true},
        {"zeros mean the Veyra", 101, 0xD033, PairedAnswer(0), true},
        {"Lite receiver holding a Veyra", 102, 0xD043, PairedAnswer(0xD032), false},
        {"Lite receiver answering zeros", 102, 0xD043, PairedAnswer(0), false},
        {"Lite receiver with its Lite", 102, 0xD043, PairedAnswer(0xD042), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        backend.interfaces = {Command("/dev/hidraw2", c.receiverPid)};
        backend.scripts.clear();
        backend.scripts["/dev/hidraw2"].gets = {c.answer};
        connector.SetCurrentType(c.type);
        connector.ConnectDevices();
        EXPECT_EQ(connector.Connected(), c.accepted);
        EXPECT_EQ(view.status, c.accepted ? 53 : 50);
        EXPECT_EQ(hid.GetConnectionMode(), c.accepted ? 1 : -1);
    }
}

TEST_F(ConnectorTest, ReceiverWithTheMouseOnlineEnablesThePages) {
    backend.interfaces = {Command("/dev/hidraw2", 0xD033)};
    connector.SetMouseOnline(true);
    connector.ConnectDevices();
    EXPECT_EQ(view.status, 52);
    EXPECT_TRUE(view.tabsEnabled);
    EXPECT_TRUE(view.pages);
    EXPECT_TRUE(view.lighting);
    EXPECT_TRUE(connector.LightingTabShown());
}

TEST_F(ConnectorTest, BluetoothKeyboardCollectionGivesAnEntryWithoutHandle) {
    backend.interfaces = {Keyboard("/dev/hidraw5", 0xD034),
                          {"/dev/hidraw6", 0x3434, 0xD034, 0, 1, 2, -1, HidBus::Bluetooth}};
    connector.ConnectDevices();
    std::vector<HidInterfaceEntry> entries;
    ASSERT_TRUE(hid.ListInterfaces(entries));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_FALSE(entries[0].handle);
    EXPECT_EQ(entries[0].connection_mode, 2);
    EXPECT_EQ(view.status, 54);
    EXPECT_FALSE(view.tabsEnabled);
    EXPECT_TRUE(view.pages);
    EXPECT_NE(std::find(view.log.begin(), view.log.end(), "bluetooth battery"), view.log.end());
    EXPECT_FALSE(hid.GetCommandHandle());
}

TEST_F(ConnectorTest, CableAndReceiverTogetherUseTheCable) {
    backend.interfaces = {Command("/dev/hidraw2", 0xD033), Command("/dev/hidraw1", 0xD032)};
    connector.ConnectDevices();
    std::vector<HidInterfaceEntry> entries;
    ASSERT_TRUE(hid.ListInterfaces(entries));
    EXPECT_EQ(entries.size(), 2u);
    EXPECT_EQ(hid.GetConnectionMode(), 0);
    EXPECT_EQ(view.status, 51);
}

TEST_F(ConnectorTest, SharedIdsTakeTheFirstModeRecord) {
    connector.SetModeEntries({Mode(101, 1, 0xD032, L"VID_3434&PID_D032&MI_01"),
                              Mode(101, 0, 0xD032, L"VID_3434&PID_D032&MI_01")});
    backend.interfaces = {Command("/dev/hidraw1", 0xD032)};
    connector.ConnectDevices();
    EXPECT_EQ(hid.GetConnectionMode(), 1);
}

TEST_F(ConnectorTest, UnopenableInterfacesAreSkipped) {
    backend.interfaces = {Command("/dev/hidraw1", 0xD032)};
    backend.unopenable["/dev/hidraw1"] = true;
    connector.ConnectDevices();
    EXPECT_FALSE(connector.Connected());
}

TEST_F(ConnectorTest, HotPlugQueuesArrivalAndRemoval) {
    backend.interfaces = {Command("/dev/hidraw2", 0xD033)};
    connector.ConnectDevices();
    auto change = [&](int kind, const HidInterfaceInfo& info) {
        connector.UpdateUSBDevice({kind, info.path, BuildIdentityText(info)});
        std::optional<int> code = tasks.TryPop();
        EXPECT_TRUE(tasks.Empty());
        return code.value_or(0);
    };
    HidInterfaceInfo cable = Command("/dev/hidraw1", 0xD032);
    HidInterfaceInfo lite = Command("/dev/hidraw3", 0xD042);
    HidInterfaceInfo keyboard = Keyboard("/dev/hidraw5", 0xD034);
    HidInterfaceInfo mouseCollection = Usb("/dev/hidraw4", 0xD032, 0, 1, 2);
    backend.interfaces.push_back(cable);
    backend.interfaces.push_back(lite);
    backend.interfaces.push_back(keyboard);
    backend.interfaces.push_back(mouseCollection);
    EXPECT_EQ(change(DeviceChange::Arrival, cable), 2);
    EXPECT_EQ(change(DeviceChange::Arrival, lite), 0);
    EXPECT_EQ(change(DeviceChange::Arrival, mouseCollection), 0);
    EXPECT_EQ(change(DeviceChange::Arrival, keyboard), 2);
    EXPECT_EQ(change(DeviceChange::Arrival, backend.interfaces[0]), 0);  // receiver held
    EXPECT_EQ(change(DeviceChange::Removal, cable), 0);                  // no entry for the cable
    EXPECT_EQ(change(DeviceChange::Removal, backend.interfaces[0]), 3);
    EXPECT_EQ(change(DeviceChange::Removal, keyboard), 3);
    EXPECT_EQ(change(DeviceChange::Removal, lite), 0);
    EXPECT_EQ(change(0x0007, cable), 0);
}

TEST_F(ConnectorTest, RemovalWhileNothingIsConnectedQueuesNothing) {
    connector.ConnectDevices();
    HidInterfaceInfo receiver = Command("/dev/hidraw2", 0xD033);
    connector.UpdateUSBDevice({DeviceChange::Removal, receiver.path, BuildIdentityText(receiver)});
    EXPECT_TRUE(tasks.Empty());
}

TEST_F(ConnectorTest, EveryModeHeldQueuesNothingOnArrival) {
    backend.interfaces = {Command("/dev/hidraw1", 0xD032), Command("/dev/hidraw2", 0xD033),
                          Keyboard("/dev/hidraw5", 0xD034)};
    connector.ConnectDevices();
    HidInterfaceInfo second = Command("/dev/hidraw9", 0xD032);
    backend.interfaces.push_back(second);
    connector.UpdateUSBDevice({DeviceChange::Arrival, second.path, BuildIdentityText(second)});
    EXPECT_TRUE(tasks.Empty());
}

TEST(IdentityText, NamesBusIdsAndCollection) {
    HidInterfaceInfo cable = Command("/dev/hidraw1", 0xD032);
    EXPECT_EQ(BuildIdentityText(cable),
              "/DEV/HIDRAW1;BUS=USB;VID_3434&PID_D032&MI_01;UP_008C&U_0001");
    HidInterfaceInfo kbd = Keyboard("/dev/hidraw5", 0xD034);
    EXPECT_EQ(BuildIdentityText(kbd),
              "/DEV/HIDRAW5;BUS=BLUETOOTH;VID_3434&PID_D034&MI_FF;UP_0001&U_0006;"
              "{00001812-0000-1000-8000-00805F9B34FB};KBD");
    EXPECT_TRUE(IsBluetoothKeyboardIdentity(BuildIdentityText(kbd)));
    kbd.usage = 2;
    EXPECT_FALSE(IsBluetoothKeyboardIdentity(BuildIdentityText(kbd)));
}

TEST(DeviceTaskQueueThreads, ProducersAndAConsumerLoseNothing) {
    DeviceTaskQueue queue;
    std::vector<std::thread> producers;
    for (int t = 0; t < 3; ++t) {
        producers.emplace_back([&queue, t] {
            for (int i = 0; i < 500; ++i) {
                queue.Push(t + 1);
            }
        });
    }
    int taken = 0;
    std::thread consumer([&] {
        while (taken < 1500) {
            if (queue.TryPop()) {
                ++taken;
            } else {
                std::this_thread::yield();
            }
        }
    });
    for (auto& p : producers) {
        p.join();
    }
    consumer.join();
    EXPECT_EQ(taken, 1500);
    EXPECT_TRUE(queue.Empty());
    EXPECT_TRUE(queue.PushIfEmpty(2));
    EXPECT_FALSE(queue.PushIfEmpty(2));
}

}  // namespace
