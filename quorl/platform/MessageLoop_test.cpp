#include "quorl/platform/MessageLoop.h"

#include <gtest/gtest.h>

#include "quorl/platform/HeadlessPlatform.h"
#include "quorl/platform/ManagerLoop.h"
#include "quorl/platform/PlatformTestFixture.h"
#include "quorl/platform/TestProc.h"
#include "quorl/platform/VirtualKeys.h"

namespace Quorl {
namespace {

using Testing::TestProc;

constexpr UINT kStart = WM_USER + 1;
constexpr UINT_PTR kSafetyTimer = 999;

class MessageLoopTest : public Testing::HeadlessFixture {
protected:
    HWND Create(TestProc& proc, HWND owner = nullptr) {
        WindowDesc desc;
        desc.owner = owner;
        desc.rect = CRect(100, 100, 300, 250);
        desc.visible = true;
        return platform->CreateWindow(desc, &proc);
    }

    // Ends a loop that would otherwise hang when the behaviour under test is broken.
    void ArmSafety(HWND hwnd, TestProc& proc) {
        platform->SetTimer(hwnd, kSafetyTimer, 5000);
        auto inner = proc.react;
        proc.react = [this, inner](HWND h, UINT m, WPARAM w, LPARAM l, LRESULT& r) {
            if (m == WM_TIMER && w == kSafetyTimer) {
                ADD_FAILURE() << "the loop did not end by itself";
                platform->PostQuitMessage(-1);
                return true;
            }
            return inner && inner(h, m, w, l, r);
        };
    }
};

TEST_F(MessageLoopTest, NestedLoopReturnsTheResultPostedWithCloseAndFreesTheOwner) {
    TestProc ownerProc;
    TestProc dialogProc;
    HWND owner = Create(ownerProc);
    HWND dialog = Create(dialogProc, owner);
    bool ownerDisabledInside = false;
    dialogProc.react = [&](HWND h, UINT m, WPARAM, LPARAM, LRESULT&) {
        if (m == kStart) {
            ownerDisabledInside = !platform->IsWindowEnabled(owner);
            platform->PostMessage(h, WM_CLOSE, IDYES, 0);
            return true;
        }
        return false;
    };
    ArmSafety(dialog, dialogProc);
    platform->PostMessage(dialog, kStart, 0, 0);

    EXPECT_EQ(RunModalLoop(dialog), IDYES);
    EXPECT_TRUE(ownerDisabledInside);
    EXPECT_FALSE(platform->IsWindow(dialog));  // WM_CLOSE reached the default handling
    EXPECT_TRUE(platform->IsWindowEnabled(owner));
    EXPECT_EQ(platform->GetActiveWindow(), owner);
    EXPECT_EQ(RunModalLoop(dialog), 0xFFFFFFFFu);  // a window that does not exist

    platform->DestroyWindow(owner);
}

TEST_F(MessageLoopTest, QuitInsideANestedLoopEndsItAndThenTheOuterLoop) {
    TestProc ownerProc;
    TestProc dialogProc;
    HWND owner = Create(ownerProc);
    HWND dialog = Create(dialogProc, owner);
    UINT nestedResult = 1234;
    bool afterNested = false;
    ownerProc.react = [&](HWND, UINT m, WPARAM, LPARAM, LRESULT&) {
        if (m == kStart) {
            nestedResult = RunModalLoop(dialog);
            afterNested = true;
            return true;
        }
        return false;
    };
    dialogProc.react = [&](HWND, UINT m, WPARAM, LPARAM, LRESULT&) {
        if (m == kStart) {
            platform->PostQuitMessage(3);
            return true;
        }
        return false;
    };
    ArmSafety(owner, ownerProc);
    platform->PostMessage(owner, kStart, 0, 0);
    platform->PostMessage(dialog, kStart, 0, 0);

    EXPECT_EQ(RunMessageLoop(), 3);
    EXPECT_TRUE(afterNested);
    EXPECT_EQ(nestedResult, 0u);
    EXPECT_TRUE(platform->IsWindow(dialog));  // quitting closes nothing
    EXPECT_TRUE(platform->IsWindowEnabled(owner));
    platform->DestroyWindow(owner);
    EXPECT_FALSE(platform->IsWindow(dialog));  // owned windows go with their owner
}

TEST_F(MessageLoopTest, QuitComesAfterMessagesAlreadyQueued) {
    TestProc proc;
    HWND hwnd = Create(proc);
    platform->PostQuitMessage(0);
    platform->PostMessage(hwnd, kStart, 1, 0);
    platform->PostMessage(hwnd, kStart, 2, 0);
    RunMessageLoop();
    auto starts = proc.Only(kStart);
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_EQ(starts[0].wParam, 1u);
    EXPECT_EQ(starts[1].wParam, 2u);
    platform->DestroyWindow(hwnd);
}

TEST_F(MessageLoopTest, TimersTickUntilKilledAndDieWithTheirWindow) {
    TestProc proc;
    TestProc other;
    HWND hwnd = Create(proc);
    HWND doomed = Create(other);
    int ticks = 0;
    proc.react = [&](HWND h, UINT m, WPARAM w, LPARAM, LRESULT&) {
        if (m == WM_TIMER && w == 7 && ++ticks == 3) {
            EXPECT_TRUE(platform->KillTimer(h, 7));
            EXPECT_FALSE(platform->KillTimer(h, 7));
            // Give a killed timer the chance to tick once more before quitting.
            platform->SetTimer(h, 8, 60);
            return true;
        }
        if (m == WM_TIMER && w == 8) {
            platform->PostQuitMessage(0);
            return true;
        }
        return false;
    };
    ArmSafety(hwnd, proc);
    EXPECT_TRUE(platform->SetTimer(hwnd, 7, 10));
    EXPECT_TRUE(platform->SetTimer(doomed, 7, 10));
    EXPECT_TRUE(platform->DestroyWindow(doomed));
    EXPECT_FALSE(platform->SetTimer(doomed, 7, 10));

    RunMessageLoop();
    EXPECT_EQ(proc.Only(WM_TIMER).size(), 4u);  // three of id 7, one of id 8
    EXPECT_TRUE(other.Only(WM_TIMER).empty());
    platform->DestroyWindow(hwnd);
}

TEST_F(MessageLoopTest, ManagerLoopDropsInputWhileAltAndF4AreHeld) {
    TestProc proc;
    HWND hwnd = Create(proc);
    ArmSafety(hwnd, proc);

    platform->InjectKey(hwnd, VK_LMENU, true);
    platform->InjectKey(hwnd, VK_F4, true);
    MSG msg;
    EXPECT_TRUE(ManagerPreTranslateMessage(&msg));
    // What the desktop does for the shortcut arrives now and must be dropped.
    platform->InjectCloseRequest(hwnd);
    platform->PostMessage(nullptr, WM_USER, 0, 0);
    // Drain what is queued, then leave the loop.
    proc.react = nullptr;
    platform->PostQuitMessage(0);
    ManagerMessageLoop();
    EXPECT_TRUE(platform->IsWindow(hwnd));
    EXPECT_TRUE(proc.Only(WM_SYSKEYDOWN).empty());
    EXPECT_TRUE(proc.Only(WM_CLOSE).empty());

    platform->InjectKey(hwnd, VK_F4, false);
    platform->InjectKey(hwnd, VK_LMENU, false);
    EXPECT_FALSE(ManagerPreTranslateMessage(&msg));
    // Alt alone or F4 alone is not the shortcut.
    platform->InjectKey(hwnd, VK_F4, true);
    EXPECT_FALSE(ManagerPreTranslateMessage(&msg));
    platform->InjectKey(hwnd, VK_F4, false);

    // Without the keys, a close request closes the window through the default handling.
    platform->InjectCloseRequest(hwnd);
    platform->PostQuitMessage(0);
    ManagerMessageLoop();
    EXPECT_EQ(proc.Only(WM_CLOSE).size(), 1u);
    EXPECT_FALSE(platform->IsWindow(hwnd));
}

}  // namespace
}  // namespace Quorl
