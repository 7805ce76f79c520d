#pragma once

#include <mutex>
#include <optional>
#include <string>

#include "app/device/DeviceSessionView.h"

class CliOutput;

// What watch prints: one line for each change of the connection and online state, the
// battery and charging, the DPI level, the polling rate and the lighting, as the worker
// reports them. A value that did not change prints nothing. Called from the worker thread and
// from the connection passes.
class WatchView : public DeviceSessionView {
public:
    explicit WatchView(CliOutput& out) : out_(out) {}

    void CloseSecondaryWindows() override {}
    void SetBatteryInfo(int level, int charging) override;
    void ClearMessageLine() override {}
    void SetStatusText(int textId) override;
    void SelectPageTab(int) override {}
    void EnablePageTabs(bool) override {}
    void ShowLightingTab(bool) override {}
    void SetPagesEnabled(bool) override {}
    void OpenBluetoothBattery() override {}
    void Relayout() override {}
    void RefreshButtonPage() override {}
    void RefreshMacroPage() override {}
    void LoadPerformanceSettings() override {}
    void RefreshLightPage() override {}
    // Shown after every read of the mouse.
    void ShowFirmwareVersions(const std::wstring& device, const std::wstring& mouse) override;
    void SetCurrentDpiLevel(int level) override;
    void CheckReportRateButton(int rateCode) override;
    void SelectLightingMode(int) override {}
    void ShowLightingState(const DeviceReports::LightingState& state) override;
    void CloseWaitDialog() override {}

    // No mouse is attached (at start, before one is plugged in).
    void ShowNoMouse();
    // While quiet nothing is printed or remembered: the first connection pass shows a
    // receiver's mouse as asleep until it has been asked.
    void SetQuiet(bool quiet);

private:
    // Prints when the key's value differs from the last one printed for it.
    void Changed(std::optional<std::string>& last, const std::string& value,
                 const std::string& line, const std::string& json);

    CliOutput& out_;
    std::mutex lock_;
    bool quiet_ = false;
    std::optional<std::string> connection_, battery_, dpiLevel_, rate_, lighting_, firmware_;
};
