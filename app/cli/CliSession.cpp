#include "app/cli/CliSession.h"

#include <atomic>
#include <chrono>

#include "app/console/HeadlessSessionView.h"
#include "app/console/VirtualMouseProcess.h"
#include "app/device/DeviceConnector.h"
#include "app/device/DeviceSession.h"
#include "app/device/DeviceSessionView.h"
#include "app/device/DeviceTaskQueue.h"
#include "app/device/HidDeviceManager.h"
#include "app/device/HidIdentity.h"
#include "app/device/Sleeper.h"
#include "app/device/VirtualHidBackend.h"
#include "app/devicedesc/DeviceDescription.h"
#include "app/lang/LangText.h"
#include "app/pages/PageResult.h"
#include "app/pages/ProfileSettings.h"
#include "app/platform/BluezBattery.h"
#include "app/platform/HidrawBackend.h"
#include "app/platform/InstanceLock.h"
#include "app/platform/UdevHidMonitor.h"
#include "app/settings/Settings.h"
#include "app/startup/Paths.h"
#include "app/startup/Startup.h"
#include "app/store/DeviceDataDB.h"
#include "quorl/core/Utf8.h"

namespace {

// A whole profile with its macros goes out in a few seconds; far longer means the worker is
// stuck in an exchange that will not end.
constexpr auto kTaskWait = std::chrono::seconds(120);

}  // namespace

// One-shot commands show nothing of what the worker does; they print their own result. The
// Bluetooth battery is kept for info.
class SilentSessionView : public HeadlessSessionView {
public:
    void SetBatteryInfo(int level, int charging) override {
        // Charging state 2 is the empty gauge at the start of a connection pass.
        battery_ = charging == 2 ? -1 : level;
    }
    std::optional<int> Battery() const {
        const int level = battery_;
        return level < 0 ? std::nullopt : std::optional<int>(level);
    }

private:
    std::atomic<int> battery_{-1};
};

CliSession::CliSession(const CliOptions& options, CliOutput& out) : options_(options), out_(out) {}

CliSession::~CliSession() {
    if (changes_) {
        changes_->Stop();
    }
    StopWorker();
    CloseBluetoothBattery();
    session_.reset();
    connector_.reset();
    hid_.reset();
    backend_.reset();
    virtualMouse_.reset();
}

int CliSession::OpenStore() {
    SettleLanguage();
    CreateDataFolders();
    LoadDeviceList(DeviceListPath(GetModuleFolder()), devices_);
    if (options_.model != 0) {
        if (devices_.ModelName(options_.model).empty()) {
            std::string listed;
            for (const DeviceEntry& d : devices_.devices) {
                listed += (listed.empty() ? "" : ", ") + std::to_string(d.device_type);
            }
            out_.Error("no model " + std::to_string(options_.model) + "; the models are " +
                       (listed.empty() ? "none (config.xml is missing)" : listed));
            return kExitUsage;
        }
        deviceType_ = options_.model;
    } else {
        deviceType_ = devices_.SelectDeviceType(ReadDeviceType());
        if (deviceType_ != 0) {
            WriteDeviceType(deviceType_);
        }
    }
    if (deviceType_ == 0) {
        out_.Error("config.xml lists no model");
        return kExitFailed;
    }
    if (!OpenModelDatabase(devices_.ModelName(deviceType_))) {
        out_.Error("cannot open the store " + DeviceDataDB::Instance().Path());
        return kExitFailed;
    }
    return kExitDone;
}

DeviceDataDB& CliSession::Store() {
    return DeviceDataDB::Instance();
}

std::wstring CliSession::ModelName() const {
    for (const DeviceEntry& d : devices_.devices) {
        if (d.device_type == deviceType_) {
            return d.name;
        }
    }
    return {};
}

int CliSession::Profile() {
    if (profile_ != 0) {
        return profile_;
    }
    const int active = EnsureProfiles(Store(), GetLangText(L"LAN", 61));
    profile_ = options_.profile != 0 ? options_.profile : active;
    return profile_;
}

bool CliSession::IsActiveProfile(int profile) {
    return Store().GetActiveProfile() == profile;
}

int CliSession::RefuseWhileWindowRuns() {
    if (InstanceLockHeldElsewhere()) {
        out_.Error(
            "Talvane is running and talks to the mouse; close it first (reading the "
            "store is still allowed)");
        return kExitFailed;
    }
    return kExitDone;
}

int CliSession::OpenBackend() {
    if (backend_) {
        return kExitDone;
    }
    std::string folder = options_.virtualDir.empty() ? VirtualHidBackend::FolderFromEnvironment()
                                                     : options_.virtualDir;
    if (!options_.virtualMode.empty()) {
        virtualMouse_ = std::make_unique<VirtualMouseProcess>();
        if (!virtualMouse_->Start(options_.virtualMode, deviceType_)) {
            out_.Error("the virtual mouse did not start");
            return kExitFailed;
        }
        folder = virtualMouse_->Folder();
    }
    virtualFolder_ = folder;
    if (!folder.empty()) {
        backend_ = std::make_unique<VirtualHidBackend>(folder);
    } else {
        backend_ = std::make_unique<HidrawBackend>();
    }
    return kExitDone;
}

void CliSession::ReportMissingMouse() {
    out_.Error("no " + Quorl::WideToUtf8(ModelName()) + " was found" +
               (virtualFolder_.empty()
                    ? " (is it plugged in, and may this user open its hidraw node?)"
                    : " in " + virtualFolder_));
}

int CliSession::FindMouseMode() {
    if (OpenBackend() != kExitDone) {
        return -1;
    }
    bool present[4] = {};
    for (const HidInterfaceInfo& info : backend_->Enumerate()) {
        const std::string identity = BuildIdentityText(info);
        for (const DeviceEntry& m : devices_.modes) {
            const std::string part = Quorl::WideToUtf8(m.hid_interface);
            if (m.device_type != deviceType_ || part.empty() || m.mode < 0 || m.mode > 3 ||
                !ContainsText(identity, part)) {
                continue;
            }
            if (IsCommandInterface(info) || IsBluetoothKeyboardIdentity(identity)) {
                present[m.mode] = true;
            }
        }
    }
    for (int mode : {kModeCable, kModeBluetooth, kModeReceiver, kModeReceiver2}) {
        if (present[mode]) {
            return mode;
        }
    }
    ReportMissingMouse();
    return -1;
}

int CliSession::ConnectMouse(HeadlessSessionView* view, bool reportMissing) {
    if (connector_) {
        return Connected() ? kExitDone : kExitFailed;
    }
    if (int opened = OpenBackend(); opened != kExitDone) {
        return opened;
    }
    clock_ = std::make_unique<SteadySleeper>();
    hid_ = std::make_unique<HidDeviceManager>(backend_.get(), clock_.get());
    tasks_ = std::make_unique<DeviceTaskQueue>();
    if (view == nullptr) {
        silentView_ = std::make_unique<SilentSessionView>();
        view = silentView_.get();
    }
    const std::string ownBus = virtualMouse_ ? virtualMouse_->BluezBus() : std::string();
    battery_ =
        std::make_unique<BluezBatteryService>(ownBus.empty() ? BluezBusFromEnvironment() : ownBus);
    view->AttachBluetoothBattery(battery_.get(), hid_.get());
    connector_ = std::make_unique<DeviceConnector>(*hid_, *view, *tasks_);
    connector_->SetModeEntries(devices_.modes);
    connector_->SetCurrentType(deviceType_);
    connector_->ConnectDevices();
    session_ =
        std::make_unique<DeviceSession>(*hid_, Store(), *connector_, *tasks_, *view, *clock_);
    if (!connector_->Connected()) {
        if (!reportMissing) {
            return kExitFailed;
        }
        ReportMissingMouse();
        return kExitFailed;
    }
    session_->TakeLightingTabFromConnector();
    // What the worker compares the mouse's own reports with.
    if (ConnectionMode() != kModeBluetooth) {
        DeviceReports::DeviceInfo info;
        if (session_->Commands().ReadDeviceInfo(info)) {
            session_->ApplyDeviceInfo(info);
        }
    }
    return kExitDone;
}

std::optional<int> CliSession::BluetoothBatteryLevel() const {
    return silentView_ ? silentView_->Battery() : std::nullopt;
}

void CliSession::CloseBluetoothBattery() {
    if (battery_) {
        battery_->Close();
    }
}

bool CliSession::Connected() const {
    return connector_ && connector_->Connected();
}

int CliSession::ConnectionMode() const {
    return hid_ ? hid_->GetConnectionMode() : -1;
}

const char* CliSession::ConnectionName(int mode) {
    switch (mode) {
        case kModeCable:
            return "cable";
        case kModeReceiver:
        case kModeReceiver2:
            return "receiver";
        case kModeBluetooth:
            return "bluetooth";
        default:
            return "none";
    }
}

bool CliSession::StartWorker() {
    if (!session_) {
        return false;
    }
    if (!workerStarted_) {
        session_->SetCurrentProfile(Profile());
        workerStarted_ = session_->Start();
    }
    return workerStarted_;
}

bool CliSession::RunTask(const PageTask& task) {
    if (!StartWorker()) {
        return false;
    }
    if (task.button >= 0) {
        session_->SetSelectedButton(task.button);
    }
    if (task.sendMask >= 0) {
        session_->SetSendMask(task.sendMask);
    }
    if (task.lightingMode >= 0) {
        session_->SetCurrentLightingMode(task.lightingMode);
    }
    if (task.resetMask >= 0) {
        session_->SetResetMask(task.resetMask);
    }
    if (task.profile >= 0) {
        session_->SetCurrentProfile(task.profile);
    }
    return RunTask(task.code);
}

bool CliSession::RunTask(int code) {
    if (!StartWorker()) {
        return false;
    }
    const uint64_t ticket = tasks_->PushTracked(code);
    return tasks_->WaitFinished(ticket, kTaskWait).value_or(false);
}

bool CliSession::WatchDeviceChanges() {
    if (!connector_) {
        return false;
    }
    if (!virtualFolder_.empty()) {
        changes_ = std::make_unique<VirtualHidWatcher>(virtualFolder_);
    } else {
        changes_ = std::make_unique<UdevHidMonitor>(*backend_);
    }
    DeviceConnector* connector = connector_.get();
    return changes_->Start(
        [connector](const DeviceChange& change) { connector->UpdateUSBDevice(change); });
}

void CliSession::StopWorker() {
    if (session_ && workerStarted_) {
        session_->Stop();
        workerStarted_ = false;
    }
}
