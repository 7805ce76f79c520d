#include "quorl/platform/HeadlessEdit.h"

#include <gtest/gtest.h>

#include "quorl/platform/HeadlessPlatform.h"

namespace Quorl {
namespace {

struct Listener : NativeEditListener {
    int changed = 0, killFocus = 0, enter = 0, escape = 0;
    void OnEditChanged() override { ++changed; }
    void OnEditKillFocus() override { ++killFocus; }
    void OnEditEnter() override { ++enter; }
    void OnEditEscape() override { ++escape; }
};

TEST(HeadlessEditTest, TypingFollowsLimitDigitsReadOnlyAndSwallowedCharacters) {
    struct Case {
        const char* name;
        int limit;
        bool digits, readOnly, acceptChars;
        std::wstring typed, expected;
    };
    const Case cases[] = {
        {"plain", 0, false, false, true, L"ab12", L"ab12"},
        {"limit", 3, false, false, true, L"abcdef", L"abc"},
        {"digits", 0, true, false, true, L"a1b2", L"12"},
        {"read-only", 0, false, true, true, L"ab", L""},
        {"swallowed", 0, false, false, false, L"ab", L""},
        {"single line drops new lines", 0, false, false, true, L"a\nb", L"ab"},
    };
    for (const auto& c : cases) {
        Listener listener;
        HeadlessEdit edit({}, &listener);
        edit.SetLimit(c.limit);
        edit.SetDigitsOnly(c.digits);
        edit.SetReadOnly(c.readOnly);
        edit.SetAcceptChars(c.acceptChars);
        edit.Show(true);
        edit.Focus();
        edit.Type(c.typed);
        EXPECT_EQ(edit.GetText(), c.expected) << c.name;
        EXPECT_EQ(listener.changed, c.expected.empty() ? 0 : 1) << c.name;
    }
}

TEST(HeadlessEditTest, SelectionIsReplacedAndTheLimitCountsWhatRemains) {
    Listener listener;
    HeadlessEdit edit({}, &listener);
    edit.SetLimit(5);
    edit.SetText(L"12345");
    edit.Show(true);
    edit.Focus();
    edit.SetSelection(1, 3);
    edit.Type(L"abcd");  // two selected characters make room for two
    EXPECT_EQ(edit.GetText(), L"1ab45");
    edit.SetText(L"too long for five");
    EXPECT_EQ(edit.GetText(), L"too l");
    edit.SetPasswordChar(L'*');
    EXPECT_EQ(edit.DisplayedText(), L"*****");
}

TEST(HeadlessEditTest, EnterEscapeAndFocusLossNotify) {
    Listener listener;
    HeadlessEdit single({}, &listener);
    single.Focus();
    EXPECT_FALSE(single.HasFocus()) << "a hidden edit takes no focus";
    single.Show(true);
    single.Focus();
    single.PressEnter();
    single.PressEscape();
    single.Show(false);  // hiding takes the focus away
    EXPECT_EQ(listener.enter, 1);
    EXPECT_EQ(listener.escape, 1);
    EXPECT_EQ(listener.killFocus, 1);

    Listener multiListener;
    HeadlessEdit multi({true, EditAlign::Left}, &multiListener);
    multi.Show(true);
    multi.Focus();
    multi.Type(L"a");
    multi.PressEnter();
    multi.Type(L"b");
    EXPECT_EQ(multi.GetText(), L"a\nb");
    EXPECT_EQ(multiListener.enter, 0);
}

TEST(HeadlessEditTest, PlatformCreatesEditsOnlyOverLiveWindows) {
    HeadlessPlatform platform;
    EXPECT_EQ(platform.CreateNativeEdit(reinterpret_cast<HWND>(0x1234), {}, nullptr), nullptr);
    WindowDesc desc;
    HWND host = platform.CreateWindow(desc, nullptr);
    auto edit = platform.CreateNativeEdit(host, {}, nullptr);
    ASSERT_NE(edit, nullptr);
    EXPECT_FALSE(edit->IsVisible());
    platform.DestroyWindow(host);
}

}  // namespace
}  // namespace Quorl
