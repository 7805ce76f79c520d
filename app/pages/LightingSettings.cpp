#include "app/pages/LightingSettings.h"

#include <array>

#include "app/pages/ConfigValues.h"
#include "app/store/DeviceDataDB.h"

namespace {

struct BuiltInMode {
    int mode;
    const wchar_t* name;
    int configFunc;
    int nameText;
};
constexpr std::array<BuiltInMode, kLightModeCount> kBuiltInModes = {{
    {0, L"关闭", 0, 280},
    {1, L"单色常亮", 17, 281},
    {2, L"单色呼吸", 19, 282},
    {3, L"光谱循环", 3, 283},
    {4, L"流光", 3, 284},
    {5, L"单色跑马", 19, 285},
    {6, L"霓虹", 3, 286},
}};

constexpr int kSendMode = 0x01;
constexpr int kSendBrightness = 0x02;
constexpr int kSendSpeed = 0x04;
constexpr int kSendColour = 0x10;

PageTask LightingTask(int mask, int mode) {
    PageTask task = MakeTask(PageTaskCode::kSendLighting);
    task.sendMask = mask;
    task.lightingMode = mode;
    return task;
}

// The mask of a mode change: mode and colour always, brightness and speed where the mode has
// them, so the effect arrives whole.
int ModeChangeMask(const LightModeSettings& light) {
    int mask = kSendMode | kSendColour;
    if ((light.config_func & kLightHasBrightness) != 0) {
        mask |= kSendBrightness;
    }
    if ((light.config_func & kLightHasSpeed) != 0) {
        mask |= kSendSpeed;
    }
    return mask;
}

PageResult MakeActive(DeviceDataDB& db, int profile, int mode) {
    std::lock_guard<std::recursive_mutex> hold(db.Lock());
    if (auto refused = CheckProfile(db, profile)) {
        return *refused;
    }
    if (!EnsureLightModes(db, profile)) {
        return PageResult::StoreFailed();
    }
    LightModeSettings light;
    if (mode < 0 || mode >= kLightModeCount || !db.GetLightMode(profile, mode, light)) {
        return PageResult::Refused(L"lighting mode must be 0-" +
                                   std::to_wstring(kLightModeCount - 1));
    }
    if (!db.SetActiveLightMode(profile, mode)) {
        return PageResult::StoreFailed();
    }
    return PageResult::Done(IfActive(db, profile, {LightingTask(ModeChangeMask(light), mode)}),
                            mode);
}

// The active mode's record, refused when there is none or it lacks the feature.
std::optional<PageResult> ActiveRecord(DeviceDataDB& db, int profile, int feature,
                                       std::wstring_view what, LightModeSettings& light) {
    if (auto refused = CheckProfile(db, profile)) {
        return refused;
    }
    if (!EnsureLightModes(db, profile)) {
        return PageResult::StoreFailed();
    }
    const int mode = db.GetActiveLightMode(profile);
    if (!db.GetLightMode(profile, mode, light) || light.status != 1) {
        return PageResult::Refused(L"no lighting mode is active");
    }
    if ((light.config_func & feature) == 0) {
        return PageResult::Refused(L"lighting mode " + std::to_wstring(mode) + L" has no " +
                                   std::wstring(what));
    }
    return std::nullopt;
}

PageResult UpdateActive(DeviceDataDB& db, int profile, LightModeSettings& light, int mask,
                        int value) {
    if (!db.UpdateLightMode(profile, light.mode, light)) {
        return PageResult::StoreFailed();
    }
    return PageResult::Done(IfActive(db, profile, {LightingTask(mask, light.mode)}), value);
}

std::optional<PageResult> CheckByte(int value, std::wstring_view what) {
    if (value < 0 || value > 255) {
        return PageResult::Refused(std::wstring(what) + L" must be 0-255");
    }
    return std::nullopt;
}

// One byte-sized setting of the active mode: checked, stored and queued with its send bit.
PageResult SetActiveByte(DeviceDataDB& db, int profile, int value,
                         int32_t LightModeSettings::*field, int feature, int sendBit,
                         std::wstring_view what) {
    std::lock_guard<std::recursive_mutex> hold(db.Lock());
    if (auto refused = CheckByte(value, what)) {
        return *refused;
    }
    LightModeSettings light;
    if (auto refused = ActiveRecord(db, profile, feature, what, light)) {
        return *refused;
    }
    light.*field = value;
    return UpdateActive(db, profile, light, sendBit, value);
}

}  // namespace

bool EnsureLightModes(DeviceDataDB& db, int profile) {
    std::lock_guard<std::recursive_mutex> hold(db.Lock());
    if (db.CountLightModes(profile) > 0) {
        return true;
    }
    for (const BuiltInMode& entry : kBuiltInModes) {
        LightModeSettings light;
        light.profile = profile;
        light.name = entry.name;
        light.mode = entry.mode;
        light.brightness = 255;
        light.speed = 128;
        light.direction = 0;
        light.colorful = 1;
        light.colorindex = 0;
        light.color_value = 255;
        light.config_func = entry.configFunc;
        light.reserved = entry.nameText;
        light.status = 0;
        if (db.AddLightMode(light) == 0) {
            return false;
        }
    }
    db.SetActiveLightMode(profile, kDefaultLightMode);
    return true;
}

LightingValues ReadLighting(DeviceDataDB& db, int profile) {
    std::lock_guard<std::recursive_mutex> hold(db.Lock());
    LightingValues values;
    EnsureLightModes(db, profile);
    db.ListLightModes(profile, values.modes);
    for (const auto& light : values.modes) {
        if (light->status == 1) {
            values.activeMode = light->mode;
        }
    }
    return values;
}

PageResult SetLightingMode(DeviceDataDB& db, int profile, int mode) {
    return MakeActive(db, profile, mode);
}

PageResult ResetLighting(DeviceDataDB& db, int profile) {
    return MakeActive(db, profile, kDefaultLightMode);
}

PageResult SetLightBrightness(DeviceDataDB& db, int profile, int brightness) {
    return SetActiveByte(db, profile, brightness, &LightModeSettings::brightness,
                         kLightHasBrightness, kSendBrightness, L"brightness");
}

PageResult SetLightSpeed(DeviceDataDB& db, int profile, int speed) {
    return SetActiveByte(db, profile, speed, &LightModeSettings::speed, kLightHasSpeed, kSendSpeed,
                         L"speed");
}

PageResult SetLightColour(DeviceDataDB& db, int profile, int red, int green, int blue) {
    std::lock_guard<std::recursive_mutex> hold(db.Lock());
    for (auto [value, what] :
         {std::pair{red, L"red"}, std::pair{green, L"green"}, std::pair{blue, L"blue"}}) {
        if (auto refused = CheckByte(value, what)) {
            return *refused;
        }
    }
    LightModeSettings light;
    if (auto refused = ActiveRecord(db, profile, kLightHasColour, L"colour", light)) {
        return *refused;
    }
    light.color_value = red + 256 * green + 65536 * blue;
    return UpdateActive(db, profile, light, kSendColour, light.color_value);
}
