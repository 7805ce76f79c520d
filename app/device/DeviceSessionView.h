#pragma once

#include <string>

#include "app/device/ConnectionView.h"
#include "app/device/DeviceReports.h"

// What the device worker shows: the main window, its pages and the status widgets implement
// this. Every call comes from the worker thread.
class DeviceSessionView : public ConnectionView {
public:
    virtual void RefreshButtonPage() = 0;
    virtual void RefreshMacroPage() = 0;
    virtual void LoadPerformanceSettings() = 0;
    virtual void RefreshLightPage() = 0;
    // Label 266 the directly connected device, label 267 the mouse behind a receiver.
    virtual void ShowFirmwareVersions(const std::wstring& device, const std::wstring& mouse) = 0;
    // DPI level control 115 + level becomes current.
    virtual void SetCurrentDpiLevel(int level) = 0;
    virtual void CheckReportRateButton(int rateCode) = 0;
    virtual void SelectLightingMode(int mode) = 0;
    // The lighting page shows what the mouse reported.
    virtual void ShowLightingState(const DeviceReports::LightingState& state) = 0;
    // After a change of the device type has been read.
    virtual void CloseWaitDialog() = 0;
};
