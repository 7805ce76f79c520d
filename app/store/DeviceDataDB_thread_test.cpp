// The UI thread and the device worker use the one store at the same time.
#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "app/store/DeviceDataDB.h"
#include "quorl/core/Utf8.h"
#include "tests/support/TempFolder.h"

namespace {

TEST(StoreThreads, TwoThreadsStoreAndReadWithoutLosingAWrite) {
    TempFolder folder;
    std::filesystem::create_directory(folder / "db");
    const std::wstring dataFolder = Quorl::Utf8ToWide(folder.Path() + "/");
    DeviceDataDB& db = DeviceDataDB::Instance();
    ASSERT_TRUE(db.OpenDeviceDatabase(dataFolder, L"Threads"));
    ASSERT_EQ(db.AddProfile(ProfileInfo{0, L"Profile 1"}), 1);
    ASSERT_EQ(db.AddProfile(ProfileInfo{0, L"Profile 2"}), 2);

    constexpr int kRounds = 150;
    // Each thread owns one profile's DPI value and adds macros; both read the other's rows.
    auto work = [&](int profile, int otherProfile) {
        for (int i = 0; i < kRounds; ++i) {
            const std::wstring value = std::to_wstring(1000 + i);
            EXPECT_TRUE(db.SetConfigValue(profile, L"dpi_group0_value", value));
            std::wstring read;
            EXPECT_TRUE(db.GetConfigValue(profile, L"dpi_group0_value", read));
            EXPECT_EQ(read, value) << "no other thread writes this row";
            EXPECT_TRUE(db.GetConfigValue(otherProfile, L"dpi_group0_value", read));
            EXPECT_GT(db.AddMacro(L"m" + std::to_wstring(profile) + L"_" + std::to_wstring(i)), 0);
            ProfileList profiles;
            EXPECT_EQ(db.ListProfiles(profiles), 2);
        }
    };
    std::thread worker(work, 2, 1);
    work(1, 2);
    worker.join();

    MacroList macros;
    EXPECT_EQ(db.ListMacros(macros), 2 * kRounds);
    std::wstring last;
    ASSERT_TRUE(db.GetConfigValue(2, L"dpi_group0_value", last));
    EXPECT_EQ(last, std::to_wstring(1000 + kRounds - 1));

    // A reopen on one thread while the other queries never lets a statement hit a half-switched
    // connection.
    std::thread reopener([&] {
        for (int i = 0; i < 30; ++i) {
            db.CloseDeviceDatabase();
            EXPECT_TRUE(db.OpenDeviceDatabase(dataFolder, L"Threads"));
        }
    });
    for (int i = 0; i < 300; ++i) {
        std::wstring value;
        db.GetConfigValue(1, L"dpi_index", value);
        EXPECT_TRUE(value.empty() || value == L"1");
    }
    reopener.join();
    db.CloseDeviceDatabase();
}

}  // namespace
