#pragma once

#include <cstdint>

#include "quorl/core/BaseTypes.h"
#include "quorl/core/Geometry.h"

namespace Quorl {

class Canvas;

// A native window as the toolkit sees it: an opaque number, never a pointer. A message for a
// window that no longer exists is dropped, so a late PostMessage from another thread is safe.
struct HWND__;
using HWND = HWND__*;
using UINT_PTR = std::uintptr_t;

struct MSG {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    DWORD time = 0;  // milliseconds of the steady clock
    POINT pt;        // pointer position in screen coordinates when the message was queued
};

// Message numbers. They keep the values the toolkit and the program have always used, because
// stored files and other processes carry some of them (WM_CLOSE with a dialog's result, the
// program's own 1090 and up).
inline constexpr UINT WM_NULL = 0x0000;
inline constexpr UINT WM_CREATE = 0x0001;
inline constexpr UINT WM_DESTROY = 0x0002;
inline constexpr UINT WM_MOVE = 0x0003;      // lParam: client origin in screen coordinates
inline constexpr UINT WM_SIZE = 0x0005;      // wParam: SIZE_*, lParam: client width, height
inline constexpr UINT WM_ACTIVATE = 0x0006;  // wParam: WA_INACTIVE or WA_ACTIVE
inline constexpr UINT WM_SETFOCUS = 0x0007;
inline constexpr UINT WM_KILLFOCUS = 0x0008;
inline constexpr UINT WM_ENABLE = 0x000A;
inline constexpr UINT WM_PAINT = 0x000F;  // lParam: PaintContext* while dispatched
inline constexpr UINT WM_CLOSE = 0x0010;  // wParam: the dialog result, passed through
inline constexpr UINT WM_QUIT = 0x0012;
inline constexpr UINT WM_ERASEBKGND = 0x0014;
inline constexpr UINT WM_SHOWWINDOW = 0x0018;
inline constexpr UINT WM_ACTIVATEAPP = 0x001C;
inline constexpr UINT WM_GETMINMAXINFO = 0x0024;
inline constexpr UINT WM_WINDOWPOSCHANGING = 0x0046;
inline constexpr UINT WM_WINDOWPOSCHANGED = 0x0047;
inline constexpr UINT WM_NCCREATE = 0x0081;
inline constexpr UINT WM_NCDESTROY = 0x0082;
inline constexpr UINT WM_NCCALCSIZE = 0x0083;
inline constexpr UINT WM_NCHITTEST = 0x0084;
inline constexpr UINT WM_NCPAINT = 0x0085;
inline constexpr UINT WM_NCACTIVATE = 0x0086;  // wParam: TRUE active, FALSE inactive
inline constexpr UINT WM_NCLBUTTONDOWN = 0x00A1;
inline constexpr UINT WM_KEYDOWN = 0x0100;  // wParam: virtual key, lParam: repeat and flags
inline constexpr UINT WM_KEYUP = 0x0101;
inline constexpr UINT WM_CHAR = 0x0102;        // wParam: the character (a code point)
inline constexpr UINT WM_SYSKEYDOWN = 0x0104;  // a key pressed while Alt is held
inline constexpr UINT WM_SYSKEYUP = 0x0105;
inline constexpr UINT WM_SYSCHAR = 0x0106;
inline constexpr UINT WM_COMMAND = 0x0111;
inline constexpr UINT WM_SYSCOMMAND = 0x0112;  // wParam: SC_*
inline constexpr UINT WM_TIMER = 0x0113;       // wParam: timer id
inline constexpr UINT WM_CTLCOLOREDIT = 0x0133;
inline constexpr UINT WM_CTLCOLORSTATIC = 0x0138;
inline constexpr UINT WM_MOUSEMOVE = 0x0200;  // wParam: MK_*, lParam: client x, y (16-bit each)
inline constexpr UINT WM_LBUTTONDOWN = 0x0201;
inline constexpr UINT WM_LBUTTONUP = 0x0202;
inline constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
inline constexpr UINT WM_RBUTTONDOWN = 0x0204;
inline constexpr UINT WM_RBUTTONUP = 0x0205;
inline constexpr UINT WM_RBUTTONDBLCLK = 0x0206;
inline constexpr UINT WM_MBUTTONDOWN = 0x0207;
inline constexpr UINT WM_MBUTTONUP = 0x0208;
inline constexpr UINT WM_MOUSEWHEEL = 0x020A;  // wParam: MK_* | delta << 16, lParam: screen x, y
inline constexpr UINT WM_CAPTURECHANGED = 0x0215;
inline constexpr UINT WM_EXITSIZEMOVE = 0x0232;
inline constexpr UINT WM_MOUSEHOVER = 0x02A1;  // lParam: client x, y
inline constexpr UINT WM_MOUSELEAVE = 0x02A3;
inline constexpr UINT STM_SETIMAGE = 0x0172;  // wParam: IMAGE_BITMAP, lParam: const Bitmap*
inline constexpr UINT WM_USER = 0x0400;
inline constexpr WPARAM IMAGE_BITMAP = 0;

// The dialog closing request of the toolkit (wParam: the result, IDOK and so on).
inline constexpr UINT WM_USERCLOSE = 1090;

inline constexpr int WHEEL_DELTA = 120;
inline constexpr UINT MOUSE_HOVER_TIME = 400;

// WM_SIZE kinds.
inline constexpr WPARAM SIZE_RESTORED = 0;
inline constexpr WPARAM SIZE_MINIMIZED = 1;
inline constexpr WPARAM SIZE_MAXIMIZED = 2;

// WM_ACTIVATE states.
inline constexpr WPARAM WA_INACTIVE = 0;
inline constexpr WPARAM WA_ACTIVE = 1;

// WM_SYSCOMMAND commands.
inline constexpr WPARAM SC_MINIMIZE = 0xF020;
inline constexpr WPARAM SC_MAXIMIZE = 0xF030;
inline constexpr WPARAM SC_CLOSE = 0xF060;
inline constexpr WPARAM SC_RESTORE = 0xF120;

// Mouse key flags in wParam of the mouse messages.
inline constexpr WPARAM MK_LBUTTON = 0x0001;
inline constexpr WPARAM MK_RBUTTON = 0x0002;
inline constexpr WPARAM MK_SHIFT = 0x0004;
inline constexpr WPARAM MK_CONTROL = 0x0008;
inline constexpr WPARAM MK_MBUTTON = 0x0010;

// ShowWindow commands.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOWMINIMIZED = 2;
inline constexpr int SW_MAXIMIZE = 3;
inline constexpr int SW_SHOWNOACTIVATE = 4;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_MINIMIZE = 6;
inline constexpr int SW_SHOWMINNOACTIVE = 7;
inline constexpr int SW_SHOWNA = 8;
inline constexpr int SW_RESTORE = 9;

// Dialog results carried by WM_USERCLOSE and WM_CLOSE.
inline constexpr UINT IDOK = 1;
inline constexpr UINT IDCANCEL = 2;
inline constexpr UINT IDYES = 6;
inline constexpr UINT IDNO = 7;

// TrackMouseEvent flags.
inline constexpr DWORD TME_HOVER = 0x00000001;
inline constexpr DWORD TME_LEAVE = 0x00000002;
inline constexpr DWORD TME_CANCEL = 0x80000000;

// The update rectangle and the surface to draw on while WM_PAINT is dispatched; it is passed
// as lParam and is valid only during that call. Whatever is drawn inside the update rectangle
// reaches the screen when the handler returns.
struct PaintContext {
    CRect update;
    Canvas* canvas = nullptr;
};

inline constexpr LPARAM MAKELPARAM(int low, int high) {
    return static_cast<LPARAM>(static_cast<DWORD>(
        (static_cast<WORD>(low)) | (static_cast<DWORD>(static_cast<WORD>(high)) << 16)));
}
inline constexpr WPARAM MAKEWPARAM(int low, int high) {
    return static_cast<WPARAM>(static_cast<DWORD>(MAKELPARAM(low, high)));
}
inline constexpr int GET_X_LPARAM(LPARAM lp) {
    return static_cast<short>(lp & 0xFFFF);
}
inline constexpr int GET_Y_LPARAM(LPARAM lp) {
    return static_cast<short>((lp >> 16) & 0xFFFF);
}
inline constexpr WORD LOWORD(std::uintptr_t v) {
    return static_cast<WORD>(v & 0xFFFF);
}
inline constexpr WORD HIWORD(std::uintptr_t v) {
    return static_cast<WORD>((v >> 16) & 0xFFFF);
}
inline constexpr int GET_WHEEL_DELTA_WPARAM(WPARAM wp) {
    return static_cast<short>(HIWORD(wp));
}

}  // namespace Quorl
