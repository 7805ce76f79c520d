#include "quorl/platform/GtkX11.h"

#include "quorl/platform/VirtualKeys.h"

// Last: X11 defines macros (None, CursorShape) that clash with our names.
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <gdk/gdkx.h>

namespace Quorl {

int X11KeyHeld(void* gdkDisplay, int vk) {
    auto* display = static_cast<GdkDisplay*>(gdkDisplay);
    if (!display || !GDK_IS_X11_DISPLAY(display)) {
        return -1;
    }
    KeySym syms[2] = {NoSymbol, NoSymbol};
    switch (vk) {
        case VK_MENU:
            syms[0] = XK_Alt_L;
            syms[1] = XK_Alt_R;
            break;
        case VK_LMENU:
            syms[0] = XK_Alt_L;
            break;
        case VK_RMENU:
            syms[0] = XK_Alt_R;
            break;
        case VK_SHIFT:
            syms[0] = XK_Shift_L;
            syms[1] = XK_Shift_R;
            break;
        case VK_CONTROL:
            syms[0] = XK_Control_L;
            syms[1] = XK_Control_R;
            break;
        case VK_F4:
            syms[0] = XK_F4;
            break;
        default:
            return -1;
    }
    Display* xdisplay = GDK_DISPLAY_XDISPLAY(display);
    char keys[32];
    XQueryKeymap(xdisplay, keys);
    for (KeySym sym : syms) {
        if (sym == NoSymbol) {
            continue;
        }
        KeyCode code = XKeysymToKeycode(xdisplay, sym);
        if (code != 0 && (keys[code / 8] & (1 << (code % 8)))) {
            return 1;
        }
    }
    return 0;
}

}  // namespace Quorl
