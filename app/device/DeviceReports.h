#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/store/Records.h"

class DeviceDataDB;

// Report layouts of the vendor command set: builders that read their values from the store
// and parsers that check every length and offset the device gives before using it.
namespace DeviceReports {

using Report = std::vector<uint8_t>;

inline constexpr size_t kShortLength = 21;  // 0x51 commands and every input report
inline constexpr size_t kResetLength = 64;  // 0x51 0x0B
inline constexpr size_t kBulkLength = 65;   // 0x52 commands
inline constexpr size_t kMacroPacketData = 58;
inline constexpr size_t kMacroNameMax = 61;
inline constexpr size_t kFirmwareTextMax = 18;
inline constexpr int kProfileButtonEntries = 11;

// Decimal text of a configuration row of the profile, 0 when missing or not a number.
int ConfigInt(DeviceDataDB& db, int profile, const wchar_t* key);

Report Empty(uint8_t reportId, uint8_t command, size_t length);
// Three bytes cable, receiver, Bluetooth: the value in the current mode's byte, 0xFF elsewhere.
void PutTriplet(Report& report, size_t offset, int mode, uint8_t value);

Report BuildPairedIdsQuery();
Report BuildFirmwareVersionQuery(bool mouseBehindReceiver);
Report BuildDeviceInfoQuery();
Report BuildDeviceSettingsQuery();
Report BuildRestoreDefaults(uint8_t mask);
Report BuildFactoryReset();
Report BuildCheckWirelessLink();
Report BuildLightingInfoQuery();
Report BuildLightingMode(uint8_t mode);
Report BuildLightingBrightness(uint8_t mode, uint8_t brightness);
Report BuildLightingSpeed(uint8_t mode, uint8_t speed);
Report BuildLightingColour(uint8_t mode, uint32_t colour);  // 0x00BBGGRR, low byte first
Report BuildDpiSettings(DeviceDataDB& db, int profile, int mode);
Report BuildReportRate(DeviceDataDB& db, int profile, int mode);
Report BuildSensorSettings(DeviceDataDB& db, int profile);
Report BuildDebounceTime(DeviceDataDB& db, int profile);
Report BuildWakeupMode(DeviceDataDB& db, int profile);
// Ten function bytes; all zero restores the button's default.
Report BuildButtonFunction(uint8_t button, const std::array<uint8_t, 10>& function);
Report BuildButtonKindsQuery();
Report BuildButtonFunctionQuery(uint8_t button);
Report BuildMacroNameQuery(uint8_t button);
Report BuildButtonMacroQuery(uint8_t button, bool continuation);

// Device bytes of one assignment (byte 0 the kind, up to 7 bytes).
using ButtonEncoder = std::function<void(const ButtonAssignment&, std::array<uint8_t, 7>&)>;
// Buttons that need more than three function bytes: kind 4, 7, or 8 with value 8.
bool NeedsOwnReport(const ButtonAssignment& assignment);
// pauseEachEntry is called before each button is encoded (the device wants them spaced).
Report BuildWriteProfile(DeviceDataDB& db, int profile, const ButtonEncoder& encode,
                         const std::function<void()>& pauseEachEntry = {});

// Answers and device reports.

struct DeviceInfo {
    uint16_t value2 = 0;
    uint32_t value4 = 0;
    uint16_t value8 = 0;
    int work_mode = 0;
    bool online = false;
    int battery_level = 0;
    int charging = 0;
};
std::optional<DeviceInfo> ParseDeviceInfo(const uint8_t* data, size_t length);

struct DeviceSettings {
    int profile_index = 0;  // 0-based
    std::array<uint8_t, 3> per_connection{};
    std::array<int, 5> dpi{};
    uint8_t sensor = 0;
    uint8_t dpi_flag = 0;
    uint8_t debounce = 0;
    // The current level and rate code of the work mode; none for a work mode above 3.
    std::optional<int> Level(int workMode) const;
    std::optional<int> RateCode(int workMode) const;
};
std::optional<DeviceSettings> ParseDeviceSettings(const uint8_t* data, size_t length);

struct LightingInfo {
    int version = 0;
    int mode_count = 0;
    int current_mode = 0;
};
std::optional<LightingInfo> ParseLightingInfo(const uint8_t* data, size_t length);

// The version text's bytes (ANSI code page), empty when the length byte is 0 or no answer.
std::string ParseFirmwareVersion(const uint8_t* data, size_t length);
// Macro name bytes of a 0x52 0x63 answer, at most 61.
std::string ParseMacroName(const uint8_t* data, size_t length);

struct MacroPacket {
    bool more = false;
    std::vector<uint8_t> data;
};
std::optional<MacroPacket> ParseButtonMacroPacket(const uint8_t* data, size_t length);
std::optional<std::array<uint8_t, 16>> ParseButtonKinds(const uint8_t* data, size_t length);
std::optional<std::array<uint8_t, 6>> ParseButtonFunction(const uint8_t* data, size_t length);

struct LightingState {
    int mode = 0;
    int speed = 0;
    int brightness = 0;
    uint32_t colour = 0;
    std::array<uint8_t, 4> kept{};  // bytes 9-12
};
struct MouseState {
    int work_mode = 0;
    int online = 0;
    int charging = 0;
    int battery_level = 0;
    int dpi_level = 0;
    int rate_code = 0;
};
struct DeviceReport {
    uint8_t kind = 0;  // byte 1: 0xE0 to 0xE6
    LightingState lighting;
    MouseState mouse;
    int status = 0;  // 0xE4
};
std::optional<DeviceReport> ParseDeviceReport(const uint8_t* data, size_t length);

}  // namespace DeviceReports
