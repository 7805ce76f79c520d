#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "quorl/platform/HeadlessPlatform.h"
#include "quorl/platform/MessageLoop.h"
#include "quorl/platform/PlatformTestFixture.h"
#include "quorl/platform/TestProc.h"
#include "quorl/render/Canvas.h"

namespace Quorl {
namespace {

using Testing::TestProc;

constexpr UINT kFromWorker = WM_USER + 10;
constexpr UINT kLast = WM_USER + 11;
constexpr UINT kAsk = WM_USER + 12;

class MessageQueueThreadTest : public Testing::HeadlessWindowFixture {
protected:
    MessageQueueThreadTest() : HeadlessWindowFixture(CRect(0, 0, 64, 64)) {}
};

TEST_F(MessageQueueThreadTest, PostFromAnotherThreadReachesTheHandlerOnTheUiThreadInOrder) {
    const auto uiThread = std::this_thread::get_id();
    std::vector<WPARAM> seen;
    bool allOnUiThread = true;
    proc.react = [&](HWND, UINT m, WPARAM w, LPARAM, LRESULT&) {
        if (m == kFromWorker || m == kLast) {
            allOnUiThread = allOnUiThread && std::this_thread::get_id() == uiThread;
            seen.push_back(w);
        }
        if (m == kLast) {
            platform->PostQuitMessage(0);
        }
        return false;
    };
    constexpr int kCount = 500;
    std::thread worker([&] {
        for (int i = 0; i < kCount; ++i) {
            platform->PostMessage(hwnd, kFromWorker, static_cast<WPARAM>(i), 0);
        }
        platform->PostMessage(hwnd, kLast, kCount, 0);
    });
    RunMessageLoop();  // blocks until the worker's last message arrives
    worker.join();
    ASSERT_EQ(seen.size(), static_cast<std::size_t>(kCount + 1));
    for (int i = 0; i <= kCount; ++i) {
        EXPECT_EQ(seen[static_cast<std::size_t>(i)], static_cast<WPARAM>(i));
    }
    EXPECT_TRUE(allOnUiThread);
}

TEST_F(MessageQueueThreadTest, SendFromAnotherThreadWaitsForTheUiThreadsAnswer) {
    const auto uiThread = std::this_thread::get_id();
    std::atomic<bool> onUiThread{false};
    proc.react = [&](HWND, UINT m, WPARAM w, LPARAM, LRESULT& result) {
        if (m == kAsk) {
            onUiThread = std::this_thread::get_id() == uiThread;
            result = static_cast<LRESULT>(w * 2);
            return true;
        }
        return false;
    };
    LRESULT answer = 0;
    std::thread worker([&] {
        answer = platform->SendMessage(hwnd, kAsk, 21, 0);
        platform->PostQuitMessage(0);  // the worker's own queue: not the UI loop
        platform->PostMessage(hwnd, kLast, 0, 0);
    });
    proc.react = [inner = proc.react, this](HWND h, UINT m, WPARAM w, LPARAM l, LRESULT& r) {
        if (m == kLast) {
            platform->PostQuitMessage(0);
            return true;
        }
        return inner(h, m, w, l, r);
    };
    RunMessageLoop();
    worker.join();
    EXPECT_EQ(answer, 42);
    EXPECT_TRUE(onUiThread);
}

TEST_F(MessageQueueThreadTest, SendToAWindowThatDiesReturnsZeroInsteadOfWaitingForEver) {
    std::thread worker;
    proc.react = [&](HWND h, UINT m, WPARAM, LPARAM, LRESULT&) {
        if (m == kLast) {
            worker = std::thread([this, h] {
                // The UI thread destroys the window without serving this message.
                EXPECT_EQ(platform->SendMessage(h, kAsk, 0, 0), 0);
            });
            return true;
        }
        return false;
    };
    platform->PostMessage(hwnd, kLast, 0, 0);
    MSG msg;
    while (!worker.joinable() && platform->GetMessage(msg)) {
        platform->DispatchMessage(msg);
    }
    // Destroying before the loop runs again leaves the sent message unserved.
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    platform->DestroyWindow(hwnd);
    worker.join();
}

TEST_F(MessageQueueThreadTest, InvalidationFromATimerThreadIsPaintedOnTheUiThread) {
    const auto uiThread = std::this_thread::get_id();
    bool paintedOnUiThread = false;
    MSG msg;
    while (platform->PeekMessage(msg, true)) {
        platform->DispatchMessage(msg);
    }
    proc.react = [&](HWND, UINT m, WPARAM, LPARAM l, LRESULT&) {
        if (m == WM_PAINT) {
            auto* context = reinterpret_cast<PaintContext*>(l);
            paintedOnUiThread = std::this_thread::get_id() == uiThread &&
                                context->update.EqualRect(CRect(4, 4, 8, 8));
            context->canvas->FillRect(context->update, Color(0xFF, 0, 0xFF, 0));
            platform->PostQuitMessage(0);
            return true;
        }
        return false;
    };
    std::thread animator([this] {
        CRect dirty(4, 4, 8, 8);
        platform->InvalidateRect(hwnd, &dirty, FALSE);
    });
    RunMessageLoop();
    animator.join();
    EXPECT_TRUE(paintedOnUiThread);
    EXPECT_EQ(platform->GetSurface(hwnd)->GetPixel(5, 5), 0xFF00FF00u);
}

}  // namespace
}  // namespace Quorl
