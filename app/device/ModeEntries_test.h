#pragma once

// config.xml's connection modes of both models, as the device tests give them to the connector.

#include <vector>

#include "app/device/DeviceModeEntry.h"

inline DeviceModeEntry Mode(int type, int mode, uint32_t pid, const wchar_t* hid) {
    DeviceModeEntry m;
    m.device_type = type;
    m.mode = mode;
    m.vid = 0x3434;
    m.pid = pid;
    m.hid_interface = hid;
    return m;
}

inline std::vector<DeviceModeEntry> ConfigModes() {
    return {Mode(101, 0, 0xD032, L"VID_3434&PID_D032&MI_01"),
            Mode(101, 1, 0xD033, L"VID_3434&PID_D033&MI_01"),
            Mode(101, 2, 0xD034, L"VID_3434&PID_D034"),
            Mode(102, 0, 0xD042, L"VID_3434&PID_D042&MI_01"),
            Mode(102, 1, 0xD043, L"VID_3434&PID_D043&MI_01"),
            Mode(102, 2, 0xD044, L"VID_3434&PID_D044")};
}
