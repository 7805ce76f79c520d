#pragma once

#include <memory>

#include "quorl/platform/Platform.h"

namespace Quorl {

// The GTK 3 back end (X11 preferred, so that pop-ups can be placed in screen coordinates).
// Null when GTK cannot open a display. Call it on the thread that will run the windows.
std::unique_ptr<Platform> CreateGtkPlatform();

}  // namespace Quorl

namespace Quorl {

// The GtkWindow of a window of the GTK back end (a GtkWidget*), for tests and for code that
// must hand a parent to a native dialog; null for other windows.
void* GetGtkWindowWidget(HWND hwnd);

}  // namespace Quorl
