// list, info and sync: what is attached, what it says about itself, and reading it into the
// store.
#include <algorithm>
#include <optional>

#include "app/cli/CliCommands.h"
#include "app/cli/CliSession.h"
#include "app/device/DeviceReports.h"
#include "app/device/DeviceSession.h"
#include "app/device/HidBackend.h"
#include "app/device/HidDeviceManager.h"
#include "app/device/HidIdentity.h"
#include "app/lang/LanguageId.h"
#include "app/store/DeviceDataDB.h"
#include "quorl/core/Utf8.h"

namespace {

std::string Utf8(const std::wstring& text) {
    return Quorl::WideToUtf8(text);
}

std::string ProfileName(DeviceDataDB& db, int profile) {
    std::wstring name;
    db.GetProfileName(profile, name);
    return Utf8(LocaliseProfileName(name, CurrentLanguageId()));
}

}  // namespace

int CliList(CliSession& s, const CliArgs& args) {
    if (!args.empty()) {
        return CliUsageError(s, "list takes no arguments");
    }
    // Only enumerates: nothing is opened, so this is allowed while the window runs.
    if (int opened = s.OpenBackend(); opened != kExitDone) {
        return opened;
    }
    std::vector<HidInterfaceInfo> interfaces = s.Backend().Enumerate();

    JsonValue models = JsonValue::MakeArray();
    JsonValue found = JsonValue::MakeArray();
    std::vector<std::string> text = {"Models:"};
    for (const DeviceEntry& d : s.Devices().devices) {
        const bool current = d.device_type == s.DeviceType();
        models.Append(JsonValue::MakeObject()
                          .Set("type", d.device_type)
                          .Set("name", d.name)
                          .Set("current", current));
        text.push_back("  " + std::to_string(d.device_type) + "  " + Utf8(d.name) +
                       (current ? "  (current)" : ""));
    }
    text.push_back("Devices found:");
    int count = 0;
    for (const HidInterfaceInfo& info : interfaces) {
        const std::string identity = BuildIdentityText(info);
        for (const DeviceEntry& m : s.Devices().modes) {
            const std::string part = Utf8(m.hid_interface);
            const bool matches =
                ContainsText(identity, part) &&
                (IsCommandInterface(info) || IsBluetoothKeyboardIdentity(identity));
            if (!matches || part.empty()) {
                continue;
            }
            found.Append(JsonValue::MakeObject()
                             .Set("type", m.device_type)
                             .Set("name", m.name)
                             .Set("connection", CliSession::ConnectionName(m.mode))
                             .Set("path", info.path));
            text.push_back("  " + std::to_string(m.device_type) + "  " + Utf8(m.name) + "  " +
                           CliSession::ConnectionName(m.mode) + "  " + info.path);
            ++count;
            break;
        }
    }
    if (count == 0) {
        text.push_back("  none");
    }
    s.Out().Result(JsonValue::MakeObject().Set("models", models).Set("devices", found), text);
    return kExitDone;
}

int CliInfo(CliSession& s, const CliArgs& args) {
    if (!args.empty()) {
        return CliUsageError(s, "info takes no arguments");
    }
    if (int refused = s.RefuseWhileWindowRuns(); refused != kExitDone) {
        return refused;
    }
    if (int connected = s.ConnectMouse(); connected != kExitDone) {
        return connected;
    }
    DeviceDataDB& db = s.Store();
    const int mode = s.ConnectionMode();
    JsonValue json = JsonValue::MakeObject();
    json.Set("model", s.ModelName()).Set("type", s.DeviceType());
    json.Set("connection", CliSession::ConnectionName(mode));
    std::vector<std::string> text = {
        "Model: " + Utf8(s.ModelName()) + " (" + std::to_string(s.DeviceType()) + ")",
        std::string("Connection: ") + CliSession::ConnectionName(mode)};
    DeviceCommands& commands = s.Session().Commands();
    DeviceReports::DeviceInfo info;
    if (mode != kModeBluetooth && commands.ReadDeviceInfo(info)) {
        json.Set("online", info.online)
            .Set("battery", info.battery_level)
            .Set("charging", info.charging != 0);
        text.push_back(std::string("Online: ") + (info.online ? "yes" : "no"));
        text.push_back("Battery: " + std::to_string(info.battery_level) + "%" +
                       (info.charging != 0 ? ", charging" : ""));
        const int language = CurrentLanguageId();
        const std::string device = Utf8(commands.ReadFirmwareVersion(false, language));
        json.Set("firmware", device);
        text.push_back("Firmware: " + device);
        if (IsReceiverMode(mode)) {
            const std::string mouse = Utf8(commands.ReadFirmwareVersion(true, language));
            json.Set("mouse_firmware", mouse);
            text.push_back("Mouse firmware: " + mouse);
        }
        DeviceReports::DeviceSettings settings;
        if ((!IsReceiverMode(mode) || info.online) && commands.ReadDeviceSettings(settings)) {
            json.Set("mouse_profile", settings.profile_index + 1);
            text.push_back("Profile on the mouse: " + std::to_string(settings.profile_index + 1));
        }
    } else if (mode == kModeBluetooth) {
        // Over Bluetooth LE the mouse answers no queries; its battery is the desktop's
        // Bluetooth service's to tell, and that service knows no charging state.
        json.Set("online", true);
        text.push_back("Online: yes (Bluetooth LE: no settings or queries over this link)");
        if (const std::optional<int> level = s.BluetoothBatteryLevel()) {
            json.Set("battery", *level).Set("charging", false);
            text.push_back("Battery: " + std::to_string(*level) + "%");
        } else {
            json.Set("battery", JsonValue()).Set("charging", JsonValue());
            text.push_back("Battery: unknown (the Bluetooth service shows no battery for it)");
        }
    } else {
        s.Out().Error("the mouse did not answer");
        return kExitFailed;
    }
    s.Profile();  // a fresh store gets its five profiles, as at the window's start
    const int active = db.GetActiveProfile();
    json.Set("active_profile", active).Set("active_profile_name", ProfileName(db, active));
    text.push_back("Active profile: " + std::to_string(active) + " " + ProfileName(db, active));
    s.Out().Result(json, text);
    return kExitDone;
}

int CliSync(CliSession& s, const CliArgs& args) {
    if (!args.empty()) {
        return CliUsageError(s, "sync takes no arguments");
    }
    if (int refused = s.RefuseWhileWindowRuns(); refused != kExitDone) {
        return refused;
    }
    if (int connected = s.ConnectMouse(); connected != kExitDone) {
        return connected;
    }
    if (s.ConnectionMode() == kModeBluetooth) {
        s.Out().Error("over Bluetooth LE nothing can be read from the mouse");
        return kExitFailed;
    }
    if (!s.RunTask(kTaskInitialSync)) {
        s.Out().Error("the mouse could not be read");
        return kExitFailed;
    }
    const int profile = s.Session().CurrentProfile();
    s.Out().Result(JsonValue::MakeObject().Set("profile", profile).Set("synced", true),
                   {"Read the mouse into profile " + std::to_string(profile)});
    return kExitDone;
}
