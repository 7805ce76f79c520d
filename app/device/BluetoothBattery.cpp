#include "app/device/BluetoothBattery.h"

#include "app/device/ConnectionView.h"
#include "app/device/HidDeviceManager.h"

bool OpenBluetoothBattery(BluetoothBatteryService& service, HidDeviceManager& hid,
                          ConnectionView& view) {
    view.SetPagesEnabled(true);
    return service.Open([&hid, &view](int level) {
        // Registrations outlive a change of connection; the cable's own reports win then.
        if (hid.GetConnectionMode() == kModeBluetooth) {
            view.SetBatteryInfo(level, 0);
        }
    });
}
