#pragma once

// Test fixtures that install a platform back end for the toolkit's window tests.

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "quorl/platform/HeadlessPlatform.h"
#include "quorl/platform/TestProc.h"

struct _XDisplay;  // the X display of the GTK back end, for XTest

namespace Quorl::Testing {

// Handles every message queued on the calling thread.
inline void DispatchQueued(Platform& platform) {
    MSG msg;
    while (platform.PeekMessage(msg, true)) {
        if (msg.message != WM_QUIT) {
            platform.DispatchMessage(msg);
        }
    }
}

// A fresh headless back end for each test.
class HeadlessFixture : public ::testing::Test {
protected:
    void SetUp() override {
        auto headless = std::make_unique<HeadlessPlatform>();
        platform = headless.get();
        Platform::Install(std::move(headless));
    }
    void TearDown() override { Platform::Install(nullptr); }
    void Drain() { DispatchQueued(*platform); }

    HeadlessPlatform* platform = nullptr;
};

// The headless back end with one visible window whose messages `proc` records.
class HeadlessWindowFixture : public HeadlessFixture {
protected:
    explicit HeadlessWindowFixture(CRect rect) : rect_(rect) {}
    void SetUp() override {
        HeadlessFixture::SetUp();
        WindowDesc desc;
        desc.rect = rect_;
        desc.visible = true;
        hwnd = platform->CreateWindow(desc, &proc);
    }
    void TearDown() override {
        platform->DestroyWindow(hwnd);
        HeadlessFixture::TearDown();
    }

    TestProc proc;
    HWND hwnd = nullptr;

private:
    CRect rect_;
};

// The GTK back end on the virtual X display, one for the whole suite. Defined in
// GtkTestFixture.cpp, which only the tests run under xvfb-run compile.
class GtkFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;

    // One round of messages and GTK events, with the X requests so far flushed.
    void Serve();
    // Serves until the condition holds; false after the time limit.
    bool RunUntil(const std::function<bool()>& done, int limitMs = 4000);

    _XDisplay* display = nullptr;
};

}  // namespace Quorl::Testing
