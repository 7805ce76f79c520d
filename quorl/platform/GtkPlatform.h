#pragma once

#include <memory>

#include "quorl/platform/Platform.h"

namespace Quorl {

// The GTK 3 back end (X11 preferred, so that pop-ups can be placed in screen coordinates).
// Null when GTK cannot open a display. Call it on the thread that will run the windows.
std::unique_ptr<Platform> CreateGtkPlatform();

}  // namespace Quorl
