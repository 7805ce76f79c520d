#include "app/console/HeadlessSessionView.h"

#include "app/device/BluetoothBattery.h"

void HeadlessSessionView::AttachBluetoothBattery(BluetoothBatteryService* service,
                                                 HidDeviceManager* hid) {
    std::lock_guard guard(attachLock_);
    battery_ = service;
    hid_ = hid;
}

void HeadlessSessionView::OpenBluetoothBattery() {
    BluetoothBatteryService* service;
    HidDeviceManager* hid;
    {
        std::lock_guard guard(attachLock_);
        service = battery_;
        hid = hid_;
    }
    if (service != nullptr && hid != nullptr) {
        ::OpenBluetoothBattery(*service, *hid, *this);
    }
}
