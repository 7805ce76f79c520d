#include "app/device/DeviceReports.h"

#include <algorithm>
#include <cwchar>
#include <string>

#include "app/store/DeviceDataDB.h"

namespace DeviceReports {

int ConfigInt(DeviceDataDB& db, int profile, const wchar_t* key) {
    std::wstring text;
    if (!db.GetConfigValue(profile, key, text)) {
        return 0;
    }
    return static_cast<int>(std::wcstol(text.c_str(), nullptr, 10));
}

Report Empty(uint8_t reportId, uint8_t command, size_t length) {
    Report report(length, 0);
    report[0] = reportId;
    report[1] = command;
    return report;
}

// Byte of a cable, receiver, Bluetooth triplet that stands for the connection mode.
static int TripletSlot(int mode) {
    return mode == 0 ? 0 : mode == 2 ? 2 : 1;
}

void PutTriplet(Report& report, size_t offset, int mode, uint8_t value) {
    const int slot = TripletSlot(mode);
    for (int i = 0; i < 3; ++i) {
        report[offset + i] = i == slot ? value : 0xFF;
    }
}

static void Put16(Report& report, size_t offset, int value) {
    report[offset] = static_cast<uint8_t>(value & 0xFF);
    report[offset + 1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}

Report BuildPairedIdsQuery() {
    return Empty(0x51, 0x03, kShortLength);
}

Report BuildFirmwareVersionQuery(bool mouseBehindReceiver) {
    Report r = Empty(0x51, 0x04, kShortLength);
    r[2] = mouseBehindReceiver ? 0xAA : 0x00;
    return r;
}

Report BuildDeviceInfoQuery() {
    return Empty(0x51, 0x06, kShortLength);
}
Report BuildDeviceSettingsQuery() {
    return Empty(0x51, 0x07, kShortLength);
}

Report BuildRestoreDefaults(uint8_t mask) {
    Report r = Empty(0x51, 0x0B, kResetLength);
    r[2] = 0x01;
    r[3] = mask;
    return r;
}

Report BuildFactoryReset() {
    Report r = Empty(0x51, 0x0B, kResetLength);
    r[2] = 0xAA;
    return r;
}

Report BuildCheckWirelessLink() {
    Report r = Empty(0x51, 0x0C, kShortLength);
    r[2] = 0x02;
    return r;
}

Report BuildLightingInfoQuery() {
    return Empty(0x51, 0x12, kShortLength);
}

static Report LightingReport(uint8_t command, uint8_t mode) {
    Report r = Empty(0x51, command, kShortLength);
    r[2] = 0x01;
    r[3] = mode;
    return r;
}

Report BuildLightingMode(uint8_t mode) {
    return LightingReport(0x22, mode);
}

Report BuildLightingBrightness(uint8_t mode, uint8_t brightness) {
    Report r = LightingReport(0x23, mode);
    r[4] = brightness;
    return r;
}

Report BuildLightingSpeed(uint8_t mode, uint8_t speed) {
    Report r = LightingReport(0x27, mode);
    r[4] = speed;
    return r;
}

Report BuildLightingColour(uint8_t mode, uint32_t colour) {
    Report r = LightingReport(0x28, mode);
    r[4] = static_cast<uint8_t>(colour & 0xFF);
    r[5] = static_cast<uint8_t>((colour >> 8) & 0xFF);
    r[6] = static_cast<uint8_t>((colour >> 16) & 0xFF);
    return r;
}

static const wchar_t* const kDpiKeys[5] = {L"dpi_group0_value", L"dpi_group1_value",
                                           L"dpi_group2_value", L"dpi_group3_value",
                                           L"dpi_group4_value"};

static void PutDpiLevels(Report& report, size_t offset, DeviceDataDB& db, int profile) {
    for (int level = 0; level < 5; ++level) {
        Put16(report, offset + 2 * level, ConfigInt(db, profile, kDpiKeys[level]));
    }
}

Report BuildDpiSettings(DeviceDataDB& db, int profile, int mode) {
    Report r = Empty(0x51, 0x40, kShortLength);
    PutTriplet(r, 2, mode, static_cast<uint8_t>(ConfigInt(db, profile, L"dpi_index")));
    PutDpiLevels(r, 5, db, profile);
    r[15] = static_cast<uint8_t>(ConfigInt(db, profile, L"dpi_count"));
    return r;
}

Report BuildReportRate(DeviceDataDB& db, int profile, int mode) {
    Report r = Empty(0x51, 0x41, kShortLength);
    PutTriplet(r, 2, mode, static_cast<uint8_t>(ConfigInt(db, profile, L"report_rate")));
    Put16(r, 5, 125);
    Put16(r, 7, 500);
    Put16(r, 9, 1000);
    return r;
}

Report BuildSensorSettings(DeviceDataDB& db, int profile) {
    Report r = Empty(0x51, 0x42, kShortLength);
    int flags = ConfigInt(db, profile, L"sensor_flag");
    r[2] = static_cast<uint8_t>(ConfigInt(db, profile, L"liftoff_height"));
    r[3] = (flags & 0x04) ? 1 : 2;
    r[4] = (flags & 0x08) ? 1 : 2;
    r[5] = (flags & 0x10) ? 1 : 2;
    r[7] = static_cast<uint8_t>(ConfigInt(db, profile, L"scroll_flag"));
    r[8] = static_cast<uint8_t>(ConfigInt(db, profile, L"e-sports_flag"));
    return r;
}

Report BuildDebounceTime(DeviceDataDB& db, int profile) {
    Report r = Empty(0x51, 0x43, kShortLength);
    r[2] = static_cast<uint8_t>(ConfigInt(db, profile, L"button_respondtime"));
    return r;
}

Report BuildWakeupMode(DeviceDataDB& db, int profile) {
    Report r = Empty(0x51, 0x47, kShortLength);
    r[2] = static_cast<uint8_t>(ConfigInt(db, profile, L"wakeup_mode"));
    return r;
}

Report BuildButtonFunction(uint8_t button, const std::array<uint8_t, 10>& function) {
    Report r = Empty(0x52, 0x52, kBulkLength);
    r[2] = button;
    std::copy(function.begin(), function.end(), r.begin() + 4);
    return r;
}

Report BuildButtonKindsQuery() {
    return Empty(0x52, 0x61, kBulkLength);
}

Report BuildButtonFunctionQuery(uint8_t button) {
    Report r = Empty(0x52, 0x62, kBulkLength);
    r[2] = button;
    return r;
}

Report BuildMacroNameQuery(uint8_t button) {
    Report r = Empty(0x52, 0x63, kBulkLength);
    r[2] = button;
    return r;
}

Report BuildButtonMacroQuery(uint8_t button, bool continuation) {
    Report r = Empty(0x52, 0x65, kBulkLength);
    r[2] = button;
    if (continuation) {
        r[4] = 0xFF;
        r[5] = 0xFF;
    }
    return r;
}

bool NeedsOwnReport(const ButtonAssignment& a) {
    return a.macro_type == 4 || a.macro_type == 7 || (a.macro_type == 8 && a.macro_value == 8);
}

Report BuildWriteProfile(DeviceDataDB& db, int profile, const ButtonEncoder& encode,
                         const std::function<void()>& pauseEachEntry) {
    Report r = Empty(0x52, 0x57, kBulkLength);
    r[2] = static_cast<uint8_t>(profile - 1);
    uint8_t rate = static_cast<uint8_t>(ConfigInt(db, profile, L"report_rate") * 16 +
                                        ConfigInt(db, profile, L"dpi_index"));
    r[3] = r[4] = r[5] = rate;
    PutDpiLevels(r, 6, db, profile);
    int flags = ConfigInt(db, profile, L"sensor_flag");
    uint8_t sensor = static_cast<uint8_t>(ConfigInt(db, profile, L"liftoff_height"));
    sensor |= static_cast<uint8_t>(flags & (0x04 | 0x08 | 0x10));
    if (ConfigInt(db, profile, L"scroll_flag") == 2) {
        sensor |= 0x40;
    }
    if (ConfigInt(db, profile, L"e-sports_flag") == 2) {
        sensor |= 0x80;
    }
    r[17] = sensor;
    r[18] = static_cast<uint8_t>(ConfigInt(db, profile, L"button_respondtime"));
    for (int entry = 0; entry < kProfileButtonEntries; ++entry) {
        r[20 + 4 * entry] = 0xF0;
    }
    int filled = 0;
    for (int button = 0; button < 16 && filled < kProfileButtonEntries; ++button) {
        ButtonAssignment a;
        if (!db.GetButtonAssignment(profile, button, a) || NeedsOwnReport(a)) {
            continue;
        }
        if (pauseEachEntry) {
            pauseEachEntry();
        }
        std::array<uint8_t, 7> bytes{};
        encode(a, bytes);
        size_t at = 20 + 4 * filled;
        r[at] = static_cast<uint8_t>(button * 16 + (bytes[0] & 0x0F));
        r[at + 1] = bytes[1];
        r[at + 2] = bytes[2];
        r[at + 3] = bytes[3];
        ++filled;
    }
    return r;
}

static bool Is(const uint8_t* data, size_t length, size_t needed, uint8_t id, uint8_t command) {
    return data != nullptr && length >= needed && data[0] == id && data[1] == command;
}

std::optional<DeviceInfo> ParseDeviceInfo(const uint8_t* d, size_t length) {
    if (!Is(d, length, 13, 0x51, 0x06)) {
        return std::nullopt;
    }
    DeviceInfo info;
    info.value2 = static_cast<uint16_t>(d[2] | (d[3] << 8));
    info.value4 = d[4] | (d[5] << 8) | (d[6] << 16) | (static_cast<uint32_t>(d[7]) << 24);
    info.value8 = static_cast<uint16_t>(d[8] | (d[9] << 8));
    info.work_mode = d[10] & 0x07;
    info.online = (d[10] & 0x08) != 0;
    info.battery_level = d[11];
    info.charging = d[12];
    return info;
}

// The work mode's byte of the triplet: level in the low four bits, rate code above them.
static std::optional<uint8_t> ConnectionByte(const DeviceSettings& s, int workMode) {
    if (workMode < 0 || workMode > 3) {
        return std::nullopt;
    }
    return s.per_connection[TripletSlot(workMode)];
}

std::optional<int> DeviceSettings::Level(int workMode) const {
    std::optional<uint8_t> byte = ConnectionByte(*this, workMode);
    return byte ? std::optional<int>(*byte & 0x0F) : std::nullopt;
}

std::optional<int> DeviceSettings::RateCode(int workMode) const {
    std::optional<uint8_t> byte = ConnectionByte(*this, workMode);
    return byte ? std::optional<int>((*byte >> 4) & 0x07) : std::nullopt;
}

std::optional<DeviceSettings> ParseDeviceSettings(const uint8_t* d, size_t length) {
    // A profile the program does not have would be written nowhere sensible.
    if (!Is(d, length, 20, 0x51, 0x07) || d[2] > 4) {
        return std::nullopt;
    }
    DeviceSettings s;
    s.profile_index = d[2];
    s.per_connection = {d[3], d[4], d[5]};
    for (int level = 0; level < 5; ++level) {
        s.dpi[level] = d[6 + 2 * level] | (d[7 + 2 * level] << 8);
    }
    s.sensor = d[16];
    s.dpi_flag = d[17];
    s.debounce = d[18];
    return s;
}

std::optional<LightingInfo> ParseLightingInfo(const uint8_t* d, size_t length) {
    if (!Is(d, length, 5, 0x51, 0x12)) {
        return std::nullopt;
    }
    return LightingInfo{d[2], d[3], d[4]};
}

// Text after its length byte at `at`, bounded by max and by what arrived, cut at a NUL.
static std::string LengthPrefixedText(const uint8_t* d, size_t length, size_t at, size_t max) {
    size_t n = std::min<size_t>({d[at], max, length - at - 1});
    std::string text(reinterpret_cast<const char*>(d + at + 1), n);
    return text.substr(0, text.find('\0'));
}

std::string ParseFirmwareVersion(const uint8_t* d, size_t length) {
    if (!Is(d, length, 3, 0x51, 0x04)) {
        return {};
    }
    return LengthPrefixedText(d, length, 2, kFirmwareTextMax);
}

std::string ParseMacroName(const uint8_t* d, size_t length) {
    if (!Is(d, length, 4, 0x52, 0x63)) {
        return {};
    }
    return LengthPrefixedText(d, length, 3, kMacroNameMax);
}

std::optional<MacroPacket> ParseButtonMacroPacket(const uint8_t* d, size_t length) {
    if (!Is(d, length, 7, 0x52, 0x65) || d[6] > kMacroPacketData || d[6] > length - 7) {
        return std::nullopt;
    }
    MacroPacket packet;
    packet.more = d[3] == 1;
    packet.data.assign(d + 7, d + 7 + d[6]);
    return packet;
}

std::optional<std::array<uint8_t, 16>> ParseButtonKinds(const uint8_t* d, size_t length) {
    if (!Is(d, length, 18, 0x52, 0x61)) {
        return std::nullopt;
    }
    std::array<uint8_t, 16> kinds{};
    std::copy(d + 2, d + 18, kinds.begin());
    return kinds;
}

std::optional<std::array<uint8_t, 6>> ParseButtonFunction(const uint8_t* d, size_t length) {
    if (!Is(d, length, 11, 0x52, 0x62)) {
        return std::nullopt;
    }
    std::array<uint8_t, 6> bytes{};
    std::copy(d + 5, d + 11, bytes.begin());
    return bytes;
}

std::optional<DeviceReport> ParseDeviceReport(const uint8_t* d, size_t length) {
    if (d == nullptr || length < 2 || d[0] != 0x54) {
        return std::nullopt;
    }
    DeviceReport report;
    report.kind = d[1];
    switch (d[1]) {
        case 0xE0:
        case 0xE3:
        case 0xE6:
            return report;
        case 0xE1:
            if (length < 13) {
                return std::nullopt;
            }
            report.lighting.mode = d[2];
            report.lighting.speed = d[4];
            report.lighting.brightness = d[5];
            report.lighting.colour = d[6] | (d[7] << 8) | (d[8] << 16);
            std::copy(d + 9, d + 13, report.lighting.kept.begin());
            return report;
        case 0xE2:
            if (length < 10) {
                return std::nullopt;
            }
            report.mouse = {d[2], d[3], d[4], d[5], d[6], d[7]};
            return report;
        case 0xE4:
            if (length < 3) {
                return std::nullopt;
            }
            report.status = d[2];
            return report;
        default:
            return std::nullopt;
    }
}

}  // namespace DeviceReports
