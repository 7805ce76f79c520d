#pragma once

#include <memory>
#include <string>

#include "app/device/BluetoothBattery.h"

// The battery of the Bluetooth mouse through BlueZ on the system D-Bus: the org.bluez.Device1
// of vendor 0x3434 (by its Modalias) that carries org.bluez.Battery1. Percentage is read once
// and followed through PropertiesChanged on a thread with a main loop of its own.
class BluezBatteryService : public BluetoothBatteryService {
public:
    // An empty address means the system bus.
    explicit BluezBatteryService(std::string busAddress = {});
    ~BluezBatteryService() override;

    bool Open(LevelHandler handler) override;
    void Close() override;

private:
    struct Loop;
    std::string address_;
    std::unique_ptr<Loop> loop_;
};

// The bus to find BlueZ on: $TALVANE_BLUEZ_BUS when set, else empty (the system bus).
std::string BluezBusFromEnvironment();
