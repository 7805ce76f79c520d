// profile and factory-reset: the five profiles of the store, their files, and the reset of the
// mouse and its store.
#include <cstdio>
#include <iostream>
#include <string>

#include "app/cli/CliCommands.h"
#include "app/cli/CliSession.h"
#include "app/device/DeviceSession.h"
#include "app/device/HidDeviceManager.h"
#include "app/lang/LanguageId.h"
#include "app/pages/PageResult.h"
#include "app/pages/ProfileFile.h"
#include "app/pages/ProfileSettings.h"
#include "app/startup/Paths.h"
#include "app/store/DeviceDataDB.h"
#include "quorl/core/Utf8.h"

namespace {

std::string Utf8(const std::wstring& text) {
    return Quorl::WideToUtf8(text);
}

bool ProfileNumber(const std::string& text, int& profile) {
    long long n = 0;
    if (!CliNumberArg(text, 1, kProfileCount, n)) {
        return false;
    }
    profile = static_cast<int>(n);
    return true;
}

int List(CliSession& s) {
    s.Profile();  // creates the five when there are none
    ProfileList profiles;
    ReadProfiles(s.Store(), profiles);
    const int active = s.Store().GetActiveProfile();
    JsonValue list = JsonValue::MakeArray();
    std::vector<std::string> text = {"Profiles:"};
    for (const auto& p : profiles) {
        list.Append(JsonValue::MakeObject()
                        .Set("profile", p->profile)
                        .Set("name", p->name)
                        .Set("active", p->profile == active));
        text.push_back("  " + std::to_string(p->profile) + "  " + Utf8(p->name) +
                       (p->profile == active ? "  (active)" : ""));
    }
    s.Out().Result(JsonValue::MakeObject().Set("active", active).Set("profiles", list), text);
    return kExitDone;
}

// The model has lighting when it is reached through a receiver; the file carries it anyway,
// as the window's export does for this family.
ProfileFileOptions FileOptions() {
    return ProfileFileOptions{};
}

}  // namespace

int CliProfile(CliSession& s, const CliArgs& args) {
    if (args.empty() || (args.size() == 1 && args[0] == "list")) {
        return List(s);
    }
    const std::string& verb = args[0];
    int profile = 0;
    const std::string numberRange = "a profile number is 1 to " + std::to_string(kProfileCount);
    if (verb == "export" && args.size() == 3) {
        if (!ProfileNumber(args[1], profile)) {
            return CliUsageError(s, numberRange);
        }
        s.Profile();
        PageResult result =
            ExportProfileFile(s.Store(), profile, Quorl::Utf8ToWide(args[2]), FileOptions());
        if (!result.ok) {
            s.Out().Error(Utf8(result.message));
            return result.storeFailed ? kExitFailed : kExitUsage;
        }
        s.Out().Result(JsonValue::MakeObject().Set("profile", profile).Set("file", result.path),
                       {"Profile " + args[1] + " written to " + Utf8(result.path)});
        return kExitDone;
    }
    if (verb == "switch" && args.size() == 2) {
        if (!ProfileNumber(args[1], profile)) {
            return CliUsageError(s, numberRange);
        }
        // The new profile is what the mouse gets, whatever --profile said.
        if (int prepared = CliPrepareChange(s); prepared != kExitDone) {
            return prepared;
        }
        PageResult result = SwitchProfile(s.Store(), profile);
        if (result.ok) {
            s.SetProfile(profile);
        }
        return CliFinishChange(s, result, "Profile " + args[1] + " is active",
                               JsonValue::MakeObject());
    }
    if (verb == "rename" && args.size() == 3) {
        if (!ProfileNumber(args[1], profile)) {
            return CliUsageError(s, numberRange);
        }
        if (int prepared = CliPrepareChange(s, CliChangeKind::kStoreOnly); prepared != kExitDone) {
            return prepared;
        }
        PageResult result = RenameProfile(s.Store(), profile, Quorl::Utf8ToWide(args[2]));
        return CliFinishChange(s, result, "Profile " + args[1] + " renamed to " + args[2],
                               JsonValue::MakeObject().Set("name", args[2]),
                               CliChangeKind::kStoreOnly);
    }
    if (verb == "import" && args.size() == 2) {
        // Into --profile, else the active profile; the mouse gets it when that is active.
        if (int prepared = CliPrepareChange(s); prepared != kExitDone) {
            return prepared;
        }
        PageResult result =
            ImportProfileFile(s.Store(), Quorl::Utf8ToWide(args[1]), s.Profile(), FileOptions());
        return CliFinishChange(
            s, result, "Imported " + args[1] + " into profile " + std::to_string(s.Profile()),
            JsonValue::MakeObject());
    }
    return CliUsageError(s,
                         "profile takes list, switch N, rename N NAME, export N FILE or "
                         "import FILE");
}

int CliFactoryReset(CliSession& s, const CliArgs& args) {
    if (!args.empty()) {
        return CliUsageError(s, "factory-reset takes no arguments");
    }
    if (int refused = s.RefuseWhileWindowRuns(); refused != kExitDone) {
        return refused;
    }
    // As the system page: only with the mouse there, and not over Bluetooth LE.
    if (int connected = s.ConnectMouse(); connected != kExitDone) {
        return connected;
    }
    if (s.ConnectionMode() == kModeBluetooth) {
        s.Out().Error(
            "over Bluetooth LE the mouse cannot be reset; connect the cable or the "
            "receiver");
        return kExitFailed;
    }
    if (!s.Options().yes) {
        std::fprintf(stderr, "Reset the %s and its stored settings to the factory state? [y/N] ",
                     Utf8(s.ModelName()).c_str());
        std::fflush(stderr);
        std::string answer;
        std::getline(std::cin, answer);
        if (answer != "y" && answer != "Y" && answer != "yes") {
            s.Out().Error("nothing was reset");
            return kExitFailed;
        }
    }
    s.Store().ResetDeviceDatabase(GetDataFolder(), s.Devices().ModelName(s.DeviceType()));
    if (!s.Store().IsOpened()) {
        s.Out().Error("the store could not be reset");
        return kExitFailed;
    }
    s.Session().Flash().Reset();
    if (!s.RunTask(kTaskFactoryReset)) {
        s.Out().Error("the store was reset, but the mouse did not take the reset");
        return kExitFailed;
    }
    s.Out().Result(JsonValue::MakeObject().Set("reset", true),
                   {"The mouse and its stored settings are in the factory state"});
    return kExitDone;
}
