#include "app/pages/MacroRecords.h"

#include "app/pages/ButtonSettings.h"
#include "app/pages/PagesStore_test.h"

namespace {

using MacroRecordsTest = PagesStoreTest;

std::wstring NoText(int) {
    return {};
}

std::wstring NameOf(DeviceDataDB& db, int id) {
    MacroInfo macro;
    db.GetMacro(id, macro);
    return macro.name;
}

TEST_F(MacroRecordsTest, NewMacrosTakeTheFirstFreeNumber) {
    PageResult first = NewMacro(db_, L"Custom");
    ASSERT_TRUE(first.ok);
    EXPECT_EQ(NameOf(db_, first.value), L"Custom 1");
    ASSERT_TRUE(NewMacro(db_, L"Custom").ok);
    EXPECT_EQ(NameOf(db_, NewMacro(db_, L"Custom").value), L"Custom 3");

    // Two macros, one of them already "Custom 3": the count gives 3, which is taken.
    ASSERT_TRUE(db_.DeleteMacro(first.value));
    EXPECT_EQ(NameOf(db_, NewMacro(db_, L"Custom").value), L"Custom 4");

    MacroInfo created;
    ASSERT_TRUE(db_.GetMacro(first.value + 1, created));
    EXPECT_EQ(created.play_type, 0);
    EXPECT_EQ(created.play_times, 1);
    EXPECT_EQ(created.delay_type, 1);
    EXPECT_EQ(created.delay_time, 0);
}

TEST_F(MacroRecordsTest, RenameKeepsNamesUniqueAndUpdatesBoundButtonsOfEveryProfile) {
    const int a = db_.AddMacro(L"A");
    const int b = db_.AddMacro(L"B");
    ASSERT_TRUE(SetButtonFunction(db_, 1, 3, MacroFunction(a), NoText).ok);
    ASSERT_TRUE(SetButtonFunction(db_, 1, 4, MacroFunction(b), NoText).ok);
    ASSERT_TRUE(SetButtonFunction(db_, 2, 1, MacroFunction(a), NoText).ok);

    const std::string before = Snapshot();
    for (const wchar_t* refused : {L"", L"B"}) {
        const PageResult result = RenameMacroRecord(db_, 1, a, refused);
        EXPECT_FALSE(result.ok) << Quorl::WideToUtf8(refused);
        EXPECT_FALSE(result.message.empty());
    }
    EXPECT_FALSE(RenameMacroRecord(db_, 1, 999, L"C").ok);
    EXPECT_EQ(Snapshot(), before);

    EXPECT_TRUE(RenameMacroRecord(db_, 1, a, L"A").ok);  // its own name is not a clash
    const PageResult result = RenameMacroRecord(db_, 1, a, L"Sprint");
    ASSERT_TRUE(result.ok);
    EXPECT_TRUE(result.tasks.empty());
    EXPECT_EQ(NameOf(db_, a), L"Sprint");
    ButtonAssignment button;
    ASSERT_TRUE(db_.GetButtonAssignment(1, 3, button));
    EXPECT_EQ(button.macro_desc, L"Sprint");
    ASSERT_TRUE(db_.GetButtonAssignment(1, 4, button));
    EXPECT_EQ(button.macro_desc, L"B");
    ASSERT_TRUE(db_.GetButtonAssignment(2, 1, button));
    EXPECT_EQ(button.macro_desc, L"Sprint");
}

TEST_F(MacroRecordsTest, DeletingAMacroReturnsItsButtonsToTheirDefaults) {
    const int macro = db_.AddMacro(L"Gone");
    const int other = db_.AddMacro(L"Kept");
    MacroEvent event;
    event.macro_id = macro;
    event.type = 1;
    event.value = 10;
    ASSERT_GT(db_.AddMacroEvent(event), 0);
    ASSERT_TRUE(SetButtonFunction(db_, 1, 3, MacroFunction(macro), NoText).ok);
    ASSERT_TRUE(SetButtonFunction(db_, 1, 4, MacroFunction(other), NoText).ok);
    ASSERT_TRUE(SetButtonFunction(db_, 2, 5, MacroFunction(macro), NoText).ok);

    const PageResult result = DeleteMacroRecord(db_, 1, macro);
    ASSERT_TRUE(result.ok);
    ASSERT_EQ(Codes(result), std::vector<int>{7});  // only the active profile's button
    EXPECT_EQ(result.tasks[0].button, 3);

    ButtonAssignment button;
    EXPECT_FALSE(db_.GetButtonAssignment(1, 3, button));
    EXPECT_FALSE(db_.GetButtonAssignment(2, 5, button));
    EXPECT_TRUE(db_.GetButtonAssignment(1, 4, button));
    MacroValues values;
    EXPECT_FALSE(ReadMacro(db_, macro, values));
    MacroEventList events;
    EXPECT_EQ(db_.ListMacroEvents(macro, events), 0);
    EXPECT_FALSE(DeleteMacroRecord(db_, 1, macro).ok);
}

TEST_F(MacroRecordsTest, FreeNameNumbersATakenName) {
    EXPECT_EQ(FreeMacroName(db_, L"M"), L"M");
    db_.AddMacro(L"M");
    db_.AddMacro(L"M 2");
    EXPECT_EQ(FreeMacroName(db_, L"M"), L"M 3");
}

}  // namespace
