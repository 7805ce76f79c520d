// The road of every change: refused input stores nothing and sends nothing; otherwise the
// store first, then the task codes, each waited for until the worker has sent it.
#include "app/cli/CliCommands.h"
#include "app/cli/CliSession.h"
#include "app/device/DeviceSession.h"
#include "app/device/HidDeviceManager.h"
#include "app/pages/PageResult.h"
#include "quorl/core/Utf8.h"

namespace {

const char kNoSettingsOverBluetooth[] =
    "over Bluetooth LE the mouse takes no settings; connect the cable or the receiver";

}  // namespace

int CliPrepareChange(CliSession& s, CliChangeKind kind) {
    if (int refused = s.RefuseWhileWindowRuns(); refused != kExitDone) {
        return refused;
    }
    const int profile = s.Profile();
    if (profile <= 0) {
        s.Out().Error("the store holds no profiles and none could be created");
        return kExitFailed;
    }
    if (kind == CliChangeKind::kStoreOnly || !s.IsActiveProfile(profile)) {
        return kExitDone;
    }
    // Only what enumeration tells, so that a refused value has sent nothing to the mouse.
    const int mode = s.FindMouseMode();
    if (mode < 0) {
        return kExitFailed;
    }
    // The window keeps its setting pages closed over Bluetooth LE: the mouse takes no
    // settings there.
    if (mode == kModeBluetooth) {
        s.Out().Error(kNoSettingsOverBluetooth);
        return kExitFailed;
    }
    // The window shows its lighting page only for a mouse behind the receiver.
    if (kind == CliChangeKind::kLighting && !IsReceiverMode(mode)) {
        s.Out().Error("the lighting is set only through the receiver");
        return kExitFailed;
    }
    return kExitDone;
}

int CliFinishChange(CliSession& s, const PageResult& result, const std::string& done,
                    JsonValue json, CliChangeKind kind) {
    if (!result.ok) {
        s.Out().Error(Quorl::WideToUtf8(result.message));
        return result.storeFailed ? kExitFailed : kExitUsage;
    }
    const int profile = s.Profile();
    bool sent = false;
    if (s.IsActiveProfile(profile) && !result.tasks.empty()) {
        const std::string stored = done + ", stored in profile " + std::to_string(profile);
        if (s.ConnectMouse() != kExitDone) {
            s.Out().Error(stored + ", but the mouse was not reached");
            return kExitFailed;
        }
        if (s.ConnectionMode() == kModeBluetooth) {
            s.Out().Error(stored + ", but " + kNoSettingsOverBluetooth);
            return kExitFailed;
        }
        if (IsReceiverMode(s.ConnectionMode()) && !s.Session().Online()) {
            s.Out().Error(stored +
                          ", but the mouse behind the receiver is not online (asleep "
                          "or out of reach)");
            return kExitFailed;
        }
        for (const PageTask& task : result.tasks) {
            if (!s.RunTask(task)) {
                s.Out().Error(stored + ", but the mouse did not take it");
                return kExitFailed;
            }
        }
        sent = true;
    }
    json.Set("profile", profile).Set("sent", sent);
    std::string line = done;
    // The page operations return no tasks for a profile that is not active, so ask the store.
    if (kind != CliChangeKind::kStoreOnly && !s.IsActiveProfile(profile)) {
        line += " (stored in profile " + std::to_string(profile) +
                ", which is not active: the mouse gets it when that profile is switched to)";
    }
    s.Out().Result(json, {line});
    return kExitDone;
}
