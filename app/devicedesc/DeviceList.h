#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One model of config.xml, or one connection mode of a model (then carrying the model's
// fields too).
struct DeviceEntry {
    std::wstring name;
    int32_t device_type = 0;
    std::wstring device_attr;
    int32_t mode = 0;
    uint32_t vid = 0;
    uint32_t pid = 0;
    std::wstring desc;
    std::wstring hid_interface;
};

using DeviceEntryList = std::vector<DeviceEntry>;

// What config.xml holds: the models and their modes, both in file order, and the software
// version shown on the system page.
struct DeviceList {
    DeviceEntryList devices;
    DeviceEntryList modes;
    std::wstring softwareVersion;

    // The model combo box is hidden only when exactly one model is listed.
    bool ShowsModelList() const { return devices.size() != 1; }
    // The model to use: the stored type when it is listed, else the first model; 0 for an
    // empty list.
    int32_t SelectDeviceType(int32_t storedType) const;
    // The device_attr of the first model of this type; empty when none.
    std::wstring ModelName(int32_t deviceType) const;
    // The modes of this type, in file order: the search filters of the device link.
    DeviceEntryList ModesOf(int32_t deviceType) const;
};

// Reads config.xml. A missing or malformed file, or one whose root is not "config", gives
// empty lists and false.
bool LoadDeviceList(std::wstring_view path, DeviceList& list);

// The program folder's config.xml.
std::wstring DeviceListPath(std::wstring_view programFolder);
