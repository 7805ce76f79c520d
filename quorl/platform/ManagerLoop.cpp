#include "quorl/platform/Manager.h"
#include "quorl/platform/MessageLoop.h"
#include "quorl/platform/Platform.h"
#include "quorl/platform/VirtualKeys.h"

namespace Quorl {

BOOL Manager::PreTranslateMessage(MSG*) {
    const Platform& platform = Platform::Current();
    return platform.IsKeyHeld(VK_MENU) && platform.IsKeyHeld(VK_F4) ? TRUE : FALSE;
}

void Manager::MessageLoop() {
    RunMessageLoop([](MSG& msg) { return PreTranslateMessage(&msg) != FALSE; });
}

}  // namespace Quorl
