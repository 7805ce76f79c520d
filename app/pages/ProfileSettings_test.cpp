#include "app/pages/ProfileSettings.h"

#include "app/pages/PagesStore_test.h"

namespace {

using ProfileSettingsTest = PagesStoreTest;

TEST_F(ProfileSettingsTest, AnEmptyStoreGetsFiveProfilesAndAnActiveOne) {
    ProfileList profiles;
    ASSERT_EQ(ReadProfiles(db_, profiles), 5);
    EXPECT_EQ(profiles[4]->name, L"Profile 5");
    EXPECT_EQ(profiles[0]->status, 1);

    // No active profile: profile 1 becomes active again; existing profiles are kept.
    ASSERT_EQ(db_.Execute("UPDATE t_profile_data SET status = 0"), 0);
    EXPECT_EQ(EnsureProfiles(db_, L"Other"), 1);
    ASSERT_EQ(ReadProfiles(db_, profiles), 5);
    EXPECT_EQ(profiles[0]->name, L"Profile 1");
}

TEST_F(ProfileSettingsTest, SwitchMakesTheProfileActiveAndQueuesTaskFive) {
    const PageResult result = SwitchProfile(db_, 3);
    ASSERT_TRUE(result.ok);
    ASSERT_EQ(Codes(result), std::vector<int>{5});
    EXPECT_EQ(result.tasks[0].profile, 3);
    EXPECT_EQ(db_.GetActiveProfile(), 3);

    for (int missing : {0, 6, -1}) {
        const PageResult refused = SwitchProfile(db_, missing);
        EXPECT_FALSE(refused.ok);
        EXPECT_NE(refused.message.find(L"1-5"), std::wstring::npos);
    }
    EXPECT_EQ(db_.GetActiveProfile(), 3);
}

TEST_F(ProfileSettingsTest, RenameRefusesEmptyAndTakenNames) {
    const std::string before = Snapshot();
    EXPECT_FALSE(RenameProfile(db_, 2, L"").ok);
    const PageResult taken = RenameProfile(db_, 2, L"Profile 4");
    EXPECT_FALSE(taken.ok);
    EXPECT_NE(taken.message.find(L"profile 4"), std::wstring::npos);
    EXPECT_FALSE(RenameProfile(db_, 9, L"Nine").ok);
    EXPECT_EQ(Snapshot(), before);

    const PageResult result = RenameProfile(db_, 2, L"Work");
    ASSERT_TRUE(result.ok);
    EXPECT_TRUE(result.tasks.empty());
    std::wstring name;
    ASSERT_TRUE(db_.GetProfileName(2, name));
    EXPECT_EQ(name, L"Work");
    EXPECT_TRUE(RenameProfile(db_, 2, L"Work").ok);  // its own name is no clash
}

}  // namespace
