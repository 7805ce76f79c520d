#pragma once

// A session view that writes down every call, for the worker tests. Safe from any thread.

#include <mutex>
#include <string>
#include <vector>

#include "app/device/DeviceSessionView.h"
#include "quorl/core/Utf8.h"

class RecordingSessionView : public DeviceSessionView {
public:
    void CloseSecondaryWindows() override { Add("close-secondary"); }
    void SetBatteryInfo(int level, int charging) override {
        Add("battery " + std::to_string(level) + " " + std::to_string(charging));
    }
    void ClearMessageLine() override {}
    void SetStatusText(int textId) override { Add("status " + std::to_string(textId)); }
    void SelectPageTab(int tab) override { Add("tab " + std::to_string(tab)); }
    void EnablePageTabs(bool enabled) override { Add(enabled ? "tabs on" : "tabs off"); }
    void ShowLightingTab(bool shown) override {
        Add(shown ? "lighting-tab on" : "lighting-tab off");
    }
    void SetPagesEnabled(bool enabled) override { Add(enabled ? "pages on" : "pages off"); }
    void OpenBluetoothBattery() override { Add("bluetooth-battery"); }
    void Relayout() override {}
    void RefreshButtonPage() override { Add("refresh buttons"); }
    void RefreshMacroPage() override { Add("refresh macros"); }
    void LoadPerformanceSettings() override { Add("refresh performance"); }
    void RefreshLightPage() override { Add("refresh lighting"); }
    void ShowFirmwareVersions(const std::wstring& device, const std::wstring& mouse) override {
        Add("firmware " + Quorl::WideToUtf8(device) + " " + Quorl::WideToUtf8(mouse));
    }
    void SetCurrentDpiLevel(int level) override { Add("dpi-level " + std::to_string(level)); }
    void CheckReportRateButton(int code) override { Add("rate " + std::to_string(code)); }
    void SelectLightingMode(int mode) override { Add("light-mode " + std::to_string(mode)); }
    void ShowLightingState(const DeviceReports::LightingState& s) override {
        Add("light-state " + std::to_string(s.mode));
    }
    void CloseWaitDialog() override { Add("close-wait"); }

    std::vector<std::string> Calls() const {
        std::lock_guard guard(lock_);
        return calls_;
    }
    bool Saw(const std::string& call) const {
        std::lock_guard guard(lock_);
        for (const std::string& c : calls_) {
            if (c == call) {
                return true;
            }
        }
        return false;
    }
    void Clear() {
        std::lock_guard guard(lock_);
        calls_.clear();
    }

private:
    void Add(std::string call) {
        std::lock_guard guard(lock_);
        calls_.push_back(std::move(call));
    }
    mutable std::mutex lock_;
    std::vector<std::string> calls_;
};
