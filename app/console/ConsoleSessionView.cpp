#include "app/console/ConsoleSessionView.h"

#include "app/lang/LangText.h"
#include "quorl/core/Utf8.h"

void ConsoleSessionView::Line(const std::wstring& text) {
    std::fprintf(out_, "%s\n", Quorl::WideToUtf8(text).c_str());
    std::fflush(out_);
}

void ConsoleSessionView::SetStatusText(int textId) {
    const std::wstring text = GetLangText(L"LAN", textId);
    Line(L"Status: " + (text.empty() ? L"text " + std::to_wstring(textId) : text));
}

void ConsoleSessionView::SetBatteryInfo(int level, int charging) {
    if (level > 0) {
        Line(L"Battery: " + std::to_wstring(level) + L"%" + (charging ? L", charging" : L""));
    }
}

void ConsoleSessionView::OpenBluetoothBattery() {
    Line(L"Bluetooth LE: the battery is read through the desktop's Bluetooth service");
    HeadlessSessionView::OpenBluetoothBattery();
}

void ConsoleSessionView::ShowFirmwareVersions(const std::wstring& device,
                                              const std::wstring& mouse) {
    if (!device.empty()) {
        Line(L"Firmware: " + device);
    }
    if (!mouse.empty()) {
        Line(L"Mouse firmware: " + mouse);
    }
}

void ConsoleSessionView::SetCurrentDpiLevel(int level) {
    Line(L"DPI level: " + std::to_wstring(level + 1));
}

void ConsoleSessionView::CheckReportRateButton(int rateCode) {
    static const int kRates[] = {125, 250, 500, 1000};
    if (rateCode >= 0 && rateCode < 4) {
        Line(L"Polling rate: " + std::to_wstring(kRates[rateCode]) + L" Hz");
    }
}
