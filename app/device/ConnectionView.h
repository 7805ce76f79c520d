#pragma once

// What a connection pass shows; the main window implements it.
class ConnectionView {
public:
    virtual ~ConnectionView() = default;
    virtual void CloseSecondaryWindows() = 0;
    virtual void SetBatteryInfo(int level, int charging) = 0;
    virtual void ClearMessageLine() = 0;
    virtual void SetStatusText(int textId) = 0;  // language text of section "LAN"
    virtual void SelectPageTab(int tab) = 0;
    virtual void EnablePageTabs(bool enabled) = 0;
    virtual void ShowLightingTab(bool shown) = 0;
    virtual void SetPagesEnabled(bool enabled) = 0;
    // Opens the battery service of the Bluetooth mouse (shows message text 56).
    virtual void OpenBluetoothBattery() = 0;
    virtual void Relayout() = 0;
};
