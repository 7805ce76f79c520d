#pragma once

#include <memory>
#include <optional>
#include <string>

#include "app/cli/CliOptions.h"
#include "app/cli/CliOutput.h"
#include "app/devicedesc/DeviceList.h"

class BluetoothBatteryService;
class DeviceChangeSource;
class DeviceConnector;
class DeviceDataDB;
class DeviceSession;
class HeadlessSessionView;
class DeviceTaskQueue;
class HidBackend;
class HidDeviceManager;
class SilentSessionView;
class SteadySleeper;
class VirtualMouseProcess;
struct PageTask;

// What one run of talvane-cli works with: the model's store, as the window opens it, and when
// the command talks to the mouse, the device link and the worker of the window. Operations
// that can fail print their one-line message and give the exit code.
class CliSession {
public:
    CliSession(const CliOptions& options, CliOutput& out);
    ~CliSession();
    CliSession(const CliSession&) = delete;
    CliSession& operator=(const CliSession&) = delete;

    const CliOptions& Options() const { return options_; }
    CliOutput& Out() { return out_; }

    // Language, data folders, the model (--model, else the stored one when config.xml still
    // lists it, else the first) and its store.
    int OpenStore();
    DeviceDataDB& Store();
    int DeviceType() const { return deviceType_; }
    const DeviceList& Devices() const { return devices_; }
    std::wstring ModelName() const;
    // The profile the command works on: --profile, else the active one. The five profiles
    // are created first when the store has none.
    int Profile();
    bool IsActiveProfile(int profile);
    // After a switch, the command goes on with the new profile.
    void SetProfile(int profile) { profile_ = profile; }

    // kExitFailed with a message while the window's instance holds the single-instance lock.
    int RefuseWhileWindowRuns();
    // The device back end (a virtual mouse of our own is started here when asked for).
    int OpenBackend();
    // How the mouse is attached as far as enumeration alone tells, without a report to it
    // (cable before Bluetooth before receiver, as the device link picks); -1 with a message
    // when none of the model's interfaces is there.
    int FindMouseMode();
    // Finds the mouse (a virtual one when asked for, else hidraw) and learns how it is
    // attached. The view gets what the worker shows; without one nothing is shown. Without a
    // mouse the device link stays ready for one to arrive; the message is printed when asked.
    // Over Bluetooth LE the view opens the battery through BlueZ: on the virtual mouse's own
    // bus, else $TALVANE_BLUEZ_BUS, else the system bus.
    int ConnectMouse(HeadlessSessionView* view = nullptr, bool reportMissing = true);
    // The Bluetooth battery level the last connection pass read (with the silent view only).
    std::optional<int> BluetoothBatteryLevel() const;
    // Before the view given to ConnectMouse goes: no level reaches it after this.
    void CloseBluetoothBattery();
    bool Connected() const;
    int ConnectionMode() const;
    // "cable", "receiver", "bluetooth" or "none".
    static const char* ConnectionName(int mode);

    HidBackend& Backend() { return *backend_; }
    HidDeviceManager& Hid() { return *hid_; }
    DeviceConnector& Connector() { return *connector_; }
    DeviceSession& Session() { return *session_; }
    DeviceTaskQueue& Tasks() { return *tasks_; }

    // Starts the worker if it does not run yet, sets what the task reads, queues it and waits
    // until the worker has run it. False (nothing printed) when the mouse did not take it.
    bool RunTask(const PageTask& task);
    bool RunTask(int code);
    // Hot-plug for watch: device changes reach the connector as they reach the window.
    bool WatchDeviceChanges();
    // The worker runs from the first task on; watch starts it itself.
    bool StartWorker();
    void StopWorker();

private:
    const CliOptions& options_;
    CliOutput& out_;
    DeviceList devices_;
    int deviceType_ = 0;
    int profile_ = 0;

    std::unique_ptr<VirtualMouseProcess> virtualMouse_;
    std::string virtualFolder_;
    std::unique_ptr<SteadySleeper> clock_;
    std::unique_ptr<HidBackend> backend_;
    std::unique_ptr<HidDeviceManager> hid_;
    std::unique_ptr<DeviceTaskQueue> tasks_;
    std::unique_ptr<BluetoothBatteryService> battery_;
    std::unique_ptr<SilentSessionView> silentView_;
    std::unique_ptr<DeviceConnector> connector_;
    std::unique_ptr<DeviceSession> session_;
    std::unique_ptr<DeviceChangeSource> changes_;
    void ReportMissingMouse();
    bool workerStarted_ = false;
};
