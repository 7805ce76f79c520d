#pragma once

#include <cstdio>
#include <string>

#include "app/console/HeadlessSessionView.h"

// Shows what the device worker reports as lines of text, for the program while it runs
// without a window. Page refreshes have nothing to refresh here; status texts, the battery,
// firmware versions, the DPI level and the polling rate are printed as they change.
class ConsoleSessionView : public HeadlessSessionView {
public:
    explicit ConsoleSessionView(std::FILE* out) : out_(out) {}

    void SetBatteryInfo(int level, int charging) override;
    void SetStatusText(int textId) override;
    void OpenBluetoothBattery() override;
    void ShowFirmwareVersions(const std::wstring& device, const std::wstring& mouse) override;
    void SetCurrentDpiLevel(int level) override;
    void CheckReportRateButton(int rateCode) override;

private:
    void Line(const std::wstring& text);

    std::FILE* out_;
};
