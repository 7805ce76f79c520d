// The Bluetooth battery against the virtual mouse's BlueZ on a private bus that the test
// starts itself.

#include "app/platform/BluezBattery.h"

#include <gio/gio.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/console/PrivateDbusDaemon.h"
#include "app/device/FakeHid_test.h"
#include "app/device/RecordingSessionView_test.h"
#include "app/virtualmouse/VirtualBluez.h"
#include "tests/support/TempFolder.h"

namespace {

bool WaitUntil(const std::function<bool()>& condition) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
        if (condition()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return condition();
}

class BluezBatteryTest : public ::testing::Test {
protected:
    BluezBatteryTest() : hid(nullptr, &clock) { busStarted = bus.Start(folder.Path()); }
    void OnConnection(int mode) {
        hid.CloseAllInterfaces();
        hid.SetSelectedType(101);
        hid.AddEntry(FakeEntry(&device, 101, mode));
        hid.SetOpened();
    }
    // A mouse of vendor 0x3434 with this battery (-1: paired, not connected), or another's.
    void AddMouse(VirtualBluez& bluez, const std::string& name, const std::string& modalias,
                  int battery) {
        bluez.AddDevice("/org/bluez/hci0/dev_" + name, modalias);
        if (battery >= 0) {
            bluez.SetBattery("/org/bluez/hci0/dev_" + name, battery);
        }
    }
    TempFolder folder;
    PrivateDbusDaemon bus;
    bool busStarted = false;
    FakeSleeper clock;
    FakeDeviceScript device;
    HidDeviceManager hid;
    RecordingSessionView view;
};

TEST_F(BluezBatteryTest, TheLastMouseOfTheVendorIsReadAndItsChangesFollowed) {
    ASSERT_TRUE(busStarted);
    VirtualBluez bluez(bus.Address());
    ASSERT_TRUE(bluez.Ready());
    AddMouse(bluez, "A", "usb:v3434pD034d0001", 20);
    AddMouse(bluez, "B", "usb:v046DpB012d0001", 99);
    AddMouse(bluez, "C", "usb:v3434pD034d0001", 57);
    AddMouse(bluez, "D", "usb:v3434pD044d0001", -1);
    OnConnection(2);
    BluezBatteryService service(bus.Address());
    ASSERT_TRUE(OpenBluetoothBattery(service, hid, view));
    EXPECT_TRUE(view.Saw("pages on"));
    EXPECT_TRUE(view.Saw("battery 57 0"));
    EXPECT_FALSE(view.Saw("battery 20 0"));

    bluez.SetBattery("/org/bluez/hci0/dev_A", 11);                              // not ours
    bluez.EmitPercentage("/org/bluez/hci0/dev_C", g_variant_new_string("64"));  // malformed
    bluez.SetBattery("/org/bluez/hci0/dev_C", 56);
    ASSERT_TRUE(WaitUntil([&] { return view.Saw("battery 56 0"); }));
    EXPECT_FALSE(view.Saw("battery 11 0"));
    EXPECT_FALSE(view.Saw("battery 64 0"));

    service.Close();
}

TEST_F(BluezBatteryTest, WithoutBluezOrAMatchingMouseNothingReachesTheGauge) {
    ASSERT_TRUE(busStarted);
    OnConnection(2);
    BluezBatteryService absent(bus.Address());
    EXPECT_FALSE(OpenBluetoothBattery(absent, hid, view));
    VirtualBluez bluez(bus.Address());
    ASSERT_TRUE(bluez.Ready());
    AddMouse(bluez, "B", "usb:v046DpB012d0001", 99);
    BluezBatteryService service(bus.Address());
    EXPECT_FALSE(OpenBluetoothBattery(service, hid, view));
    EXPECT_FALSE(view.Saw("battery 99 0"));
    BluezBatteryService noBus("unix:path=" + folder / "nobody");
    EXPECT_FALSE(OpenBluetoothBattery(noBus, hid, view));
}

TEST_F(BluezBatteryTest, TheBatteryGoesWithTheConnectionAndComesBackWithIt) {
    ASSERT_TRUE(busStarted);
    VirtualBluez bluez(bus.Address());
    ASSERT_TRUE(bluez.Ready());
    // Only one owner of the name on a bus.
    EXPECT_FALSE(VirtualBluez(bus.Address()).Ready());
    AddMouse(bluez, "A", "usb:v3434pD034d0108", 85);
    OnConnection(2);
    BluezBatteryService service(bus.Address());
    ASSERT_TRUE(OpenBluetoothBattery(service, hid, view));
    EXPECT_TRUE(view.Saw("battery 85 0"));
    bluez.SetBattery("/org/bluez/hci0/dev_A", 84);
    ASSERT_TRUE(WaitUntil([&] { return view.Saw("battery 84 0"); }));

    bluez.RemoveBattery("/org/bluez/hci0/dev_A");
    EXPECT_FALSE(OpenBluetoothBattery(service, hid, view));
    bluez.SetBattery("/org/bluez/hci0/dev_A", 30);
    EXPECT_TRUE(OpenBluetoothBattery(service, hid, view));
    EXPECT_TRUE(view.Saw("battery 30 0"));
}

}  // namespace
