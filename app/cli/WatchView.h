#pragma once

#include <mutex>
#include <optional>
#include <string>

#include "app/console/HeadlessSessionView.h"

class CliOutput;

// What watch prints: one line for each change of the connection and online state, the
// battery and charging, the DPI level, the polling rate and the lighting, as the worker
// reports them. A value that did not change prints nothing. Called from the worker thread,
// from the connection passes and from the Bluetooth battery's thread.
class WatchView : public HeadlessSessionView {
public:
    explicit WatchView(CliOutput& out) : out_(out) {}

    void SetBatteryInfo(int level, int charging) override;
    void SetStatusText(int textId) override;
    // Shown after every read of the mouse.
    void ShowFirmwareVersions(const std::wstring& device, const std::wstring& mouse) override;
    void SetCurrentDpiLevel(int level) override;
    void CheckReportRateButton(int rateCode) override;
    void ShowLightingState(const DeviceReports::LightingState& state) override;

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
