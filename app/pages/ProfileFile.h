#pragma once

#include <string_view>

#include "app/pages/PageResult.h"

class DeviceDataDB;

// The profile file: a profile's button functions, lighting, DPI and performance values as
// XML (root "profile"), the form the profile dialog exports and imports.

struct ProfileFileOptions {
    // The model has lighting: the file carries "Lightitems" and import applies them.
    bool withLighting = true;
    // Import gives the profile the file's name (the profile dialog keeps the profile's own).
    bool applyName = false;
};

// Writes the profile to path, with ".xml" appended unless the path ends in it (any letter
// case); result.path is the file written.
PageResult ExportProfileFile(DeviceDataDB& db, int profile, std::wstring_view path,
                             const ProfileFileOptions& options = {});

// Reads a profile file into the profile: its button records are replaced by the file's, its
// lighting, DPI and performance values take the file's; task 5 for it when it is the active
// profile. A button bound to a macro that this store does not have keeps its default. Files that
// are not XML, have another root, lack "profileinfo" or hold values out of range are refused and
// nothing is stored.
PageResult ImportProfileFile(DeviceDataDB& db, std::wstring_view path, int profile,
                             const ProfileFileOptions& options = {});
