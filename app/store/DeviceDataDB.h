#pragma once

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "app/store/Records.h"
#include "app/store/SQLiteDB.h"

// The per-model configuration store: one SQLite file per mouse model, holding the profiles,
// their configuration rows, button assignments, lighting modes and the shared macros.
// Every operation holds the store lock for its whole duration, so the UI thread and the device
// worker never interleave; failures are silent and give false, 0 or an empty result.
class DeviceDataDB : public SQLiteDB {
public:
    DeviceDataDB() = default;
    ~DeviceDataDB() override;

    // The process-wide store, created on first use.
    static DeviceDataDB& Instance();

    // Lifecycle. The file is dataFolder + "db/" + deviceName + "_data.db"; a missing file is
    // created with the full schema, an existing one is opened as it is.
    bool OpenDeviceDatabase(std::wstring_view dataFolder, std::wstring_view deviceName);
    void ResetDeviceDatabase(std::wstring_view dataFolder, std::wstring_view deviceName);
    void CloseDeviceDatabase();
    void ClearAllTables();
    bool IsOpened() const;
    std::string Path() const;

    // Configuration rows.
    bool GetConfigValue(int profile, std::wstring_view key, std::wstring& value);
    bool SetConfigValue(int profile, std::wstring_view key, std::wstring_view value);

    // Profiles. Names are shown in the current interface language.
    int AddProfile(const ProfileInfo& profile);
    bool RenameProfile(int profile, std::wstring_view name);
    bool GetProfileName(int profile, std::wstring& name);
    int ListProfiles(ProfileList& profiles);
    bool SetActiveProfile(int profile);
    int GetActiveProfile();

    // Button assignments (layer 0 only).
    int SaveButtonAssignment(const ButtonAssignment& assignment);
    bool GetButtonAssignment(int profile, int keyCode, ButtonAssignment& assignment);
    bool SetButtonDescription(int profile, int keyCode, std::wstring_view text);
    int ListButtonAssignments(int profile, ButtonAssignmentList& assignments);
    bool DeleteProfileButtons(int profile);

    // Lighting modes.
    int CountLightModes(int profile);
    int AddLightMode(const LightModeSettings& light);
    bool UpdateLightMode(int profile, int mode, const LightModeSettings& light);
    bool SetLightBrightness(int profile, int mode, int value);
    bool SetLightSpeed(int profile, int mode, int value);
    bool SetLightColor(int profile, int mode, int value);
    bool SetActiveLightMode(int profile, int mode);
    int GetActiveLightMode(int profile);
    bool GetLightMode(int profile, int mode, LightModeSettings& light);
    int ListLightModes(int profile, LightModeList& lights);

    // Macros and their events.
    int AddMacro(std::wstring_view name);
    int AddMacroWithSettings(const MacroInfo& macro);
    bool MacroNameExists(std::wstring_view name, int excludedId);
    bool RenameMacro(int macroId, std::wstring_view name);
    bool DeleteMacro(int macroId);
    bool GetMacro(int macroId, MacroInfo& macro);
    bool UpdateMacro(const MacroInfo& macro);
    int ListMacros(MacroList& macros);
    int AddMacroEvent(const MacroEvent& event);
    void AddMacroEvents(const std::vector<MacroEvent>& events);
    int ListMacroEvents(int macroId, MacroEventList& events);
    bool DeleteMacroEvents(int macroId);

    // The store lock, for callers that need several operations to stay together.
    std::recursive_mutex& Lock() const { return lock_; }

private:
    bool CreateSchema();
    void InsertDefaultConfig(int profile);
    int InsertMacro(std::string_view name, int playType, int playTimes, int delayType,
                    int delayTime);
    int InsertedId(int stepResult);

    mutable std::recursive_mutex lock_;
    std::string path_;
    bool opened_ = false;
};

// The profile word of a default name ("Profile 3") in the given interface language.
std::wstring LocaliseProfileName(std::wstring_view stored, int languageId);
