#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "app/device/DeviceChange.h"
#include "app/device/DeviceModeEntry.h"

class ConnectionView;
class DeviceTaskQueue;
class HidDeviceManager;

// Finds the interfaces of the chosen model, tells how the mouse is attached and turns plugging
// and unplugging into task codes 2 and 3.
class DeviceConnector {
public:
    static constexpr int kTaskArrival = 2;
    static constexpr int kTaskRemoval = 3;

    DeviceConnector(HidDeviceManager& hid, ConnectionView& view, DeviceTaskQueue& tasks);

    // Every mode record of the configuration file, in file order.
    void SetModeEntries(std::vector<DeviceModeEntry> entries);
    void SetCurrentType(int deviceType);
    int CurrentType() const;

    void ConnectDevices();
    void EnumerateDevice();
    void UpdateUSBDevice(const DeviceChange& change);

    bool Connected() const;
    bool PagesEnabled() const;
    bool LightingTabShown() const;
    // The mouse behind a receiver was last reported online (by the device reports).
    void SetMouseOnline(bool online);
    std::vector<DeviceModeEntry> ModeList() const;

private:
    HidDeviceManager& hid_;
    ConnectionView& view_;
    DeviceTaskQueue& tasks_;
    mutable std::mutex lock_;
    std::vector<DeviceModeEntry> allModes_;
    std::vector<DeviceModeEntry> modeList_;
    int currentType_ = 0;
    bool connected_ = false;
    bool pagesEnabled_ = false;
    bool lightingShown_ = false;
    bool mouseOnline_ = false;
};
