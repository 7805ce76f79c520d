#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The bus an interface is attached by, as the identity text names it.
enum class HidBus { Usb, Bluetooth, Virtual };

// What enumeration tells about one HID interface (one top-level collection).
struct HidInterfaceInfo {
    std::string path;  // what Open takes
    uint16_t vendor_id = 0;
    uint16_t product_id = 0;
    uint16_t release_number = 0;
    uint16_t usage_page = 0;
    uint16_t usage = 0;
    int interface_number = -1;  // USB interface number, -1 when the bus has none
    HidBus bus = HidBus::Usb;
};

// One open HID interface. Results follow hidapi: bytes transferred, 0 for nothing, -1 for an
// error. Buffers begin with the report id.
class HidDevice {
public:
    virtual ~HidDevice() = default;
    virtual int SendFeatureReport(const uint8_t* data, size_t length) = 0;
    virtual int GetFeatureReport(uint8_t* data, size_t length) = 0;
    // One input report, waiting at most timeoutMs; a report that arrives later is kept for the
    // next call.
    virtual int ReadInputReport(uint8_t* data, size_t length, int timeoutMs) = 0;
    virtual std::wstring Manufacturer() = 0;
    virtual std::wstring Product() = 0;
};

// The operating-system side of HID access: real hidraw nodes or the virtual mouse.
class HidBackend {
public:
    virtual ~HidBackend() = default;
    virtual std::vector<HidInterfaceInfo> Enumerate() = 0;
    virtual std::unique_ptr<HidDevice> Open(const std::string& path) = 0;
    // Attributes of the interface at path (for a device that just arrived); false when gone.
    virtual bool Describe(const std::string& path, HidInterfaceInfo& info) = 0;
};
