#pragma once

#include "quorl/core/BaseTypes.h"

namespace Quorl {

// Notification codes a control sends its parent through OnBaseMessage.
inline constexpr UINT NOTIFY_LBUTTONDOWN = 1;   // pressed, or a tab selection changed
inline constexpr UINT NOTIFY_CLICKED = 2;       // released inside / value committed
inline constexpr UINT NOTIFY_DBLCLK = 3;        // wParam: mouse flags, lParam: &point
inline constexpr UINT NOTIFY_RBUTTONUP = 5;     // right button released on an item
inline constexpr UINT NOTIFY_TOGGLED = 7;       // toggled from the keyboard
inline constexpr UINT NOTIFY_POSITION = 8;      // position or value changed
inline constexpr UINT NOTIFY_EDITICON = 9;      // edit icon pressed
inline constexpr UINT NOTIFY_KEY = 14;          // wParam: key, lParam: modifier
inline constexpr UINT NOTIFY_EDITCHANGED = 26;  // in-place edit text copied to its control
inline constexpr UINT NOTIFY_COLOR = 27;        // colour chosen
inline constexpr UINT NOTIFY_SPIN = 28;         // value stepped
inline constexpr UINT NOTIFY_EDITEND = 29;      // in-place editing ended
inline constexpr UINT NOTIFY_EDITBEGIN = 30;    // in-place editing started
inline constexpr UINT NOTIFY_EDITICONUP = 31;   // left button released on the edit icon
inline constexpr UINT NOTIFY_REPEAT = 32;       // repeat tick while held

// Modifier codes passed with keys: Alt 18, else Shift 16; OR-ed with Ctrl 17.
inline constexpr UINT KEYMOD_SHIFT = 16;
inline constexpr UINT KEYMOD_CTRL = 17;
inline constexpr UINT KEYMOD_ALT = 18;

// Cursor names for MControl::SetCursorEx; they are recognised by address, not by content.
extern const wchar_t CURSOR_ARROW[];
extern const wchar_t CURSOR_WAIT[];
extern const wchar_t CURSOR_CROSS[];
extern const wchar_t CURSOR_SIZEWE[];
extern const wchar_t CURSOR_SIZENS[];
extern const wchar_t CURSOR_HAND[];
extern const wchar_t CURSOR_HELP[];

}  // namespace Quorl
