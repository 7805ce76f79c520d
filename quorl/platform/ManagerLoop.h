#pragma once

#include "quorl/core/BaseTypes.h"
#include "quorl/platform/Messages.h"

namespace Quorl {

// The message loop of the toolkit's Manager (Manager::MessageLoop and
// Manager::PreTranslateMessage forward here).

// Dispatches messages until WM_QUIT, dropping every message that arrives while Alt and F4 are
// both held, so that the shortcut never closes a toolkit window.
void ManagerMessageLoop();
// 1 (handled: drop the message) exactly while Alt and F4 are both held.
BOOL ManagerPreTranslateMessage(MSG* msg);

}  // namespace Quorl
