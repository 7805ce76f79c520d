#pragma once

#include <functional>

#include "quorl/platform/Messages.h"

namespace Quorl {

// Offered every message before it is dispatched; true = handled, do not dispatch.
using PreTranslate = std::function<bool(MSG&)>;

// Gets and dispatches messages of the calling thread until WM_QUIT; returns its exit code.
int RunMessageLoop(const PreTranslate& preTranslate = nullptr);

// The nested loop of a modal window: runs until the window is gone (WM_CLOSE destroys it
// unless its handler keeps it) and returns the wParam of the last WM_CLOSE addressed to it,
// 0 when none came. A WM_QUIT that ends the loop early is posted again so that the outer loop
// ends too. The owner, if any, is disabled meanwhile and re-enabled and activated afterwards.
UINT RunModalLoop(HWND window, const PreTranslate& preTranslate = nullptr);

}  // namespace Quorl
