#include "app/pages/ProfileSettings.h"

#include "app/pages/ConfigValues.h"
#include "app/store/DeviceDataDB.h"

int EnsureProfiles(DeviceDataDB& db, std::wstring_view profileWord) {
    std::lock_guard<std::recursive_mutex> hold(db.Lock());
    if (!db.IsOpened()) {
        return 0;
    }
    ProfileList profiles;
    if (db.ListProfiles(profiles) < 1) {
        for (int n = 1; n <= kProfileCount; ++n) {
            ProfileInfo profile;
            profile.name = std::wstring(profileWord) + L" " + std::to_wstring(n);
            db.AddProfile(profile);
        }
        db.SetActiveProfile(1);
    }
    int active = db.GetActiveProfile();
    if (active < 1) {
        db.SetActiveProfile(1);
        active = db.GetActiveProfile();
    }
    return active;
}

int ReadProfiles(DeviceDataDB& db, ProfileList& profiles) {
    return db.ListProfiles(profiles);
}

PageResult SwitchProfile(DeviceDataDB& db, int profile) {
    std::lock_guard<std::recursive_mutex> hold(db.Lock());
    if (auto refused = CheckProfile(db, profile)) {
        return *refused;
    }
    if (!db.SetActiveProfile(profile) || db.GetActiveProfile() != profile) {
        return PageResult::StoreFailed();
    }
    PageTask task = MakeTask(PageTaskCode::kProfileSwitch);
    task.profile = profile;
    return PageResult::Done({task}, profile);
}

PageResult RenameProfile(DeviceDataDB& db, int profile, std::wstring_view name) {
    std::lock_guard<std::recursive_mutex> hold(db.Lock());
    if (auto refused = CheckProfile(db, profile)) {
        return *refused;
    }
    if (name.empty()) {
        return PageResult::Refused(L"a profile name cannot be empty");
    }
    ProfileList profiles;
    db.ListProfiles(profiles);
    for (const auto& other : profiles) {
        if (other->profile != profile && other->name == name) {
            return PageResult::Refused(L"profile " + std::to_wstring(other->profile) +
                                       L" already has that name");
        }
    }
    if (!db.RenameProfile(profile, name)) {
        return PageResult::StoreFailed();
    }
    return PageResult::Done({}, profile);
}
