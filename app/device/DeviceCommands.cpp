#include "app/device/DeviceCommands.h"

#include <string>

#include "app/device/AnsiText.h"
#include "app/device/DeviceTrace.h"
#include "app/device/HidDeviceManager.h"
#include "app/store/DeviceDataDB.h"

using namespace DeviceReports;

namespace {
using Exchange = bool (DeviceCommands::*)(Report&, const char*);

// Runs a reading exchange and parses its answer; a malformed answer is traced and leaves `out`
// as it was.
template <typename Value, typename Parser>
bool ReadParsed(DeviceCommands& commands, Exchange exchange, Report report, const char* name,
                Parser parse, Value& out) {
    if (!(commands.*exchange)(report, name)) {
        return false;
    }
    auto parsed = parse(report.data(), report.size());
    if (!parsed) {
        TraceDeviceFailure(std::string(name) + ": malformed answer");
        return false;
    }
    out = std::move(*parsed);
    return true;
}
}  // namespace

DeviceCommands::DeviceCommands(HidDeviceManager& hid, DeviceDataDB& db) : hid_(hid), db_(db) {}

bool DeviceCommands::Fail(const char* name, const char* what) {
    TraceDeviceFailure(std::string(name) + ": " + what);
    return false;
}

bool DeviceCommands::Send(Report& report, const char* name) {
    return hid_.SendFeatureReport(report.data(), report.size(), false) || Fail(name, "send failed");
}

bool DeviceCommands::SendReadBack(Report& report, const char* name) {
    size_t received = 0;
    if (!hid_.SendFeatureReport(report.data(), report.size(), true, &received)) {
        return Fail(name, "no answer");
    }
    // Past what came back the buffer still holds the request; the parsers see only the answer.
    report.resize(received);
    return true;
}

bool DeviceCommands::ReadExchange(Report& report, const char* name) {
    if (!IsReceiverMode(hid_.GetConnectionMode())) {
        return SendReadBack(report, name);
    }
    size_t received = 0;
    if (!hid_.SendAndWaitAck(report.data(), report.size(), &received)) {
        return Fail(name, "not acknowledged");
    }
    report.resize(received);
    return true;
}

bool DeviceCommands::ReadDeviceInfo(DeviceInfo& info) {
    return ReadParsed(*this, &DeviceCommands::SendReadBack, BuildDeviceInfoQuery(), "0x51 0x06",
                      ParseDeviceInfo, info);
}

bool DeviceCommands::ReadDeviceSettings(DeviceSettings& settings) {
    return ReadParsed(*this, &DeviceCommands::SendReadBack, BuildDeviceSettingsQuery(), "0x51 0x07",
                      ParseDeviceSettings, settings);
}

bool DeviceCommands::ReadLightingInfo(LightingInfo& info) {
    return ReadParsed(*this, &DeviceCommands::ReadExchange, BuildLightingInfoQuery(), "0x51 0x12",
                      ParseLightingInfo, info);
}

bool DeviceCommands::SendLightingMode(int mode) {
    Report r = BuildLightingMode(static_cast<uint8_t>(mode));
    return Send(r, "0x51 0x22");
}

bool DeviceCommands::SendTwice(const Report& report, const char* name) {
    bool ok = true;
    for (int i = 0; i < 2; ++i) {
        Report r = report;
        ok = Send(r, name) && ok;
    }
    return ok;
}

bool DeviceCommands::SendLightingBrightness(int mode, int brightness) {
    return SendTwice(
        BuildLightingBrightness(static_cast<uint8_t>(mode), static_cast<uint8_t>(brightness)),
        "0x51 0x23");
}

bool DeviceCommands::SendLightingSpeed(int mode, int speed) {
    return SendTwice(BuildLightingSpeed(static_cast<uint8_t>(mode), static_cast<uint8_t>(speed)),
                     "0x51 0x27");
}

bool DeviceCommands::SendLightingColour(int mode, uint32_t colour) {
    Report r = BuildLightingColour(static_cast<uint8_t>(mode), colour);
    return Send(r, "0x51 0x28");
}

bool DeviceCommands::SendDpiSettings(int profile) {
    Report r = BuildDpiSettings(db_, profile, hid_.GetConnectionMode());
    return Send(r, "0x51 0x40");
}

bool DeviceCommands::SendReportRate(int profile) {
    Report r = BuildReportRate(db_, profile, hid_.GetConnectionMode());
    return Send(r, "0x51 0x41");
}

bool DeviceCommands::SendSensorSettings(int profile) {
    int attempts = IsReceiverMode(hid_.GetConnectionMode()) ? 10 : 1;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        Report r = BuildSensorSettings(db_, profile);
        bool sent = hid_.SendFeatureReport(r.data(), r.size(), false);
        if (attempts > 1) {
            hid_.Clock().SleepMs(100);
        }
        if (sent) {
            return true;
        }
    }
    return Fail("0x51 0x42", "send failed");
}

bool DeviceCommands::SendDebounceTime(int profile) {
    Report r = BuildDebounceTime(db_, profile);
    return Send(r, "0x51 0x43");
}

bool DeviceCommands::SendWakeupMode(int profile) {
    Report r = BuildWakeupMode(db_, profile);
    return Send(r, "0x51 0x47");
}

bool DeviceCommands::SendButtonFunction(int button, const std::array<uint8_t, 10>& function) {
    Report r = BuildButtonFunction(static_cast<uint8_t>(button), function);
    return Send(r, "0x52 0x52");
}

bool DeviceCommands::ResetButtonFunction(int button) {
    return SendButtonFunction(button, {});
}

bool DeviceCommands::RestoreDefaults(uint8_t mask) {
    Report r = BuildRestoreDefaults(mask);
    return Send(r, "0x51 0x0B");
}

bool DeviceCommands::FactoryReset() {
    Report r = BuildFactoryReset();
    return Send(r, "0x51 0x0B");
}

bool DeviceCommands::CheckWirelessLink() {
    Report r = BuildCheckWirelessLink();
    bool refused = false;
    bool up =
        hid_.SendAndAwaitReply(r.data(), r.size(), 10, 200, [&](const uint8_t* report, int size) {
            auto parsed = ParseDeviceReport(report, size);
            if (parsed && parsed->kind == 0xE3) {
                return 1;
            }
            if (parsed && parsed->kind == 0xE4 && parsed->status >= 2) {
                refused = true;
                return -1;
            }
            return 0;
        });
    if (up) {
        return true;
    }
    return Fail("0x51 0x0C", refused ? "mouse not reachable" : "no answer");
}

bool DeviceCommands::ReadButtonFunctions(DeviceButtonFunctions& out) {
    std::array<uint8_t, 16> kinds{};
    if (!ReadParsed(*this, &DeviceCommands::ReadExchange, BuildButtonKindsQuery(), "0x52 0x61",
                    ParseButtonKinds, kinds)) {
        return false;
    }
    DeviceButtonFunctions read;
    for (int button = 0; button < 16; ++button) {
        uint8_t kind = kinds[button];
        DeviceButtonEntry& entry = read.entries[button];
        if (kind == 0) {
            continue;
        }
        entry.button = static_cast<uint8_t>(button);
        entry.kind = kind;
        if (kind == 4) {
            std::vector<uint8_t> data;
            bool more = true;
            for (int packet = 0; more; ++packet) {
                if (packet == kMaxMacroPackets) {
                    return Fail("0x52 0x65", "too many packets");
                }
                MacroPacket parsed;
                if (!ReadParsed(*this, &DeviceCommands::ReadExchange,
                                BuildButtonMacroQuery(static_cast<uint8_t>(button), packet > 0),
                                "0x52 0x65", ParseButtonMacroPacket, parsed)) {
                    return false;
                }
                data.insert(data.end(), parsed.data.begin(), parsed.data.end());
                more = parsed.more;
            }
            if (!data.empty()) {
                read.macros.emplace_back(button, std::move(data));
            }
            continue;
        }
        if (!ReadParsed(*this, &DeviceCommands::ReadExchange,
                        BuildButtonFunctionQuery(static_cast<uint8_t>(button)), "0x52 0x62",
                        ParseButtonFunction, entry.function)) {
            return false;
        }
    }
    out = std::move(read);
    return true;
}

std::wstring DeviceCommands::ReadFirmwareVersion(bool mouseBehindReceiver, int languageId) {
    Report r = BuildFirmwareVersionQuery(mouseBehindReceiver);
    if (!hid_.IsOpened() || !SendReadBack(r, "0x51 0x04")) {
        return L"0.0";
    }
    std::string text = ParseFirmwareVersion(r.data(), r.size());
    if (text.empty()) {
        return L"0.0";
    }
    return AnsiToWide(text, languageId);
}

bool DeviceCommands::WriteProfile(int profile, const ButtonEncoder& encode,
                                  const std::function<void(int button)>& sendMacro) {
    Sleeper& clock = hid_.Clock();
    Report r = BuildWriteProfile(db_, profile, encode, [&clock] { clock.SleepMs(10); });
    if (!Send(r, "0x52 0x57")) {
        return false;
    }
    for (int button = 0; button < 18; ++button) {
        clock.SleepMs(10);
        ButtonAssignment a;
        if (!db_.GetButtonAssignment(profile, button, a) || !NeedsOwnReport(a)) {
            continue;
        }
        if (a.macro_type == 4) {
            if (sendMacro) {
                sendMacro(button);
            }
            continue;
        }
        std::array<uint8_t, 7> bytes{};
        encode(a, bytes);
        std::array<uint8_t, 10> function{};
        std::copy(bytes.begin(), bytes.end(), function.begin());
        SendButtonFunction(button, function);
    }
    return true;
}
