#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class DeviceDataDB;

// Configuration values are decimal text in the store and in the files.

// A whole decimal integer with an optional sign and no blanks; nullopt for anything else or
// a number outside int.
std::optional<int> ParseDecimal(std::wstring_view text);

// The profile's value as a number; fallback when the row is missing or not a number.
int ReadConfigInt(DeviceDataDB& db, int profile, std::wstring_view key, int fallback = 0);
bool WriteConfigInt(DeviceDataDB& db, int profile, std::wstring_view key, int value);

// "dpi_group<level>_value" and "dpi_group<level>_rgb", level 0-based.
std::wstring DpiValueKey(int level);
std::wstring DpiColourKey(int level);

// The profile exists in the store (it has a row in t_profile_data).
bool ProfileExists(DeviceDataDB& db, int profile);

struct PageResult;
// A refusal when the store is not open or the profile does not exist, else nullopt.
std::optional<PageResult> CheckProfile(DeviceDataDB& db, int profile);

struct PageTask;
// The tasks, when the profile is the active one; none otherwise: the mouse holds the active
// profile, and another profile reaches it when it is switched to (task 5).
std::vector<PageTask> IfActive(DeviceDataDB& db, int profile, std::vector<PageTask> tasks);
