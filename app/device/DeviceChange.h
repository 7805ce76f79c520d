#pragma once

#include <functional>
#include <string>

// A HID interface appearing or vanishing, from the udev monitor or the virtual mouse's folder.
struct DeviceChange {
    enum Kind { Arrival = 0x8000, Removal = 0x8004 };
    int kind = Arrival;
    std::string path;
    std::string identity;  // as it was known; a removed interface can no longer be asked
};

using DeviceChangeHandler = std::function<void(const DeviceChange&)>;

// A source of device changes; Start calls the handler from a thread of its own.
class DeviceChangeSource {
public:
    virtual ~DeviceChangeSource() = default;
    virtual bool Start(DeviceChangeHandler handler) = 0;
    virtual void Stop() = 0;
};
