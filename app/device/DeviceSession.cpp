#include "app/device/DeviceSession.h"

#include <cwchar>

#include "app/device/DeviceConnector.h"
#include "app/device/DeviceSessionView.h"
#include "app/device/DeviceTaskQueue.h"
#include "app/device/HidDeviceManager.h"
#include "app/lang/LangText.h"
#include "app/lang/LanguageId.h"
#include "app/pages/ButtonFunctions.h"
#include "app/store/DeviceDataDB.h"

using namespace DeviceReports;

namespace {
constexpr int kProfiles = 5;
constexpr int kDpiLevels = 5;
constexpr int kRateCodes = 8;

std::wstring Decimal(int value) {
    return std::to_wstring(value);
}

void EncodeForDevice(const ButtonAssignment& a, std::array<uint8_t, 7>& bytes) {
    ButtonFunctionBytes encoded = EncodeButtonFunction(a);
    std::copy(encoded.begin(), encoded.end(), bytes.begin());
}
}  // namespace

DeviceSession::DeviceSession(HidDeviceManager& hid, DeviceDataDB& db, DeviceConnector& connector,
                             DeviceTaskQueue& tasks, DeviceSessionView& view, Sleeper& clock,
                             std::string macroFlashPath)
    : CThreadBasic(clock),
      hid_(hid),
      db_(db),
      connector_(connector),
      tasks_(tasks),
      view_(view),
      commands_(hid, db),
      flash_(std::move(macroFlashPath)),
      macros_(commands_, db, flash_, clock) {
    flash_.Load();
}

DeviceSession::~DeviceSession() {
    StopThread();
    JoinThread();
}

bool DeviceSession::Start(int pauseMs) {
    TakeLightingTabFromConnector();
    return StartThread(pauseMs, true);
}

bool DeviceSession::Stop() {
    return StopThread();
}

void DeviceSession::TakeLightingTabFromConnector() {
    lightingShown_ = connector_.LightingTabShown();
}

void DeviceSession::ThreadPass() {
    RunPass();
}

void DeviceSession::RunPass() {
    // The exchanges' short sleeps are accurate on this platform without raising the timer
    // resolution.
    macros_.CountPendingIfDue();
    if (std::optional<DeviceTaskQueue::Entry> entry = tasks_.TryPopEntry()) {
        const bool ok = RunTask(entry->code);
        tasks_.Finish(entry->ticket, ok);
        return;
    }
    if (connector_.Connected()) {
        PollDeviceReports();
    }
}

bool DeviceSession::RunTask(int code) {
    const int profile = currentProfile_;
    switch (code) {
        case kTaskInitialSync:
            return InitialSync();
        case kTaskArrival:
            if (!PauseUnlessStopping(kArrivalWaitMs)) {
                return false;
            }
            ReconnectAndRead(code);
            return InitialSync();
        case kTaskRemoval:
            return PauseUnlessStopping(kRemovalWaitMs) && ReconnectAndRead(code);
        case kTaskDeviceTypeChanged: {
            InitialiseProfiles();
            const bool read = ReconnectAndRead(code);
            // The wait dialog closes whatever the read gave, or it would stay up for good.
            view_.CloseWaitDialog();
            PauseUnlessStopping(kAfterTypeChangeMs);
            return read;
        }
        case kTaskProfileSwitch:
            view_.RefreshButtonPage();
            view_.LoadPerformanceSettings();
            if (lightingShown_) {
                view_.RefreshLightPage();
            }
            if (!commands_.WriteProfile(profile, EncodeForDevice, [this, profile](int button) {
                    ButtonAssignment a;
                    if (db_.GetButtonAssignment(profile, button, a)) {
                        SendMacroButton(button, a.macro_value);
                    }
                })) {
                return false;
            }
            if (lightingShown_ && PauseUnlessStopping(kLightingAfterProfileMs)) {
                return SendLighting();
            }
            return true;
        case kTaskSendButton:
            return SendSelectedButton();
        case kTaskResetButton:
            return commands_.ResetButtonFunction(selectedButton_);
        case kTaskSendLighting:
            // Lighting goes to the mouse only while the lighting tab is shown.
            return lightingShown_ && SendLighting();
        case kTaskSendDpi:
            return commands_.SendDpiSettings(profile);
        case kTaskSendReportRate:
            return commands_.SendReportRate(profile);
        case kTaskSendSensor:
            return commands_.SendSensorSettings(profile);
        case kTaskSendDebounce:
            return commands_.SendDebounceTime(profile);
        case kTaskSendWakeup:
            return commands_.SendWakeupMode(profile);
        case kTaskRestoreButtons:
            if (!commands_.RestoreDefaults(static_cast<uint8_t>(resetMask_.load()))) {
                return false;
            }
            view_.RefreshButtonPage();
            return true;
        case kTaskFactoryReset:
            if (!commands_.FactoryReset()) {
                return false;
            }
            flash_.Reset();
            InitialiseProfiles();
            RefreshAfterReset(true);
            return true;
        default:
            return false;  // 0, 14 and unknown codes are only taken off the queue
    }
}

bool DeviceSession::SendMacroButton(int button, int macroId) {
    return macros_.SendMacro(button, macroId) && macros_.SendMacroName(button, macroId);
}

bool DeviceSession::SendSelectedButton() {
    const int button = selectedButton_;
    ButtonAssignment a;
    if (!db_.GetButtonAssignment(currentProfile_, button, a)) {
        return false;
    }
    if (a.macro_type == 4) {
        return SendMacroButton(button, a.macro_value);
    }
    ButtonFunctionBytes bytes = EncodeButtonFunction(a);
    std::array<uint8_t, 10> function{};
    std::copy(bytes.begin(), bytes.end(), function.begin());
    return commands_.SendButtonFunction(button, function);
}

void DeviceSession::RefreshAfterReset(bool macroPage) {
    view_.RefreshButtonPage();
    if (macroPage) {
        view_.RefreshMacroPage();
    }
    view_.LoadPerformanceSettings();
    if (lightingShown_) {
        view_.RefreshLightPage();
    }
}

void DeviceSession::RefreshPages(bool firmwareLabels) {
    view_.RefreshButtonPage();
    view_.RefreshMacroPage();
    view_.LoadPerformanceSettings();
    if (lightingShown_) {
        view_.RefreshLightPage();
    }
    if (firmwareLabels) {
        ShowVersions();
    }
}

void DeviceSession::ShowVersions() {
    const int language = CurrentLanguageId();
    std::wstring device = commands_.ReadFirmwareVersion(false, language);
    std::wstring mouse = L"0.0";
    if (IsReceiverMode(hid_.GetConnectionMode())) {
        mouse = commands_.ReadFirmwareVersion(true, language);
    }
    view_.ShowFirmwareVersions(device, mouse);
}

void DeviceSession::InitialiseProfiles() {
    ProfileList profiles;
    if (db_.ListProfiles(profiles) == 0) {
        const std::wstring word = GetLangText(L"LAN", 61);
        for (int i = 1; i <= kProfiles; ++i) {
            ProfileInfo p;
            p.profile = i;
            p.name = word + L" " + Decimal(i);
            db_.AddProfile(p);
        }
        db_.SetActiveProfile(1);
    }
    int active = db_.GetActiveProfile();
    if (active <= 0) {
        db_.SetActiveProfile(1);
        active = db_.GetActiveProfile();
    }
    currentProfile_ = active > 0 ? active : 1;
}

bool DeviceSession::WirelessLinkUp(int mode) {
    return !IsReceiverMode(mode) || commands_.CheckWirelessLink();
}

bool DeviceSession::ReadStateAndRefresh() {
    if (!ReadDeviceState()) {
        return false;
    }
    RefreshPages();
    return true;
}

bool DeviceSession::InitialSync() {
    if (synced_) {
        return true;
    }
    const int mode = hid_.GetConnectionMode();
    if (mode == kModeBluetooth || !WirelessLinkUp(mode)) {
        return false;
    }
    currentProfile_ = 1;
    InitialiseProfiles();
    if (!ReadStateAndRefresh()) {
        return false;
    }
    synced_ = true;
    return true;
}

bool DeviceSession::ReconnectAndRead(int task) {
    online_ = false;
    connector_.ConnectDevices();
    TakeLightingTabFromConnector();
    const int mode = hid_.GetConnectionMode();
    if (task == kTaskRemoval) {
        // Only a mouse still on the cable or behind a receiver is read again.
        if ((mode != kModeCable && !IsReceiverMode(mode)) || !WirelessLinkUp(mode)) {
            return false;
        }
    } else {
        if (mode == kModeBluetooth || !WirelessLinkUp(mode)) {
            return false;
        }
        currentProfile_ = 1;
    }
    return ReadStateAndRefresh();
}

bool DeviceSession::ReadDeviceState() {
    DeviceInfo info;
    if (!commands_.ReadDeviceInfo(info)) {
        return false;
    }
    ApplyDeviceInfo(info);
    if (IsReceiverMode(hid_.GetConnectionMode()) && !online_) {
        return false;
    }
    DeviceSettings settings;
    if (!commands_.ReadDeviceSettings(settings)) {
        return false;
    }
    StoreDeviceSettings(settings);
    const int type = connector_.CurrentType();
    if (buttonFunctionsRead_.count(type) != 0) {
        return true;
    }
    if (!ReadAndStoreButtonFunctions()) {
        return false;
    }
    buttonFunctionsRead_.insert(type);
    if (lightingShown_) {
        LightingInfo light;
        if (commands_.ReadLightingInfo(light)) {
            lightingMode_ = light.current_mode;
            db_.SetActiveLightMode(currentProfile_, light.current_mode);
        }
    }
    return true;
}

bool DeviceSession::ReadAndStoreButtonFunctions() {
    DeviceButtonFunctions read;
    if (!commands_.ReadButtonFunctions(read)) {
        return false;
    }
    const int profile = currentProfile_;
    flash_.Reset();
    auto text = [](int id) { return GetLangText(L"LAN", id); };
    for (int button = 0; button < static_cast<int>(read.entries.size()); ++button) {
        const DeviceButtonEntry& entry = read.entries[button];
        if (entry.kind == 4) {
            for (const auto& [macroButton, data] : read.macros) {
                if (macroButton == button) {
                    macros_.DecodeDeviceMacro(profile, button, data.data(), data.size());
                }
            }
            continue;
        }
        std::array<uint8_t, 7> bytes{};
        bytes[0] = entry.kind;
        std::copy(entry.function.begin(), entry.function.end(), bytes.begin() + 1);
        ButtonAssignment a;
        DecodeButtonFunction(bytes, text, a);
        a.profile = profile;
        a.key_code = button;
        db_.SaveButtonAssignment(a);
    }
    return true;
}

bool DeviceSession::ShowLinkState(int workMode, bool online) {
    switch (workMode) {
        case kModeCable:
            view_.SetStatusText(51);
            view_.EnablePageTabs(true);
            view_.SetPagesEnabled(true);
            return true;
        case kModeReceiver:
        case kModeReceiver2:
            view_.SetStatusText(online ? 52 : 53);
            if (!online) {
                view_.SelectPageTab(0);
            }
            view_.EnablePageTabs(online);
            view_.SetPagesEnabled(online);
            return true;
        case kModeBluetooth:
            // The pages stay as they are: over Bluetooth only the battery is shown.
            view_.SetStatusText(online ? 54 : 55);
            if (!online) {
                view_.SelectPageTab(0);
            }
            view_.EnablePageTabs(online);
            return true;
        default:
            return false;
    }
}

void DeviceSession::ApplyDeviceInfo(const DeviceInfo& info) {
    workMode_ = info.work_mode;
    online_ = info.online;
    batteryLevel_ = info.battery_level;
    charging_ = info.charging;
    connector_.SetMouseOnline(info.online);
    ShowLinkState(info.work_mode, info.online);
    if (info.work_mode == kModeBluetooth) {
        view_.SetPagesEnabled(true);  // a read of the device enables them over Bluetooth too
    }
    view_.SetBatteryInfo(info.battery_level, info.charging);
}

void DeviceSession::StoreDeviceSettings(const DeviceSettings& s) {
    if (s.profile_index >= 0 && s.profile_index < kProfiles) {
        currentProfile_ = s.profile_index + 1;
    }
    const int profile = currentProfile_;
    if (std::optional<int> level = s.Level(workMode_)) {
        dpiLevel_ = *level;
    }
    if (std::optional<int> rate = s.RateCode(workMode_)) {
        rateCode_ = *rate;
    }
    // The rows of one answer go in together.
    std::lock_guard guard(db_.Lock());
    db_.SetConfigValue(profile, L"report_rate", Decimal(rateCode_));
    for (int i = 0; i < kDpiLevels; ++i) {
        db_.SetConfigValue(profile, L"dpi_group" + Decimal(i) + L"_value", Decimal(s.dpi[i]));
    }
    db_.SetConfigValue(profile, L"dpi_index", Decimal(dpiLevel_));
    db_.SetConfigValue(profile, L"sensor_flag", Decimal(s.sensor));
    db_.SetConfigValue(profile, L"liftoff_height", Decimal(s.sensor & 0x03));
    db_.SetConfigValue(profile, L"scroll_flag", Decimal((s.sensor & 0x40) != 0 ? 2 : 1));
    db_.SetConfigValue(profile, L"dpi_flag", Decimal(s.dpi_flag));
    db_.SetConfigValue(profile, L"button_respondtime", Decimal(s.debounce));
}

void DeviceSession::PollDeviceReports() {
    const int64_t now = Clock().NowMs();
    if (polledOnce_ && now - lastPoll_ < kPollIntervalMs) {
        return;
    }
    lastPoll_ = now;
    polledOnce_ = true;
    HidHandlePtr handle = hid_.IsOpened() ? hid_.GetCommandHandle() : nullptr;
    if (!handle) {
        return;
    }
    uint8_t buffer[kShortLength] = {};
    const int got = hid_.ReadInputReport(handle, buffer, sizeof buffer);
    if (got <= 0) {
        return;
    }
    std::optional<DeviceReport> report = ParseDeviceReport(buffer, static_cast<size_t>(got));
    if (!report) {
        return;
    }
    switch (report->kind) {
        case 0xE1:
            ApplyLightingState(report->lighting);
            break;
        case 0xE2: {
            const int previousMode = workMode_;
            const bool previousOnline = online_;
            ApplyMouseState(report->mouse);
            if (report->mouse.work_mode == previousMode &&
                (report->mouse.online == 1) == previousOnline) {
                break;
            }
            if (IsReceiverMode(hid_.GetConnectionMode())) {
                view_.SelectPageTab(0);
                view_.ShowLightingTab(true);
                lightingShown_ = true;
                if (report->mouse.online != 1) {
                    break;
                }
                if (!commands_.CheckWirelessLink()) {
                    tasks_.PushIfEmpty(kTaskArrival);
                    break;
                }
            } else {
                view_.SelectPageTab(0);
                view_.ShowLightingTab(false);
                lightingShown_ = false;
            }
            if (!ReadStateAndRefresh()) {
                tasks_.PushIfEmpty(kTaskArrival);
            }
            break;
        }
        case 0xE6:
            if (ReadDeviceState()) {
                RefreshPages(false);
            }
            break;
        default:
            break;  // 0xE0, 0xE3, 0xE4 and anything else
    }
}

void DeviceSession::ApplyMouseState(const MouseState& state) {
    const int previousMode = workMode_;
    const bool previousOnline = online_;
    const bool online = state.online == 1;
    workMode_ = state.work_mode;
    online_ = online;
    connector_.SetMouseOnline(online);
    if (!ShowLinkState(state.work_mode, online)) {
        return;
    }
    if (!online && state.work_mode != kModeCable) {
        view_.SetBatteryInfo(0, 2);  // nothing to show while the mouse sleeps
        return;
    }
    if (state.work_mode != previousMode || online != previousOnline) {
        return;
    }
    charging_ = state.charging;
    batteryLevel_ = state.battery_level;
    view_.SetBatteryInfo(state.battery_level, state.charging);
    const int profile = currentProfile_;
    // Levels and codes out of range are a garbled report, not a setting.
    if (state.dpi_level != dpiLevel_ && state.dpi_level >= 0 && state.dpi_level < kDpiLevels) {
        dpiLevel_ = state.dpi_level;
        db_.SetConfigValue(profile, L"dpi_index", Decimal(state.dpi_level));
        view_.SetCurrentDpiLevel(state.dpi_level);
    }
    if (state.rate_code != rateCode_ && state.rate_code >= 0 && state.rate_code < kRateCodes) {
        rateCode_ = state.rate_code;
        db_.SetConfigValue(profile, L"report_rate", Decimal(state.rate_code));
        view_.CheckReportRateButton(state.rate_code);
    }
}

void DeviceSession::ApplyLightingState(const LightingState& state) {
    const int profile = currentProfile_;
    lightingMode_ = state.mode;
    view_.SelectLightingMode(state.mode);
    db_.SetActiveLightMode(profile, state.mode);
    const bool first = !lastLighting_.has_value();
    if (first || state.brightness != lastLighting_->brightness) {
        db_.SetLightBrightness(profile, state.mode, state.brightness);
    }
    if (first || state.speed != lastLighting_->speed) {
        db_.SetLightSpeed(profile, state.mode, state.speed);
    }
    if (first || state.colour != lastLighting_->colour) {
        db_.SetLightColor(profile, state.mode, static_cast<int>(state.colour));
    }
    lastLighting_ = state;
    view_.ShowLightingState(state);
}

bool DeviceSession::SendLighting() {
    const int mask = sendMask_;
    const int mode = lightingMode_;
    const int profile = currentProfile_;
    if ((mask & kSendMode) != 0 && !commands_.SendLightingMode(mode)) {
        return false;
    }
    LightModeSettings row;
    if (!db_.GetLightMode(profile, mode, row) || mode <= 0) {
        return true;
    }
    if ((mask & kSendBrightness) != 0 && !commands_.SendLightingBrightness(mode, row.brightness)) {
        return false;
    }
    if ((mask & kSendSpeed) != 0 && !commands_.SendLightingSpeed(mode, row.speed)) {
        return false;
    }
    if ((mask & kSendColour) != 0 && (row.config_func & kSendColour) != 0 &&
        !commands_.SendLightingColour(mode, static_cast<uint32_t>(row.color_value))) {
        return false;
    }
    return true;
}
