#pragma once

#include <memory>
#include <string>

#include "quorl/core/BaseTypes.h"
#include "quorl/core/Geometry.h"
#include "quorl/platform/DragDrop.h"
#include "quorl/platform/Messages.h"
#include "quorl/platform/NativeEdit.h"

namespace Quorl {

class Bitmap;

// Receives the messages of one native window. Messages that it does not handle it passes to
// Platform::DefWindowProc, which closes on WM_CLOSE and so on.
class WindowProc {
public:
    virtual ~WindowProc() = default;
    virtual LRESULT HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) = 0;
};

enum class WindowKind {
    TopLevel,  // an ordinary window with a task-bar entry
    Popup,     // menus, lists, bubbles: placed by the toolkit, never managed by the desktop
    Tool,      // a small helper window without a task-bar entry
};

struct WindowDesc {
    WindowKind kind = WindowKind::TopLevel;
    HWND owner = nullptr;  // stays above its owner; may be null
    std::wstring title;
    CRect rect{0, 0, 800, 600};  // screen coordinates; the whole window is client area
    bool visible = false;
    bool keepAbove = false;
    bool layered = false;  // per-pixel alpha (UpdateLayeredWindow) instead of WM_PAINT
};

enum class CursorShape { Arrow, Hand, IBeam, Wait, Cross, SizeAll, SizeWE, SizeNS, No };

// What the toolkit asks of the platform: native windows and their input, painting, the message
// queue of each UI thread, timers and native text entries. One instance serves the process
// (Current()); the GTK back end for the program, the headless one for tests.
//
// Windows belong to the thread that created them and are used from it, except for
// PostMessage, SendMessage and IsWindow, which any thread may call.
class Platform {
public:
    virtual ~Platform() = default;

    // The installed back end; the first call without one installs the GTK back end, or the
    // headless one when no display can be opened.
    static Platform& Current();
    // Replaces the back end (tests); windows of the old one must be gone.
    static void Install(std::unique_ptr<Platform> platform);

    // ---- windows ----
    virtual HWND CreateWindow(const WindowDesc& desc, WindowProc* proc) = 0;
    // Sends WM_DESTROY and WM_NCDESTROY, then forgets the window and its timers.
    virtual BOOL DestroyWindow(HWND hwnd) = 0;
    virtual BOOL IsWindow(HWND hwnd) const = 0;
    virtual BOOL ShowWindow(HWND hwnd, int cmdShow) = 0;
    virtual BOOL IsWindowVisible(HWND hwnd) const = 0;
    virtual BOOL IsIconic(HWND hwnd) const = 0;
    virtual BOOL IsZoomed(HWND hwnd) const = 0;
    virtual HWND GetOwner(HWND hwnd) const = 0;
    // Screen rectangle of the window; the client rectangle is (0, 0, width, height).
    virtual BOOL GetWindowRect(HWND hwnd, CRect& rect) const = 0;
    virtual BOOL GetClientRect(HWND hwnd, CRect& rect) const = 0;
    virtual BOOL MoveWindow(HWND hwnd, const CRect& screenRect, BOOL repaint = TRUE) = 0;
    virtual BOOL ClientToScreen(HWND hwnd, POINT& pt) const = 0;
    virtual BOOL ScreenToClient(HWND hwnd, POINT& pt) const = 0;
    // Raises the window and gives it the keyboard focus.
    virtual BOOL SetForegroundWindow(HWND hwnd) = 0;
    virtual HWND GetActiveWindow() const = 0;
    // A disabled window receives no mouse or key input.
    virtual BOOL EnableWindow(HWND hwnd, BOOL enable) = 0;
    virtual BOOL IsWindowEnabled(HWND hwnd) const = 0;
    virtual BOOL SetWindowText(HWND hwnd, const std::wstring& title) = 0;
    virtual std::wstring GetWindowText(HWND hwnd) const = 0;
    virtual BOOL SetKeepAbove(HWND hwnd, BOOL above) = 0;
    // Puts the window directly below the reference window in the stacking order (a shadow
    // below its dialog).
    virtual BOOL PlaceBelow(HWND hwnd, HWND reference) = 0;
    // Mouse input goes to this window until ReleaseCapture, wherever the pointer is.
    virtual HWND SetCapture(HWND hwnd) = 0;
    virtual BOOL ReleaseCapture() = 0;
    virtual HWND GetCapture() const = 0;
    virtual BOOL SetCursor(HWND hwnd, CursorShape shape) = 0;
    virtual BOOL GetCursorPos(POINT& pt) const = 0;
    // The usable area (without panels) of the monitor nearest to the window, or of the
    // primary monitor for a null window.
    virtual CRect GetWorkArea(HWND hwnd) const = 0;
    // Arms WM_MOUSELEAVE and WM_MOUSEHOVER (after hoverMs without moving) for the window
    // under the pointer; each fires once per arming.
    virtual BOOL TrackMouseEvent(HWND hwnd, DWORD flags, UINT hoverMs = MOUSE_HOVER_TIME) = 0;
    // Lets the desktop move the window with the pointer, for the left press under way (a
    // press on the caption). False for an unknown window or a pop-up, which the toolkit
    // places itself.
    virtual BOOL BeginMoveDrag(HWND hwnd) = 0;
    // The pictures the desktop shows for the window: large (switcher, title) and small (task
    // bar). False for an unknown window or an invalid picture.
    virtual BOOL SetWindowIcon(HWND hwnd, const Bitmap& large, const Bitmap& small) = 0;

    // ---- painting ----
    // A null rect is the whole client area. WM_PAINT follows when the queue is idle.
    virtual BOOL InvalidateRect(HWND hwnd, const CRect* rect, BOOL erase) = 0;
    // Delivers a pending WM_PAINT at once.
    virtual BOOL UpdateWindow(HWND hwnd) = 0;
    // True when windows may be translucent per pixel; otherwise a layered window is shaped by
    // the alpha of its surface (pixels with alpha 0 are cut away, the rest is opaque).
    virtual BOOL IsCompositing() const = 0;
    // Shows a layered window as the given surface (premultiplied ARGB), sized to it, and
    // moves it to topLeft (screen) unless null.
    virtual BOOL UpdateLayeredWindow(HWND hwnd, const Bitmap& surface, const POINT* topLeft) = 0;
    // Constant opacity of the whole window, 255 = opaque.
    virtual BOOL SetWindowAlpha(HWND hwnd, BYTE alpha) = 0;
    // Cuts the window to a rounded rectangle (diameter of the corners); 0 removes the cut.
    virtual BOOL SetWindowRoundRegion(HWND hwnd, int diameter) = 0;

    // ---- keyboard ----
    // Whether the key (a virtual-key code; VK_SHIFT, VK_CONTROL and VK_MENU cover both sides)
    // is held down now.
    virtual BOOL IsKeyHeld(int vk) const = 0;
    virtual HWND SetFocus(HWND hwnd) = 0;
    virtual HWND GetFocus() const = 0;
    // How long the text caret stays on (and then off), in milliseconds, as the desktop sets
    // it; 0 when the caret should not blink.
    virtual UINT GetCaretBlinkTime() const = 0;

    // ---- drag and drop ----
    // Drags released over the window go to the target (null stops taking drops). The
    // target must outlive the registration or the window.
    virtual BOOL RegisterDropTarget(HWND hwnd, DropTarget* target) = 0;
    // Starts dragging the picture out of the window, for the left press under way; the
    // picture follows the pointer, centred on it. Returns at once; false when no drag began.
    virtual BOOL BeginDrag(HWND hwnd, const Bitmap& image, DWORD allowedEffects) = 0;

    // ---- messages (the calling thread's queue) ----
    // Any thread. False when the window does not exist; a null window posts to the calling
    // thread's own queue.
    virtual BOOL PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) = 0;
    // Any thread: handled at once on the window's own thread, or queued there ahead of posted
    // messages while the caller waits. 0 when the window does not exist or dies meanwhile.
    virtual LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) = 0;
    // Waits for the next message; false on WM_QUIT (msg.wParam is the exit code).
    virtual BOOL GetMessage(MSG& msg) = 0;
    // Takes the next message if one is ready (remove) or only looks at it.
    virtual BOOL PeekMessage(MSG& msg, bool remove) = 0;
    virtual LRESULT DispatchMessage(const MSG& msg) = 0;
    // Ends the calling thread's message loop once the messages already queued are handled.
    virtual void PostQuitMessage(int exitCode) = 0;
    virtual LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) = 0;

    // ---- timers ----
    // WM_TIMER with the id every elapseMs (at least 10). Setting an existing id restarts it.
    virtual BOOL SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs) = 0;
    virtual BOOL KillTimer(HWND hwnd, UINT_PTR id) = 0;

    // ---- native text entries ----
    // A real text entry over the host window's client area, hidden until shown. It lives
    // until the returned object is destroyed, or until its host is (then it stays inert).
    virtual std::unique_ptr<NativeEdit> CreateNativeEdit(HWND host, const NativeEditStyle& style,
                                                         NativeEditListener* listener) = 0;
};

}  // namespace Quorl
