#pragma once

#include <cstdio>
#include <string>

#include "app/device/DeviceSessionView.h"

// Shows what the device worker reports as lines of text, for the program while it runs
// without a window. Page refreshes have nothing to refresh here; status texts, the battery,
// firmware versions, the DPI level and the polling rate are printed as they change.
class ConsoleSessionView : public DeviceSessionView {
public:
    explicit ConsoleSessionView(std::FILE* out) : out_(out) {}

    void CloseSecondaryWindows() override {}
    void SetBatteryInfo(int level, int charging) override;
    void ClearMessageLine() override {}
    void SetStatusText(int textId) override;
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
    void ShowFirmwareVersions(const std::wstring& device, const std::wstring& mouse) override;
    void SetCurrentDpiLevel(int level) override;
    void CheckReportRateButton(int rateCode) override;
    void SelectLightingMode(int) override {}
    void ShowLightingState(const DeviceReports::LightingState&) override {}
    void CloseWaitDialog() override {}

private:
    void Line(const std::wstring& text);

    std::FILE* out_;
};
