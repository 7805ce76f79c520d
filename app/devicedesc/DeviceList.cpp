#include "app/devicedesc/DeviceList.h"

#include "app/devicedesc/AttributeNumbers.h"
#include "app/xml/XmlDocument.h"

int32_t DeviceList::SelectDeviceType(int32_t storedType) const {
    if (devices.empty()) {
        return 0;
    }
    for (const DeviceEntry& device : devices) {
        if (device.device_type == storedType) {
            return storedType;
        }
    }
    return devices.front().device_type;
}

std::wstring DeviceList::ModelName(int32_t deviceType) const {
    for (const DeviceEntry& device : devices) {
        if (device.device_type == deviceType) {
            return device.device_attr;
        }
    }
    return {};
}

DeviceEntryList DeviceList::ModesOf(int32_t deviceType) const {
    DeviceEntryList result;
    for (const DeviceEntry& mode : modes) {
        if (mode.device_type == deviceType) {
            result.push_back(mode);
        }
    }
    return result;
}

bool LoadDeviceList(std::wstring_view path, DeviceList& list) {
    list = DeviceList{};
    XmlDocument document;
    if (!document.LoadFile(path) || !document.FindElement(L"config")) {
        return false;
    }
    document.EnterElement();
    if (document.FindElement(L"device")) {
        document.EnterElement();
        while (document.FindElement(L"mouse")) {
            DeviceEntry device;
            device.name = document.ReadAttribute(L"name");
            device.device_type = ParseDecimalAttribute(document.ReadAttribute(L"device_type"));
            device.device_attr = document.ReadAttribute(L"device_attr");
            list.devices.push_back(device);
            document.EnterElement();
            while (document.FindElement(L"mode")) {
                DeviceEntry mode = device;
                mode.mode = ParseDecimalAttribute(document.ReadAttribute(L"value"));
                mode.desc = document.ReadAttribute(L"desc");
                mode.vid = ParseHexAttribute(document.ReadAttribute(L"vid"));
                mode.pid = ParseHexAttribute(document.ReadAttribute(L"pid"));
                mode.hid_interface = document.ReadAttribute(L"hid_interface");
                list.modes.push_back(mode);
            }
            document.LeaveElement();
        }
        document.LeaveElement();
    }
    if (document.FindElement(L"software")) {
        list.softwareVersion = document.ReadAttribute(L"version");
    }
    return true;
}

std::wstring DeviceListPath(std::wstring_view programFolder) {
    return std::wstring(programFolder) + L"config.xml";
}
