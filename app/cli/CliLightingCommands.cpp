// lighting: the effect of a profile and its brightness, speed and colour.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "app/cli/CliCommands.h"
#include "app/cli/CliSession.h"
#include "app/lang/LangText.h"
#include "app/pages/LightingSettings.h"
#include "app/store/DeviceDataDB.h"
#include "quorl/core/Utf8.h"

namespace {

// COLORREF (0x00BBGGRR) as people write it, #RRGGBB.
std::string ColourText(int colorref) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", colorref & 0xFF, (colorref >> 8) & 0xFF,
                  (colorref >> 16) & 0xFF);
    return text;
}

// "RRGGBB" or "#RRGGBB".
bool ParseColour(std::string text, int& red, int& green, int& blue) {
    if (!text.empty() && text[0] == '#') {
        text.erase(0, 1);
    }
    if (text.size() != 6 || text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
        return false;
    }
    const long rgb = std::strtol(text.c_str(), nullptr, 16);
    red = static_cast<int>((rgb >> 16) & 0xFF);
    green = static_cast<int>((rgb >> 8) & 0xFF);
    blue = static_cast<int>(rgb & 0xFF);
    return true;
}

int Show(CliSession& s) {
    const int profile = s.Profile();
    LightingValues lighting = ReadLighting(s.Store(), profile);
    JsonValue modes = JsonValue::MakeArray();
    std::vector<std::string> text = {"Lighting of profile " + std::to_string(profile) +
                                     ", active mode " + std::to_string(lighting.activeMode)};
    for (const auto& m : lighting.modes) {
        const bool hasBrightness = (m->config_func & kLightHasBrightness) != 0;
        const bool hasSpeed = (m->config_func & kLightHasSpeed) != 0;
        const bool hasColour = (m->config_func & kLightHasColour) != 0;
        // The record keeps the language text of its shown name; the stored name is the
        // fallback.
        const std::wstring shown = GetLangText(L"LAN", m->reserved);
        const std::wstring name = shown.empty() ? m->name : shown;
        JsonValue mode = JsonValue::MakeObject().Set("mode", m->mode).Set("name", name);
        mode.Set("active", m->mode == lighting.activeMode);
        std::string line = "  " + std::to_string(m->mode) + "  " + Quorl::WideToUtf8(name);
        if (hasBrightness) {
            mode.Set("brightness", m->brightness);
            line += ", brightness " + std::to_string(m->brightness);
        }
        if (hasSpeed) {
            mode.Set("speed", m->speed);
            line += ", speed " + std::to_string(m->speed);
        }
        if (hasColour) {
            mode.Set("colour", ColourText(m->color_value));
            line += ", colour " + ColourText(m->color_value);
        }
        modes.Append(std::move(mode));
        text.push_back(line + (m->mode == lighting.activeMode ? "  (active)" : ""));
    }
    s.Out().Result(JsonValue::MakeObject()
                       .Set("profile", profile)
                       .Set("active", lighting.activeMode)
                       .Set("modes", modes),
                   text);
    return kExitDone;
}

template <typename Operation>
int Change(CliSession& s, Operation operation, const std::string& done, JsonValue json) {
    if (int prepared = CliPrepareChange(s, CliChangeKind::kLighting); prepared != kExitDone) {
        return prepared;
    }
    return CliFinishChange(s, operation(s.Store(), s.Profile()), done, std::move(json));
}

int Int(long long value) {
    return static_cast<int>(std::clamp<long long>(value, INT32_MIN, INT32_MAX));
}

}  // namespace

int CliLighting(CliSession& s, const CliArgs& args) {
    if (args.empty() || (args.size() == 1 && args[0] == "show")) {
        return Show(s);
    }
    const std::string& verb = args[0];
    long long n = 0;
    if (verb == "reset" && args.size() == 1) {
        return Change(s, ResetLighting, "Lighting reset", JsonValue::MakeObject());
    }
    if (args.size() == 2 && ParseWholeNumber(args[1], n)) {
        const int value = Int(n);
        auto json = JsonValue::MakeObject().Set(verb, value);
        if (verb == "mode") {
            return Change(
                s, [&](DeviceDataDB& db, int p) { return SetLightingMode(db, p, value); },
                "Lighting mode " + args[1], json);
        }
        if (verb == "brightness") {
            return Change(
                s, [&](DeviceDataDB& db, int p) { return SetLightBrightness(db, p, value); },
                "Lighting brightness " + args[1], json);
        }
        if (verb == "speed") {
            return Change(
                s, [&](DeviceDataDB& db, int p) { return SetLightSpeed(db, p, value); },
                "Lighting speed " + args[1], json);
        }
    }
    int red = 0, green = 0, blue = 0;
    if ((verb == "colour" || verb == "color") && args.size() == 2) {
        if (!ParseColour(args[1], red, green, blue)) {
            return CliUsageError(s, "a colour is written RRGGBB in hexadecimal, e.g. ff8000");
        }
        return Change(
            s, [&](DeviceDataDB& db, int p) { return SetLightColour(db, p, red, green, blue); },
            "Lighting colour " + ColourText(red | green << 8 | blue << 16),
            JsonValue::MakeObject().Set("colour", ColourText(red | green << 8 | blue << 16)));
    }
    return CliUsageError(s,
                         "lighting takes show, mode 0-6, brightness 0-255, speed 0-255, "
                         "colour RRGGBB or reset");
}
