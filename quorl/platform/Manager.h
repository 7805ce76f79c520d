#pragma once

#include "quorl/core/BaseTypes.h"
#include "quorl/platform/Messages.h"

namespace Quorl {

// The toolkit's process-wide services. This part holds the message loop; the settings, the
// skin folder and the resources join it.
class Manager {
public:
    // Dispatches messages until WM_QUIT, dropping every message that arrives while Alt and F4
    // are both held, so that the shortcut never closes a toolkit window.
    static void MessageLoop();
    // 1 (handled: drop the message) exactly while Alt and F4 are both held.
    static BOOL PreTranslateMessage(MSG* msg);
};

}  // namespace Quorl
