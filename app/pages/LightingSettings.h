#pragma once

#include "app/pages/PageResult.h"
#include "app/store/Records.h"

class DeviceDataDB;

// The lighting of a profile as the lighting page keeps it: one record per effect (mode 0-6),
// one of them active. Every change is written to the active mode's record and sent with
// task 8 and a send mask naming the parts to send.

constexpr int kLightModeCount = 7;
constexpr int kDefaultLightMode = 3;

// What a mode accepts (config_func bits).
constexpr int kLightHasBrightness = 1;
constexpr int kLightHasSpeed = 2;
constexpr int kLightHasColour = 16;

// Creates the seven built-in modes, with mode 3 active, for a profile that has no lighting
// records; does nothing otherwise. True when the profile has records afterwards.
bool EnsureLightModes(DeviceDataDB& db, int profile);

struct LightingValues {
    int activeMode = -1;  // -1 when no mode is active
    LightModeList modes;  // in store order
};
// The profile's lighting records (the built-in modes are created first when missing).
LightingValues ReadLighting(DeviceDataDB& db, int profile);

// Makes a mode 0-6 active; task 8 with the mode and colour bits, plus brightness and speed
// where the mode has them, so the mouse gets the whole effect at once.
PageResult SetLightingMode(DeviceDataDB& db, int profile, int mode);
// Mode 3 active, stored values kept; task 8 as for a mode change.
PageResult ResetLighting(DeviceDataDB& db, int profile);
// 0-255 for the active mode, refused when that mode has no brightness (or speed); task 8.
PageResult SetLightBrightness(DeviceDataDB& db, int profile, int brightness);
PageResult SetLightSpeed(DeviceDataDB& db, int profile, int speed);
// Red, green, blue 0-255, stored as COLORREF (red in the low byte) for the active mode,
// refused when that mode has no colour; task 8.
PageResult SetLightColour(DeviceDataDB& db, int profile, int red, int green, int blue);
