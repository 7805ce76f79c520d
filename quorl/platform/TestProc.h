#pragma once

#include <functional>
#include <vector>

#include "quorl/platform/Platform.h"

namespace Quorl::Testing {

// A window procedure for tests: records every message and lets a test react to it. Anything
// the reaction does not handle (returns nullopt-like -1 via `handled`) goes to DefWindowProc.
class TestProc : public WindowProc {
public:
    struct Entry {
        UINT msg;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<Entry> received;
    // Returns true when it handled the message (result in `result`).
    std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT& result)> react;

    LRESULT HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override {
        received.push_back({msg, wParam, lParam});
        LRESULT result = 0;
        if (react && react(hwnd, msg, wParam, lParam, result)) {
            return result;
        }
        return Platform::Current().DefWindowProc(hwnd, msg, wParam, lParam);
    }

    std::vector<Entry> Only(UINT msg) const {
        std::vector<Entry> out;
        for (const auto& e : received) {
            if (e.msg == msg) {
                out.push_back(e);
            }
        }
        return out;
    }
};

}  // namespace Quorl::Testing
