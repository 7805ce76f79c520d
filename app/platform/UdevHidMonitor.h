#pragma once

#include <map>
#include <string>
#include <thread>

#include "app/device/DeviceChange.h"

class HidBackend;

// hidraw nodes appearing and vanishing, from a libudev monitor on its own thread. Identities
// are remembered from arrival (and from the nodes present at start) so removals can be told.
class UdevHidMonitor : public DeviceChangeSource {
public:
    explicit UdevHidMonitor(HidBackend& backend);
    ~UdevHidMonitor() override;
    bool Start(DeviceChangeHandler handler) override;
    void Stop() override;

private:
    void Run(DeviceChangeHandler handler);

    HidBackend& backend_;
    struct udev* udev_ = nullptr;
    struct udev_monitor* monitor_ = nullptr;
    int stopPipe_[2] = {-1, -1};
    std::thread thread_;
    std::map<std::string, std::string> identities_;
};
