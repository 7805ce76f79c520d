#include "quorl/platform/MessageLoop.h"

#include "quorl/platform/Platform.h"

namespace Quorl {

int RunMessageLoop(const PreTranslate& preTranslate) {
    Platform& platform = Platform::Current();
    MSG msg;
    while (platform.GetMessage(msg)) {
        if (preTranslate && preTranslate(msg)) {
            continue;
        }
        platform.DispatchMessage(msg);
    }
    return static_cast<int>(msg.wParam);
}

UINT RunModalLoop(HWND window, const PreTranslate& preTranslate) {
    Platform& platform = Platform::Current();
    if (!platform.IsWindow(window)) {
        return 0xFFFFFFFF;
    }
    HWND owner = platform.GetOwner(window);
    bool ownerWasEnabled = owner && platform.IsWindowEnabled(owner);
    if (ownerWasEnabled) {
        platform.EnableWindow(owner, FALSE);
    }
    UINT result = 0;
    bool quit = false;
    int quitCode = 0;
    MSG msg;
    while (platform.IsWindow(window)) {
        if (!platform.GetMessage(msg)) {
            quit = true;
            quitCode = static_cast<int>(msg.wParam);
            break;
        }
        if (msg.hwnd == window && msg.message == WM_CLOSE) {
            result = static_cast<UINT>(msg.wParam);
        }
        if (preTranslate && preTranslate(msg)) {
            continue;
        }
        platform.DispatchMessage(msg);
    }
    if (ownerWasEnabled && platform.IsWindow(owner)) {
        platform.EnableWindow(owner, TRUE);
        platform.SetForegroundWindow(owner);
    }
    if (quit) {
        platform.PostQuitMessage(quitCode);
    }
    return result;
}

}  // namespace Quorl
