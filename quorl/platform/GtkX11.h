#pragma once

namespace Quorl {

// Whether the key (VK_MENU, VK_LMENU, VK_RMENU, VK_SHIFT, VK_CONTROL or VK_F4) is down on the
// keyboard of an X11 display (a GdkDisplay*), read from the server; -1 when the display is not
// X11 or the key is not one of these.
int X11KeyHeld(void* gdkDisplay, int vk);

}  // namespace Quorl
