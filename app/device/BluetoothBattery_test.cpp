#include "app/device/BluetoothBattery.h"

#include <gtest/gtest.h>

#include "app/device/FakeHid_test.h"
#include "app/device/RecordingSessionView_test.h"

namespace {

class HeldService : public BluetoothBatteryService {
public:
    bool Open(LevelHandler h) override {
        handler = std::move(h);
        return true;
    }
    void Close() override {}
    LevelHandler handler;
};

TEST(BluetoothBattery, LevelsReachTheGaugeOnlyWhileTheConnectionIsBluetooth) {
    FakeSleeper clock;
    FakeDeviceScript device;
    HidDeviceManager hid(nullptr, &clock);
    auto attach = [&](int mode) {
        hid.CloseAllInterfaces();
        hid.SetSelectedType(101);
        hid.AddEntry(FakeEntry(&device, 101, mode));
        hid.SetOpened();
    };
    RecordingSessionView view;
    HeldService service;
    attach(2);
    ASSERT_TRUE(OpenBluetoothBattery(service, hid, view));
    EXPECT_TRUE(view.Saw("pages on"));
    service.handler(57);
    EXPECT_TRUE(view.Saw("battery 57 0"));
    attach(0);  // the mouse moved to the cable
    service.handler(40);
    EXPECT_FALSE(view.Saw("battery 40 0"));
}

}  // namespace
