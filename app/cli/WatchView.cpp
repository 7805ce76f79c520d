#include "app/cli/WatchView.h"

#include <cstdio>

#include "app/cli/CliOutput.h"
#include "app/cli/JsonWriter.h"
#include "app/lang/LangText.h"
#include "quorl/core/Utf8.h"

namespace {

struct StatusMeaning {
    int textId;
    const char* connection;
    bool online;
};
constexpr StatusMeaning kStatuses[] = {
    {50, "none", false},     {51, "cable", true},     {52, "receiver", true},
    {53, "receiver", false}, {54, "bluetooth", true}, {55, "bluetooth", false},
};

}  // namespace

void WatchView::Changed(std::optional<std::string>& last, const std::string& value,
                        const std::string& line, const std::string& json) {
    {
        std::lock_guard guard(lock_);
        if (quiet_ || last == value) {
            return;
        }
        last = value;
    }
    out_.Json() ? out_.Line(json) : out_.Line(line);
}

void WatchView::SetStatusText(int textId) {
    for (const StatusMeaning& s : kStatuses) {
        if (s.textId != textId) {
            continue;
        }
        const std::string text = Quorl::WideToUtf8(GetLangText(L"LAN", textId));
        const std::string value = std::string(s.connection) + (s.online ? " online" : " offline");
        const std::string state =
            textId == 50 ? "none"
                         : std::string(s.connection) + ", " + (s.online ? "online" : "offline");
        Changed(connection_, value,
                "connection: " + state + (text.empty() ? "" : " (" + text + ")"),
                JsonValue::MakeObject()
                    .Set("event", "connection")
                    .Set("connection", s.connection)
                    .Set("online", s.online)
                    .Set("text", text)
                    .Dump());
        return;
    }
}

void WatchView::SetQuiet(bool quiet) {
    std::lock_guard guard(lock_);
    quiet_ = quiet;
}

void WatchView::ShowNoMouse() {
    Changed(connection_, "none offline", "connection: none (waiting for the mouse)",
            JsonValue::MakeObject()
                .Set("event", "connection")
                .Set("connection", "none")
                .Set("online", false)
                .Dump());
}

void WatchView::SetBatteryInfo(int level, int charging) {
    // Charging state 2 is the empty gauge of a mouse that is not there.
    if (charging == 2) {
        Changed(battery_, "none", "battery: unknown",
                JsonValue::MakeObject().Set("event", "battery").Set("battery", JsonValue()).Dump());
        return;
    }
    const std::string value = std::to_string(level) + (charging ? " charging" : "");
    Changed(battery_, value,
            "battery: " + std::to_string(level) + "%" + (charging ? ", charging" : ""),
            JsonValue::MakeObject()
                .Set("event", "battery")
                .Set("battery", level)
                .Set("charging", charging != 0)
                .Dump());
}

void WatchView::SetCurrentDpiLevel(int level) {
    Changed(dpiLevel_, std::to_string(level), "dpi level: " + std::to_string(level + 1),
            JsonValue::MakeObject().Set("event", "dpi_level").Set("level", level + 1).Dump());
}

void WatchView::CheckReportRateButton(int rateCode) {
    static const int kHertz[] = {125, 250, 500, 1000};
    if (rateCode < 0 || rateCode > 3) {
        return;
    }
    const int hertz = kHertz[rateCode];
    Changed(rate_, std::to_string(hertz), "polling rate: " + std::to_string(hertz) + " Hz",
            JsonValue::MakeObject().Set("event", "rate").Set("hertz", hertz).Dump());
}

void WatchView::ShowLightingState(const DeviceReports::LightingState& state) {
    // The stored colour is 0x00BBGGRR; people read it as #RRGGBB.
    char colour[8];
    std::snprintf(colour, sizeof colour, "#%02x%02x%02x", state.colour & 0xFF,
                  (state.colour >> 8) & 0xFF, (state.colour >> 16) & 0xFF);
    const std::string value = std::to_string(state.mode) + " " + std::to_string(state.brightness) +
                              " " + std::to_string(state.speed) + " " + colour;
    Changed(lighting_, value,
            "lighting: mode " + std::to_string(state.mode) + ", brightness " +
                std::to_string(state.brightness) + ", speed " + std::to_string(state.speed) +
                ", colour " + colour,
            JsonValue::MakeObject()
                .Set("event", "lighting")
                .Set("mode", state.mode)
                .Set("brightness", state.brightness)
                .Set("speed", state.speed)
                .Set("colour", colour)
                .Dump());
}

void WatchView::ShowFirmwareVersions(const std::wstring& device, const std::wstring& mouse) {
    const std::string d = Quorl::WideToUtf8(device), m = Quorl::WideToUtf8(mouse);
    // "0.0" is what a mouse without a receiver shows for the mouse behind one.
    const bool behindReceiver = m != "0.0" && !m.empty();
    JsonValue json = JsonValue::MakeObject().Set("event", "firmware").Set("firmware", d);
    if (behindReceiver) {
        json.Set("mouse_firmware", m);
    }
    Changed(firmware_, d + " " + m, "firmware: " + d + (behindReceiver ? ", mouse " + m : ""),
            json.Dump());
}
