#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>

#include "app/device/DeviceCommands.h"
#include "app/device/DeviceReports.h"
#include "app/device/MacroFlash.h"
#include "app/device/MacroTransfer.h"
#include "app/device/ThreadBasic.h"

class DeviceConnector;
class DeviceDataDB;
class DeviceSessionView;
class DeviceTaskQueue;
class HidDeviceManager;

// Task codes of the device task queue.
enum DeviceTask {
    kTaskInitialSync = 1,
    kTaskArrival = 2,
    kTaskRemoval = 3,
    kTaskDeviceTypeChanged = 4,
    kTaskProfileSwitch = 5,
    kTaskSendButton = 6,
    kTaskResetButton = 7,
    kTaskSendLighting = 8,
    kTaskSendDpi = 9,
    kTaskSendReportRate = 10,
    kTaskSendSensor = 11,
    kTaskSendDebounce = 12,
    kTaskSendWakeup = 13,
    kTaskRestoreButtons = 15,
    kTaskFactoryReset = 16,
};

// Send mask bits of the lighting page.
enum LightingSendMask {
    kSendMode = 0x01,
    kSendBrightness = 0x02,
    kSendSpeed = 0x04,
    kSendColour = 0x10
};

// The device worker and the state it shares with the pages: takes the task codes the pages and
// the device events queue, keeps the store and the mouse in step, and reads the reports the
// mouse sends by itself. The main window owns it; the values the pages set are atomics, read
// by a task when it runs.
class DeviceSession : public CThreadBasic {
public:
    static constexpr int kPollIntervalMs = 200;
    static constexpr int kArrivalWaitMs = 2000;
    static constexpr int kRemovalWaitMs = 500;
    static constexpr int kLightingAfterProfileMs = 1000;
    static constexpr int kAfterTypeChangeMs = 100;

    DeviceSession(HidDeviceManager& hid, DeviceDataDB& db, DeviceConnector& connector,
                  DeviceTaskQueue& tasks, DeviceSessionView& view, Sleeper& clock,
                  std::string macroFlashPath = MacroFlash::DefaultPath());
    ~DeviceSession() override;

    // Starts the worker (the caller has queued task 1). macro_flash.dat is read on creation.
    bool Start(int pauseMs = kDefaultPauseMs);
    // At most one second; see CThreadBasic::StopThread.
    bool Stop();

    // One pass, as the worker makes it; tests call it directly.
    void RunPass();
    // True when the task's work was done (for a send: the mouse took it).
    bool RunTask(int code);

    // Set by the pages before they queue a task.
    void SetCurrentProfile(int profile) { currentProfile_ = profile; }
    int CurrentProfile() const { return currentProfile_; }
    void SetSelectedButton(int button) { selectedButton_ = button; }
    void SetResetMask(int mask) { resetMask_ = mask; }
    void SetCurrentLightingMode(int mode) { lightingMode_ = mode; }
    int CurrentLightingMode() const { return lightingMode_; }
    void SetSendMask(int mask) { sendMask_ = mask; }
    // The system page's reset clears it.
    void SetSynced(bool synced) { synced_ = synced; }
    bool Synced() const { return synced_; }

    // The mouse state last reported.
    int WorkMode() const { return workMode_; }
    bool Online() const { return online_; }
    int BatteryLevel() const { return batteryLevel_; }
    int Charging() const { return charging_; }
    int CurrentDpiLevel() const { return dpiLevel_; }
    int ReportRateCode() const { return rateCode_; }
    bool LightingTabShown() const { return lightingShown_; }
    // The lighting tab as the last connection pass decided it.
    void TakeLightingTabFromConnector();

    MacroFlash& Flash() { return flash_; }
    MacroTransfer& Macros() { return macros_; }
    DeviceCommands& Commands() { return commands_; }

    // The steps, for the tasks and the tests.
    bool InitialSync();
    bool ReconnectAndRead(int task);
    bool ReadDeviceState();
    void ApplyDeviceInfo(const DeviceReports::DeviceInfo& info);
    void StoreDeviceSettings(const DeviceReports::DeviceSettings& settings);
    void PollDeviceReports();
    void ApplyMouseState(const DeviceReports::MouseState& state);
    void ApplyLightingState(const DeviceReports::LightingState& state);
    bool SendLighting();
    void InitialiseProfiles();
    // Refresh order of the pages; the firmware labels last when asked for.
    void RefreshPages(bool firmwareLabels = true);

protected:
    void ThreadPass() override;

private:
    // Status text, page tabs and pages for a work mode; false for a mode not known here.
    bool ShowLinkState(int workMode, bool online);
    // True unless the mouse is behind a receiver and does not answer the link check.
    bool WirelessLinkUp(int mode);
    bool ReadStateAndRefresh();
    bool ReadAndStoreButtonFunctions();
    bool SendSelectedButton();
    bool SendMacroButton(int button, int macroId);
    void ShowVersions();
    void RefreshAfterReset(bool macroPage);

    HidDeviceManager& hid_;
    DeviceDataDB& db_;
    DeviceConnector& connector_;
    DeviceTaskQueue& tasks_;
    DeviceSessionView& view_;
    DeviceCommands commands_;
    MacroFlash flash_;
    MacroTransfer macros_;

    std::atomic<int> currentProfile_{1};
    std::atomic<int> selectedButton_{0};
    std::atomic<int> resetMask_{1};
    std::atomic<int> lightingMode_{0};
    std::atomic<int> sendMask_{0};
    std::atomic<bool> synced_{false};
    std::atomic<int> workMode_{0};
    std::atomic<bool> online_{false};
    std::atomic<int> batteryLevel_{0};
    std::atomic<int> charging_{0};
    std::atomic<int> dpiLevel_{0};
    std::atomic<int> rateCode_{0};
    std::atomic<bool> lightingShown_{false};

    // Worker only.
    int64_t lastPoll_ = 0;
    bool polledOnce_ = false;
    std::optional<DeviceReports::LightingState> lastLighting_;
    std::set<int> buttonFunctionsRead_;
};
