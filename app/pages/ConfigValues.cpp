#include "app/pages/ConfigValues.h"

#include <climits>

#include "app/pages/PageResult.h"
#include "app/store/DeviceDataDB.h"

std::optional<int> ParseDecimal(std::wstring_view text) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) {
        negative = text[i] == L'-';
        ++i;
    }
    if (i == text.size()) {
        return std::nullopt;
    }
    long long number = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < L'0' || text[i] > L'9') {
            return std::nullopt;
        }
        number = number * 10 + (text[i] - L'0');
        if (number > static_cast<long long>(INT_MAX) + 1) {
            return std::nullopt;
        }
    }
    if (negative) {
        number = -number;
    }
    if (number < INT_MIN || number > INT_MAX) {
        return std::nullopt;
    }
    return static_cast<int>(number);
}

int ReadConfigInt(DeviceDataDB& db, int profile, std::wstring_view key, int fallback) {
    std::wstring text;
    if (!db.GetConfigValue(profile, key, text)) {
        return fallback;
    }
    return ParseDecimal(text).value_or(fallback);
}

bool WriteConfigInt(DeviceDataDB& db, int profile, std::wstring_view key, int value) {
    return db.SetConfigValue(profile, key, std::to_wstring(value));
}

std::wstring DpiValueKey(int level) {
    return L"dpi_group" + std::to_wstring(level) + L"_value";
}

std::wstring DpiColourKey(int level) {
    return L"dpi_group" + std::to_wstring(level) + L"_rgb";
}

bool ProfileExists(DeviceDataDB& db, int profile) {
    std::wstring name;
    return profile > 0 && db.GetProfileName(profile, name);
}

std::optional<PageResult> CheckProfile(DeviceDataDB& db, int profile) {
    if (!db.IsOpened()) {
        return PageResult::StoreFailed(L"the settings store is not open");
    }
    if (!ProfileExists(db, profile)) {
        ProfileList profiles;
        const int count = db.ListProfiles(profiles);
        return PageResult::Refused(L"profile " + std::to_wstring(profile) +
                                   L" does not exist (profiles are 1-" + std::to_wstring(count) +
                                   L")");
    }
    return std::nullopt;
}

std::vector<PageTask> IfActive(DeviceDataDB& db, int profile, std::vector<PageTask> tasks) {
    if (db.GetActiveProfile() != profile) {
        tasks.clear();
    }
    return tasks;
}
