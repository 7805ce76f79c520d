#pragma once

#include <string>
#include <string_view>

#include "app/pages/PageResult.h"
#include "app/store/Records.h"

class DeviceDataDB;

// The five profiles of a model's store and the current one.

constexpr int kProfileCount = 5;

// Creates the five default profiles ("<word> 1" ... "<word> 5", word = language text 61)
// when the store has none, makes sure one is active (profile 1 otherwise) and returns the
// active profile, 0 when the store fails.
int EnsureProfiles(DeviceDataDB& db, std::wstring_view profileWord);

// The profiles with their names in the current language, in store order.
int ReadProfiles(DeviceDataDB& db, ProfileList& profiles);

// Makes an existing profile current; task 5 for it (the worker writes the whole profile to
// the mouse and refreshes the pages).
PageResult SwitchProfile(DeviceDataDB& db, int profile);

// Gives an existing profile a new name, refused when it is empty or another profile has it
// (compared exactly). Nothing is sent: the name lives only in the store.
PageResult RenameProfile(DeviceDataDB& db, int profile, std::wstring_view name);
