#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/lang/LanguageId.h"
#include "app/pages/PageResult.h"
#include "app/pages/ProfileSettings.h"
#include "app/store/DeviceDataDB.h"
#include "quorl/core/Utf8.h"
#include "tests/support/TempFolder.h"

// A store in a temporary data folder with the five default profiles, profile 1 active.
class PagesStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetCurrentLanguageId(1033);
        std::filesystem::create_directory(folder_ / "db");
        ASSERT_TRUE(db_.OpenDeviceDatabase(Quorl::Utf8ToWide(folder_.Path() + "/"), L"Veyra"));
        ASSERT_EQ(EnsureProfiles(db_, L"Profile"), 1);
    }

    std::wstring Config(int profile, const wchar_t* key) {
        std::wstring value;
        db_.GetConfigValue(profile, key, value);
        return value;
    }

    // Every row of every table, so a test can tell that nothing was stored.
    std::string Snapshot() {
        std::string rows;
        for (const char* table : {"t_configdata", "t_profile_data", "t_key_macro_data",
                                  "t_macro_data", "t_macrorecord", "t_light_data"}) {
            rows += std::string(table) + ":\n";
            const std::string sql = std::string("SELECT * FROM ") + table + " ORDER BY rowid";
            db_.Execute(sql.c_str(), &AppendRow, &rows);
        }
        EXPECT_NE(rows.find("dpi_count"), std::string::npos);  // the snapshot sees the rows
        return rows;
    }

    std::wstring Path(const std::string& name) { return Quorl::Utf8ToWide(folder_ / name); }

    TempFolder folder_;
    DeviceDataDB db_;

private:
    static int AppendRow(void* context, int columns, char** values, char**) {
        std::string& rows = *static_cast<std::string*>(context);
        for (int i = 0; i < columns; ++i) {
            rows += values[i] != nullptr ? values[i] : "NULL";
            rows += '|';
        }
        rows += '\n';
        return 0;
    }
};

// The task codes of a result, in order.
inline std::vector<int> Codes(const PageResult& result) {
    std::vector<int> codes;
    for (const PageTask& task : result.tasks) {
        codes.push_back(task.code);
    }
    return codes;
}
