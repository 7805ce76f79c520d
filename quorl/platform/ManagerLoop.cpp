#include "quorl/platform/ManagerLoop.h"

#include "quorl/platform/MessageLoop.h"
#include "quorl/platform/Platform.h"
#include "quorl/platform/VirtualKeys.h"

namespace Quorl {

BOOL ManagerPreTranslateMessage(MSG*) {
    const Platform& platform = Platform::Current();
    return platform.IsKeyHeld(VK_MENU) && platform.IsKeyHeld(VK_F4) ? TRUE : FALSE;
}

void ManagerMessageLoop() {
    RunMessageLoop([](MSG& msg) { return ManagerPreTranslateMessage(&msg) != FALSE; });
}

}  // namespace Quorl
