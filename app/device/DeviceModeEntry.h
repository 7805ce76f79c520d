#pragma once

#include <cstdint>
#include <string>

// One mode record of config.xml with the fields of its mouse entry (the DeviceEntry shape).
struct DeviceModeEntry {
    std::wstring name;
    int32_t device_type = 0;
    std::wstring device_attr;
    int32_t mode = 0;
    uint32_t vid = 0;
    uint32_t pid = 0;
    std::wstring desc;
    std::wstring hid_interface;
};
