#include "app/pages/PerformanceSettings.h"

#include <algorithm>

#include "app/pages/ConfigValues.h"
#include "app/store/DeviceDataDB.h"

namespace {

constexpr std::array<int, 4> kReportRates = {125, 250, 500, 1000};
constexpr std::array<int, kDpiLevels> kDefaultDpi = {1000, 1600, 3200, 5000, 12000};
constexpr int kDefaultDpiCount = 4;
constexpr int kDefaultDpiIndex = 1;
constexpr int kDefaultReportRate = 3;

constexpr int kSensorBits[] = {4, 8, 16};
constexpr int kWakeupBits[] = {4, 1};

std::wstring Range(int low, int high) {
    return std::to_wstring(low) + L"-" + std::to_wstring(high);
}

PageResult WriteOne(DeviceDataDB& db, int profile, std::wstring_view key, int value, int task) {
    if (!WriteConfigInt(db, profile, key, value)) {
        return PageResult::StoreFailed();
    }
    return PageResult::Done(IfActive(db, profile, {MakeTask(task)}), value);
}

// Levels 1 to dpi_count can be edited, as the page enables only those buttons.
std::optional<PageResult> CheckLevel(DeviceDataDB& db, int profile, int level) {
    const int count =
        std::clamp(ReadConfigInt(db, profile, L"dpi_count", kDpiLevels), 1, kDpiLevels);
    if (level < 1 || level > count) {
        return PageResult::Refused(L"DPI level must be " + Range(1, count) + L" (" +
                                   std::to_wstring(count) + L" levels in use)");
    }
    return std::nullopt;
}

PageResult ApplyLevel(DeviceDataDB& db, int profile, int level, int value) {
    std::lock_guard<std::recursive_mutex> hold(db.Lock());
    const int stored = value - value % kDpiStep;
    if (!WriteConfigInt(db, profile, DpiValueKey(level - 1), stored) ||
        !WriteConfigInt(db, profile, L"dpi_index", level - 1)) {
        return PageResult::StoreFailed();
    }
    return PageResult::Done(IfActive(db, profile, {MakeTask(PageTaskCode::kSendDpi)}), stored);
}

int SensorValue(const std::array<bool, 3>& options) {
    int value = 0;
    for (size_t i = 0; i < options.size(); ++i) {
        value += options[i] ? kSensorBits[i] : 0;
    }
    return value;
}

}  // namespace

int ClampDpiValue(int value) {
    const int clamped = std::clamp(value, kMinDpi, kMaxDpi);
    return clamped - clamped % kDpiStep;
}

int ReportRateCode(int hertz) {
    for (size_t i = 0; i < kReportRates.size(); ++i) {
        if (kReportRates[i] == hertz) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int ReportRateHertz(int code) {
    return code >= 0 && code < static_cast<int>(kReportRates.size()) ? kReportRates[code] : 0;
}

PerformanceValues ReadPerformanceValues(DeviceDataDB& db, int profile) {
    std::lock_guard<std::recursive_mutex> hold(db.Lock());
    PerformanceValues v;
    for (int level = 0; level < kDpiLevels; ++level) {
        v.dpiValues[level] = ReadConfigInt(db, profile, DpiValueKey(level));
        v.dpiColours[level] = ReadConfigInt(db, profile, DpiColourKey(level));
    }
    v.dpiCount = ReadConfigInt(db, profile, L"dpi_count");
    v.dpiIndex = ReadConfigInt(db, profile, L"dpi_index");
    v.dpiFlag = ReadConfigInt(db, profile, L"dpi_flag");
    v.reportRate = ReadConfigInt(db, profile, L"report_rate");
    v.liftOff = ReadConfigInt(db, profile, L"liftoff_height");
    v.sensorFlag = ReadConfigInt(db, profile, L"sensor_flag");
    for (size_t i = 0; i < v.sensorOptions.size(); ++i) {
        v.sensorOptions[i] = (v.sensorFlag & kSensorBits[i]) != 0;
    }
    // The page shows the third option on whatever is stored.
    v.sensorOptions[2] = true;
    v.scrollOption = ReadConfigInt(db, profile, L"scroll_flag");
    v.eSports = ReadConfigInt(db, profile, L"e-sports_flag") == 2;
    v.debounce = ReadConfigInt(db, profile, L"button_respondtime");
    v.wakeupMode = ReadConfigInt(db, profile, L"wakeup_mode");
    for (size_t i = 0; i < v.wakeupOptions.size(); ++i) {
        v.wakeupOptions[i] = (v.wakeupMode & kWakeupBits[i]) != 0;
    }
    v.leftButtonLocked = ReadConfigInt(db, profile, L"leftbtn_lock") == 1;
    return v;
}

PageResult SetDpiLevelValue(DeviceDataDB& db, int profile, int level, int value) {
    std::lock_guard<std::recursive_mutex> hold(db.Lock());
    if (auto refused = CheckProfile(db, profile)) {
        return *refused;
    }
    if (auto refused = CheckLevel(db, profile, level)) {
        return *refused;
    }
    return ApplyLevel(db, profile, level, ClampDpiValue(value));
}

PageResult SetActiveDpiLevel(DeviceDataDB& db, int profile, int level) {
    std::lock_guard<std::recursive_mutex> hold(db.Lock());
    if (auto refused = CheckProfile(db, profile)) {
        return *refused;
    }
    if (auto refused = CheckLevel(db, profile, level)) {
        return *refused;
    }
    return ApplyLevel(db, profile, level, ReadConfigInt(db, profile, DpiValueKey(level - 1)));
}

PageResult SetDpiLevelCount(DeviceDataDB& db, int profile, int count) {
    std::lock_guard<std::recursive_mutex> hold(db.Lock());
    if (auto refused = CheckProfile(db, profile)) {
        return *refused;
    }
    if (count < 1 || count > kDpiLevels) {
        return PageResult::Refused(L"DPI level count must be " + Range(1, kDpiLevels));
    }
    const int index = ReadConfigInt(db, profile, L"dpi_index");
    const int kept = std::min(index, count - 1);
    if (kept != index && !WriteConfigInt(db, profile, L"dpi_index", kept)) {
        return PageResult::StoreFailed();
    }
    return WriteOne(db, profile, L"dpi_count", count, PageTaskCode::kSendDpi);
}

PageResult ResetDpi(DeviceDataDB& db, int profile) {
    std::lock_guard<std::recursive_mutex> hold(db.Lock());
    if (auto refused = CheckProfile(db, profile)) {
        return *refused;
    }
    bool stored = WriteConfigInt(db, profile, L"dpi_count", kDefaultDpiCount);
    for (int level = 0; level < kDpiLevels; ++level) {
        stored = WriteConfigInt(db, profile, DpiValueKey(level), kDefaultDpi[level]) && stored;
    }
    stored = WriteConfigInt(db, profile, L"dpi_index", kDefaultDpiIndex) && stored;
    if (!stored) {
        return PageResult::StoreFailed();
    }
    return PageResult::Done(IfActive(db, profile, {MakeTask(PageTaskCode::kSendDpi)}));
}

PageResult SetReportRate(DeviceDataDB& db, int profile, int hertz) {
    std::lock_guard<std::recursive_mutex> hold(db.Lock());
    if (auto refused = CheckProfile(db, profile)) {
        return *refused;
    }
    const int code = ReportRateCode(hertz);
    if (code < 0) {
        return PageResult::Refused(L"polling rate must be 125, 250, 500 or 1000 Hz");
    }
    return WriteOne(db, profile, L"report_rate", code, PageTaskCode::kSendReportRate);
}

PageResult ResetReportRate(DeviceDataDB& db, int profile) {
    std::lock_guard<std::recursive_mutex> hold(db.Lock());
    if (auto refused = CheckProfile(db, profile)) {
        return *refused;
    }
    return WriteOne(db, profile, L"report_rate", kDefaultReportRate, PageTaskCode::kSendReportRate);
}

PageResult SetLiftOff(DeviceDataDB& db, int profile, int millimetres) {
    std::lock_guard<std::recursive_mutex> hold(db.Lock());
    if (auto refused = CheckProfile(db, profile)) {
        return *refused;
    }
    if (millimetres != 1 && millimetres != 2) {
        return PageResult::Refused(L"lift-off distance must be 1 or 2 (mm)");
    }
    return WriteOne(db, profile, L"liftoff_height", millimetres, PageTaskCode::kSendSensor);
}

PageResult SetSensorOption(DeviceDataDB& db, int profile, int option, bool on) {
    std::lock_guard<std::recursive_mutex> hold(db.Lock());
    if (auto refused = CheckProfile(db, profile)) {
        return *refused;
    }
    if (option < 1 || option > 3) {
        return PageResult::Refused(L"sensor option must be 1-3");
    }
    if (option == 3 && !on) {
        return PageResult::Refused(L"sensor option 3 is always on");
    }
    std::array<bool, 3> options = ReadPerformanceValues(db, profile).sensorOptions;
    options[option - 1] = on;
    return WriteOne(db, profile, L"sensor_flag", SensorValue(options), PageTaskCode::kSendSensor);
}

PageResult SetScrollOption(DeviceDataDB& db, int profile, int option) {
    std::lock_guard<std::recursive_mutex> hold(db.Lock());
    if (auto refused = CheckProfile(db, profile)) {
        return *refused;
    }
    if (option != 1 && option != 2) {
        return PageResult::Refused(L"scroll option must be 1 or 2");
    }
    return WriteOne(db, profile, L"scroll_flag", option, PageTaskCode::kSendSensor);
}

PageResult SetESports(DeviceDataDB& db, int profile, bool on) {
    std::lock_guard<std::recursive_mutex> hold(db.Lock());
    if (auto refused = CheckProfile(db, profile)) {
        return *refused;
    }
    return WriteOne(db, profile, L"e-sports_flag", on ? 2 : 1, PageTaskCode::kSendSensor);
}

PageResult SetDebounce(DeviceDataDB& db, int profile, int value) {
    std::lock_guard<std::recursive_mutex> hold(db.Lock());
    if (auto refused = CheckProfile(db, profile)) {
        return *refused;
    }
    if (value < 0 || value > kMaxDebounce) {
        return PageResult::Refused(L"debounce must be " + Range(0, kMaxDebounce));
    }
    return WriteOne(db, profile, L"button_respondtime", value, PageTaskCode::kSendDebounce);
}

PageResult SetWakeupOption(DeviceDataDB& db, int profile, int option, bool on) {
    std::lock_guard<std::recursive_mutex> hold(db.Lock());
    if (auto refused = CheckProfile(db, profile)) {
        return *refused;
    }
    if (option != 1 && option != 2) {
        return PageResult::Refused(L"wake-up option must be 1 or 2");
    }
    std::array<bool, 2> options = ReadPerformanceValues(db, profile).wakeupOptions;
    options[option - 1] = on;
    const int value = (options[0] ? kWakeupBits[0] : 0) + (options[1] ? kWakeupBits[1] : 0);
    return WriteOne(db, profile, L"wakeup_mode", value, PageTaskCode::kSendWakeup);
}

PageResult SetLeftButtonLock(DeviceDataDB& db, int profile, bool locked) {
    std::lock_guard<std::recursive_mutex> hold(db.Lock());
    if (auto refused = CheckProfile(db, profile)) {
        return *refused;
    }
    if (!WriteConfigInt(db, profile, L"leftbtn_lock", locked ? 1 : 0)) {
        return PageResult::StoreFailed();
    }
    return PageResult::Done({}, locked ? 1 : 0);
}
