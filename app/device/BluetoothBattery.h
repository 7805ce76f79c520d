#pragma once

#include <functional>

class ConnectionView;
class HidDeviceManager;

// The Battery Service of the Bluetooth LE mouse, as the operating system's Bluetooth stack
// offers it. Levels arrive on a thread of the service's own.
class BluetoothBatteryService {
public:
    using LevelHandler = std::function<void(int level)>;
    virtual ~BluetoothBatteryService() = default;
    // Closes an open service first, then finds the last mouse of vendor 0x3434 with a battery,
    // hands its level to handler once and then every change. False when there is none.
    virtual bool Open(LevelHandler handler) = 0;
    virtual void Close() = 0;
};

// Opens the service for a Bluetooth-only connection; its levels reach the gauge (charging 0)
// only while the connection is still Bluetooth.
bool OpenBluetoothBattery(BluetoothBatteryService& service, HidDeviceManager& hid,
                          ConnectionView& view);
