#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/device/DeviceReports.h"

class DeviceDataDB;
class HidDeviceManager;

// One button as read from the mouse: index, kind and function bytes 1 to 6.
struct DeviceButtonEntry {
    uint8_t button = 0;
    uint8_t kind = 0;
    std::array<uint8_t, 6> function{};
};

struct DeviceButtonFunctions {
    std::array<DeviceButtonEntry, 16> entries{};
    // Device form of each macro button's macro, by button index.
    std::vector<std::pair<int, std::vector<uint8_t>>> macros;
};

// The commands of the vendor protocol, sent to the command interface the manager picks; values
// are read from the store's rows of the given profile. Every failed exchange is traced.
class DeviceCommands {
public:
    // A device that keeps announcing more macro packets stops being read after this many.
    static constexpr int kMaxMacroPackets = 64;

    DeviceCommands(HidDeviceManager& hid, DeviceDataDB& db);

    bool ReadDeviceInfo(DeviceReports::DeviceInfo& info);
    bool ReadDeviceSettings(DeviceReports::DeviceSettings& settings);
    bool ReadLightingInfo(DeviceReports::LightingInfo& info);
    bool SendLightingMode(int mode);
    bool SendLightingBrightness(int mode, int brightness);
    bool SendLightingSpeed(int mode, int speed);
    bool SendLightingColour(int mode, uint32_t colour);
    bool SendDpiSettings(int profile);
    bool SendReportRate(int profile);
    bool SendSensorSettings(int profile);
    bool SendDebounceTime(int profile);
    bool SendWakeupMode(int profile);
    bool SendButtonFunction(int button, const std::array<uint8_t, 10>& function);
    bool ResetButtonFunction(int button);
    bool RestoreDefaults(uint8_t mask);
    bool FactoryReset();
    bool CheckWirelessLink();
    bool ReadButtonFunctions(DeviceButtonFunctions& out);
    // "0.0" when nothing usable came back.
    std::wstring ReadFirmwareVersion(bool mouseBehindReceiver, int languageId);
    // Macro buttons are handed to sendMacro (the macro transfer), kinds 7 and 8/8 get their
    // own 0x52 0x52.
    bool WriteProfile(int profile, const DeviceReports::ButtonEncoder& encode,
                      const std::function<void(int button)>& sendMacro);

    // The exchange kinds. The reading ones leave the report as long as the answer was.
    bool Send(DeviceReports::Report& report, const char* name);
    bool SendReadBack(DeviceReports::Report& report, const char* name);
    bool ReadExchange(DeviceReports::Report& report, const char* name);

private:
    bool Fail(const char* name, const char* what);
    // The device wants some lighting values sent twice.
    bool SendTwice(const DeviceReports::Report& report, const char* name);

    HidDeviceManager& hid_;
    DeviceDataDB& db_;
};
