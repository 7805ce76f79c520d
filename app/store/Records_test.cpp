#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>

#include "app/store/DeviceDataDB.h"
#include "quorl/core/Utf8.h"
#include "tests/support/TempFolder.h"

namespace {

class RecordsTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directory(folder_ / "db");
        ASSERT_TRUE(db_.OpenDeviceDatabase(Quorl::Utf8ToWide(folder_.Path() + "/"), L"M7"));
    }
    TempFolder folder_;
    DeviceDataDB db_;
};

TEST_F(RecordsTest, ButtonAssignmentsRoundTripAndAnEmptyOneRestoresTheDefault) {
    const ButtonAssignment fire{
        0, 2, 0, 4, 7, L"layout \u00e9", 5, 0x04, 3, 40, L"Fire A \u00d7 3"};
    const int id = db_.SaveButtonAssignment(fire);
    ASSERT_GT(id, 0);
    ButtonAssignment read;
    ASSERT_TRUE(db_.GetButtonAssignment(2, 4, read));
    EXPECT_EQ(read.key_id, id);
    EXPECT_EQ(read.profile, 2);
    EXPECT_EQ(read.key_code, 4);
    EXPECT_EQ(read.layout_value, 7);
    EXPECT_EQ(read.layout_desc, fire.layout_desc);
    EXPECT_EQ(read.macro_type, 5);
    EXPECT_EQ(read.macro_value, 4);
    EXPECT_EQ(read.macro_value2, 3);
    EXPECT_EQ(read.macro_value3, 40);
    EXPECT_EQ(read.macro_desc, fire.macro_desc);

    // Saving again replaces the row.
    ButtonAssignment key = fire;
    key.macro_value = 0;
    key.macro_value2 = 0x29;
    ASSERT_GT(db_.SaveButtonAssignment(key), id);
    ButtonAssignmentList list;
    ASSERT_EQ(db_.ListButtonAssignments(2, list), 1);
    EXPECT_EQ(list[0]->macro_value2, 0x29);

    ASSERT_TRUE(db_.SetButtonDescription(2, 4, L"Escape"));
    ASSERT_TRUE(db_.GetButtonAssignment(2, 4, read));
    EXPECT_EQ(read.macro_desc, L"Escape");

    key.macro_value2 = 0;
    EXPECT_EQ(db_.SaveButtonAssignment(key), 0);
    EXPECT_FALSE(db_.GetButtonAssignment(2, 4, read));
}

TEST_F(RecordsTest, ButtonLookupsSeeLayerZeroOnly) {
    ButtonAssignment layered{0, 1, 1, 2, 0, L"", 1, 9, 0, 0, L"fn"};
    ASSERT_GT(db_.SaveButtonAssignment(layered), 0);
    ButtonAssignment read;
    EXPECT_FALSE(db_.GetButtonAssignment(1, 2, read));
    ButtonAssignmentList list;
    EXPECT_EQ(db_.ListButtonAssignments(1, list), 0);
    layered.fn_layer = 0;
    ASSERT_GT(db_.SaveButtonAssignment(layered), 0);
    EXPECT_TRUE(db_.GetButtonAssignment(1, 2, read));
    ASSERT_TRUE(db_.DeleteProfileButtons(1));
    EXPECT_FALSE(db_.GetButtonAssignment(1, 2, read));
}

TEST_F(RecordsTest, LightModesOfAProfile) {
    for (int mode = 1; mode <= 3; ++mode) {
        LightModeSettings light{
            0, 1,        L"Mode " + std::to_wstring(mode), mode, 3, 2, 0, 1, 0, 0x00FF8800, 0x10,
            0, mode == 1};
        ASSERT_GT(db_.AddLightMode(light), 0);
    }
    db_.AddLightMode(LightModeSettings{0, 2, L"Other", 1});
    EXPECT_EQ(db_.CountLightModes(1), 3);
    EXPECT_EQ(db_.CountLightModes(9), 0);
    EXPECT_EQ(db_.GetActiveLightMode(1), 1);

    ASSERT_TRUE(db_.SetLightBrightness(1, 2, 5));
    ASSERT_TRUE(db_.SetLightSpeed(1, 2, 4));
    ASSERT_TRUE(db_.SetLightColor(1, 2, 0x123456));
    LightModeSettings read;
    ASSERT_TRUE(db_.GetLightMode(1, 2, read));
    EXPECT_EQ(read.name, L"Mode 2");
    EXPECT_EQ(read.brightness, 5);
    EXPECT_EQ(read.speed, 4);
    EXPECT_EQ(read.color_value, 0x123456);
    EXPECT_EQ(read.config_func, 0x10);

    LightModeSettings update = read;
    update.brightness = 1, update.direction = 1, update.colorful = 0, update.colorindex = 6;
    update.reserved = 9, update.name = L"ignored", update.status = 1;
    ASSERT_TRUE(db_.UpdateLightMode(1, 2, update));
    ASSERT_TRUE(db_.GetLightMode(1, 2, read));
    EXPECT_EQ(read.name, L"Mode 2") << "an update leaves name and status";
    EXPECT_EQ(read.status, 0);
    EXPECT_EQ(read.brightness, 1);
    EXPECT_EQ(read.direction, 1);
    EXPECT_EQ(read.colorindex, 6);
    EXPECT_EQ(read.reserved, 9);

    ASSERT_TRUE(db_.SetActiveLightMode(1, 3));
    EXPECT_EQ(db_.GetActiveLightMode(1), 3);
    EXPECT_EQ(db_.GetActiveLightMode(2), 0) << "other profiles are not touched";
    ASSERT_TRUE(db_.SetActiveLightMode(1, 42));
    EXPECT_EQ(db_.GetActiveLightMode(1), 0) << "no mode is active after an unknown one";
    LightModeList lights;
    EXPECT_EQ(db_.ListLightModes(1, lights), 3);
    EXPECT_FALSE(db_.GetLightMode(1, 42, read));
}

TEST_F(RecordsTest, MacrosAndTheirNames) {
    const int first = db_.AddMacro(L"Burst");
    ASSERT_GT(first, 0);
    MacroInfo read;
    ASSERT_TRUE(db_.GetMacro(first, read));
    EXPECT_EQ(read.name, L"Burst");
    EXPECT_EQ(read.play_type, 0);
    EXPECT_EQ(read.play_times, 1);
    EXPECT_EQ(read.delay_type, 1);
    EXPECT_EQ(read.delay_time, 0);

    const int second =
        db_.AddMacroWithSettings(MacroInfo{0, L"\u041C\u0430\u043A\u0440\u043E", 2, 5, 0, 30});
    ASSERT_GT(second, first);
    EXPECT_TRUE(db_.MacroNameExists(L"Burst", -1));
    EXPECT_FALSE(db_.MacroNameExists(L"Burst", first)) << "its own name does not count";
    EXPECT_TRUE(db_.MacroNameExists(L"Burst", second));
    EXPECT_FALSE(db_.MacroNameExists(L"burst", -1));

    ASSERT_TRUE(db_.RenameMacro(first, L"Burst 2"));
    MacroInfo changed{second, L"Spray", 1, 3, 2, 15};
    ASSERT_TRUE(db_.UpdateMacro(changed));
    MacroList macros;
    ASSERT_EQ(db_.ListMacros(macros), 2);
    EXPECT_EQ(macros[0]->name, L"Burst 2");
    EXPECT_EQ(macros[1]->name, L"Spray");
    EXPECT_EQ(macros[1]->play_type, 1);
    EXPECT_EQ(macros[1]->play_times, 3);
    EXPECT_EQ(macros[1]->delay_type, 2);
    EXPECT_EQ(macros[1]->delay_time, 15);
}

TEST_F(RecordsTest, MacroEventsComeBackInStepOrderAndGoWithTheirMacro) {
    const int macro = db_.AddMacro(L"Steps");
    const int other = db_.AddMacro(L"Other");
    std::vector<MacroEvent> events;
    for (int index : {2, 0, 3, 1}) {
        events.push_back(MacroEvent{0, macro, index % 2, index, 0x41 + index, 10 * index,
                                    L"step " + std::to_wstring(index)});
    }
    db_.AddMacroEvents(events);
    ASSERT_GT(db_.AddMacroEvent(MacroEvent{0, other, 1, 0, 5, 5, L"x"}), 0);

    MacroEventList read;
    ASSERT_EQ(db_.ListMacroEvents(macro, read), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(read[i]->record_index, i);
        EXPECT_EQ(read[i]->macro_id, macro);
        EXPECT_EQ(read[i]->type, i % 2);
        EXPECT_EQ(read[i]->value, 0x41 + i);
        EXPECT_EQ(read[i]->delay_time, 10 * i);
        EXPECT_EQ(read[i]->desc, L"step " + std::to_wstring(i));
    }
    // Adding does not replace: the caller deletes first.
    db_.AddMacroEvents({MacroEvent{0, macro, 0, 4, 1, 1, L""}});
    EXPECT_EQ(db_.ListMacroEvents(macro, read), 5);
    ASSERT_TRUE(db_.DeleteMacroEvents(macro));
    EXPECT_EQ(db_.ListMacroEvents(macro, read), 0);

    ASSERT_TRUE(db_.DeleteMacro(other));
    EXPECT_EQ(db_.ListMacroEvents(other, read), 0);
    MacroInfo gone;
    EXPECT_FALSE(db_.GetMacro(other, gone));
    EXPECT_TRUE(db_.DeleteMacro(12345)) << "deleting nothing still succeeds";
}

TEST_F(RecordsTest, WritesFailCleanlyOnAClosedStore) {
    db_.CloseDeviceDatabase();
    EXPECT_EQ(db_.SaveButtonAssignment(ButtonAssignment{0, 1, 0, 1, 0, L"", 1, 1}), 0);
    EXPECT_FALSE(db_.SetButtonDescription(1, 1, L"x"));
    EXPECT_FALSE(db_.DeleteProfileButtons(1));
    EXPECT_EQ(db_.AddLightMode(LightModeSettings{}), 0);
    EXPECT_FALSE(db_.SetActiveLightMode(1, 1));
    EXPECT_FALSE(db_.DeleteMacro(1));
    EXPECT_FALSE(db_.MacroNameExists(L"x", -1));
    db_.AddMacroEvents({MacroEvent{}});
    MacroEventList events;
    EXPECT_EQ(db_.ListMacroEvents(0, events), 0);
}

}  // namespace
