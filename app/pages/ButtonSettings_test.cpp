#include "app/pages/ButtonSettings.h"

#include "app/pages/PagesStore_test.h"
#include "app/pages/PerformanceSettings.h"

namespace {

std::wstring FakeText(int id) {
    return L"T" + std::to_wstring(id);
}

class ButtonSettingsTest : public PagesStoreTest {
protected:
    void SetUp() override {
        PagesStoreTest::SetUp();
        macroId_ = db_.AddMacro(L"Zoom");
        ASSERT_GT(macroId_, 0);
    }
    PageResult Set(int button, const ButtonFunctionChoice& choice,
                   const ButtonIndexList& buttons = {}) {
        return SetButtonFunction(db_, 1, button, choice, FakeText, buttons);
    }
    int macroId_ = 0;
};

TEST_F(ButtonSettingsTest, EachKindIsStoredAsThePageStoresIt) {
    struct Case {
        const char* what;
        ButtonFunctionChoice choice;
        ButtonAssignment expected;  // kind, values and text only
    };
    auto record = [](int32_t kind, int32_t v, int32_t v2, int32_t v3, std::wstring desc) {
        ButtonAssignment a;
        a.macro_type = kind;
        a.macro_value = v;
        a.macro_value2 = v2;
        a.macro_value3 = v3;
        a.macro_desc = std::move(desc);
        return a;
    };
    const Case cases[] = {
        {"right button", FixedFunction(1, 3), record(1, 3, 0, 0, L"T107")},
        {"media", FixedFunction(3, 1), record(3, 1, 0, 0, L"T120")},
        {"group of three", FixedFunction(5, 3), record(5, 3, 0, 0, L"T141")},
        {"group of five", FixedFunction(6, 5), record(6, 5, 0, 0, L"T155")},
        {"Alt + Tab", FixedFunction(8, 8), record(8, 8, 0, 0, L"T134")},
        {"kind 9", FixedFunction(9, 1), record(9, 1, 0, 0, L"T139")},
        {"Ctrl+Shift+A", KeyFunction(4, 3), record(2, 4, 3, 0, L"Shift+ Ctrl + A")},
        {"Alt alone", KeyFunction(0, 4), record(2, 0, 4, 0, L"Alt")},
        {"macro", MacroFunction(macroId_), record(4, macroId_, 0, 0, L"Zoom")},
        {"fire right button", FireMouseFunction(2, 30, 5), record(7, 1026, 30, 5, L"T161")},
        {"fire key A", FireKeyFunction(4, 10, 4000), record(7, 2113, 10, 4000, L"T161")},
    };
    for (const Case& c : cases) {
        const PageResult result = Set(3, c.choice);
        ASSERT_TRUE(result.ok) << c.what << ": " << Quorl::WideToUtf8(result.message);
        ASSERT_EQ(Codes(result), std::vector<int>{6}) << c.what;
        EXPECT_EQ(result.tasks[0].button, 3);
        ButtonAssignment stored;
        ASSERT_TRUE(db_.GetButtonAssignment(1, 3, stored)) << c.what;
        EXPECT_EQ(stored.macro_type, c.expected.macro_type) << c.what;
        EXPECT_EQ(stored.macro_value, c.expected.macro_value) << c.what;
        EXPECT_EQ(stored.macro_value2, c.expected.macro_value2) << c.what;
        EXPECT_EQ(stored.macro_value3, c.expected.macro_value3) << c.what;
        EXPECT_EQ(stored.macro_desc, c.expected.macro_desc) << c.what;
    }
}

TEST_F(ButtonSettingsTest, RefusalsNameTheProblemAndStoreNothing) {
    ASSERT_TRUE(Set(2, FixedFunction(1, 2)).ok);
    const std::string before = Snapshot();
    struct Case {
        int button;
        ButtonFunctionChoice choice;
        const wchar_t* mentions;
    };
    const Case cases[] = {
        {2, FixedFunction(1, 11), L"1, 2, 3, 4, 5, 6, 7, 8, 9, 10"},
        {2, FixedFunction(3, 9), L"media function must be one of"},
        {2, FixedFunction(6, 0), L"group function"},
        {2, FixedFunction(9, 2), L"value 1"},
        {2, FixedFunction(10, 1), L"1-9"},
        {2, KeyFunction(0, 0), L"a key, a modifier"},
        {2, KeyFunction(50, 0), L"named key"},  // usage 50 has no name
        {2, KeyFunction(4, 16), L"0-15"},
        {2, MacroFunction(999), L"macro 999"},
        {2, FireMouseFunction(3, 30, 5), L"1, 2, 4, 8 or 16"},
        {2, FireMouseFunction(1, 9, 5), L"10-255"},
        {2, FireMouseFunction(1, 256, 5), L"10-255"},
        {2, FireMouseFunction(1, 30, 0), L"1-4000"},
        {2, FireMouseFunction(1, 30, 4001), L"1-4000"},
        {2, FireKeyFunction(50, 30, 5), L"named key"},
        {0, FixedFunction(1, 3), L"locked"},  // leftbtn_lock is 1 by default
        {256, FixedFunction(1, 3), L"0-255"},
    };
    for (const Case& c : cases) {
        const PageResult result = Set(c.button, c.choice);
        EXPECT_FALSE(result.ok);
        EXPECT_NE(result.message.find(c.mentions), std::wstring::npos)
            << Quorl::WideToUtf8(result.message);
    }
    const PageResult unknown = Set(9, FixedFunction(1, 3), {0, 1, 2, 3, 4});
    EXPECT_FALSE(unknown.ok);
    EXPECT_NE(unknown.message.find(L"one of 0, 1, 2, 3, 4"), std::wstring::npos);
    EXPECT_EQ(Snapshot(), before);

    ASSERT_TRUE(SetLeftButtonLock(db_, 1, false).ok);
    EXPECT_TRUE(Set(0, FixedFunction(1, 3)).ok);
}

TEST_F(ButtonSettingsTest, ResetsRemoveRecordsAndQueueTheirTasks) {
    ASSERT_TRUE(Set(2, FixedFunction(1, 5)).ok);
    ASSERT_TRUE(Set(4, FixedFunction(3, 2)).ok);

    PageResult result = ResetButton(db_, 1, 2);
    ASSERT_TRUE(result.ok);
    ASSERT_EQ(Codes(result), std::vector<int>{7});
    EXPECT_EQ(result.tasks[0].button, 2);
    ButtonAssignment left;
    EXPECT_FALSE(db_.GetButtonAssignment(1, 2, left));
    EXPECT_TRUE(db_.GetButtonAssignment(1, 4, left));

    result = ResetAllButtons(db_, 1);
    ASSERT_TRUE(result.ok);
    ASSERT_EQ(Codes(result), std::vector<int>{15});
    EXPECT_EQ(result.tasks[0].resetMask, 1);
    ButtonAssignmentList all;
    EXPECT_EQ(db_.ListButtonAssignments(1, all), 0);
}

TEST_F(ButtonSettingsTest, ReadShowsStoredFunctionsOverTheDefaults) {
    ASSERT_TRUE(Set(1, FixedFunction(3, 6)).ok);
    ASSERT_TRUE(Set(9, KeyFunction(4, 1)).ok);  // not among the described buttons
    const std::vector<ButtonDefault> defaults = {{0, 1, 1, L"Left"}, {1, 1, 3, L"Right"}};
    const std::vector<ButtonValue> values = ReadButtonValues(db_, 1, defaults, FakeText);
    ASSERT_EQ(values.size(), 3u);
    EXPECT_FALSE(values[0].stored);
    EXPECT_EQ(values[0].text, L"Left");
    EXPECT_EQ(values[0].function.macro_value, 1);
    EXPECT_TRUE(values[1].stored);
    EXPECT_EQ(values[1].text, L"T117");
    EXPECT_EQ(values[1].function.macro_type, 3);
    EXPECT_EQ(values[2].index, 9);
    EXPECT_EQ(values[2].text, L"Ctrl + A");
}

}  // namespace
