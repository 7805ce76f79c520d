#pragma once

#include <mutex>

#include "app/device/DeviceSessionView.h"

class BluetoothBatteryService;
class HidDeviceManager;

// The worker's view for the programs that run without the main window: it shows nothing
// unless a derived view says otherwise. On a Bluetooth connection it opens the battery
// service attached to it, whose levels then reach SetBatteryInfo from the service's thread.
class HeadlessSessionView : public DeviceSessionView {
public:
    // Both outlive the view's use; the owner closes the service before the view goes.
    void AttachBluetoothBattery(BluetoothBatteryService* service, HidDeviceManager* hid);

    void CloseSecondaryWindows() override {}
    void SetBatteryInfo(int, int) override {}
    void ClearMessageLine() override {}
    void SetStatusText(int) override {}
    void SelectPageTab(int) override {}
    void EnablePageTabs(bool) override {}
    void ShowLightingTab(bool) override {}
    void SetPagesEnabled(bool) override {}
    void OpenBluetoothBattery() override;
    void Relayout() override {}
    void RefreshButtonPage() override {}
    void RefreshMacroPage() override {}
    void LoadPerformanceSettings() override {}
    void RefreshLightPage() override {}
    void ShowFirmwareVersions(const std::wstring&, const std::wstring&) override {}
    void SetCurrentDpiLevel(int) override {}
    void CheckReportRateButton(int) override {}
    void SelectLightingMode(int) override {}
    void ShowLightingState(const DeviceReports::LightingState&) override {}
    void CloseWaitDialog() override {}

private:
    std::mutex attachLock_;
    BluetoothBatteryService* battery_ = nullptr;
    HidDeviceManager* hid_ = nullptr;
};
