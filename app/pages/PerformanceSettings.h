#pragma once

#include <array>

#include "app/pages/PageResult.h"

class DeviceDataDB;

// The DPI and performance settings of a profile, as the DPI and performance pages write them:
// each operation writes the configuration values of the profile and returns the task that
// sends them. DPI levels are numbered 1-5 here, as the page shows them; the store keeps the
// active level 0-based in "dpi_index".

constexpr int kDpiLevels = 5;
constexpr int kMinDpi = 100;
constexpr int kMaxDpi = 12000;
constexpr int kDpiStep = 50;
constexpr int kMaxDebounce = 20;

// The page's rule for a typed DPI value: clamped to 100-12000, then rounded down to a
// multiple of 50.
int ClampDpiValue(int value);

// Polling rate in Hz (125, 250, 500, 1000) to the stored code 0-3; -1 for any other rate.
int ReportRateCode(int hertz);
// The stored code to Hz; 0 for a code outside 0-3.
int ReportRateHertz(int code);

// The current values of a profile. Values that are missing or not numbers read as 0.
struct PerformanceValues {
    std::array<int, kDpiLevels> dpiValues{};
    std::array<int, kDpiLevels> dpiColours{};  // COLORREF, 0x00BBGGRR
    int dpiCount = 0;
    int dpiIndex = 0;  // 0-based
    int dpiFlag = 0;
    int reportRate = 0;  // code 0-3
    int liftOff = 0;     // 1 or 2 (mm)
    int sensorFlag = 0;
    std::array<bool, 3> sensorOptions{};  // bits 4, 8, 16 as the page shows them
    int scrollOption = 0;                 // 1 or 2
    bool eSports = false;                 // "e-sports_flag" 2
    int debounce = 0;
    int wakeupMode = 0;
    std::array<bool, 2> wakeupOptions{};  // bits 4, 1 as the page lists them
    bool leftButtonLocked = false;
};
PerformanceValues ReadPerformanceValues(DeviceDataDB& db, int profile);

// Apply on the DPI page for one level: the value (clamped and rounded down, see ClampDpiValue)
// is stored for the level and the level becomes the active one; task 9. Only levels in use
// (1 to "dpi_count") can be set. result.value is the value stored.
PageResult SetDpiLevelValue(DeviceDataDB& db, int profile, int level, int value);
// Apply without a new value: the level becomes active with its stored value; task 9.
PageResult SetActiveDpiLevel(DeviceDataDB& db, int profile, int level);
// Levels in use, 1-5; an active level beyond the count moves to the last level; task 9.
PageResult SetDpiLevelCount(DeviceDataDB& db, int profile, int count);
// Count 4, values 1000/1600/3200/5000/12000, level 2 active; task 9.
PageResult ResetDpi(DeviceDataDB& db, int profile);

// 125, 250, 500 or 1000 Hz; task 10.
PageResult SetReportRate(DeviceDataDB& db, int profile, int hertz);
// 1000 Hz; task 10.
PageResult ResetReportRate(DeviceDataDB& db, int profile);

// Lift-off distance 1 or 2 (mm); task 11.
PageResult SetLiftOff(DeviceDataDB& db, int profile, int millimetres);
// Sensor option 1, 2 or 3 (bits 4, 8, 16) on or off; the page keeps the third always on, and
// writes only these three bits; task 11.
PageResult SetSensorOption(DeviceDataDB& db, int profile, int option, bool on);
// Scroll option 1 or 2; task 11.
PageResult SetScrollOption(DeviceDataDB& db, int profile, int option);
// E-sports mode; task 11.
PageResult SetESports(DeviceDataDB& db, int profile, bool on);
// Debounce 0-20; task 12.
PageResult SetDebounce(DeviceDataDB& db, int profile, int value);
// Wake-up option 1 (bit 4) or 2 (bit 1) on or off; task 13.
PageResult SetWakeupOption(DeviceDataDB& db, int profile, int option, bool on);

// The system page's left-button lock ("leftbtn_lock" 1 or 0). Nothing is sent to the mouse.
PageResult SetLeftButtonLock(DeviceDataDB& db, int profile, bool locked);
