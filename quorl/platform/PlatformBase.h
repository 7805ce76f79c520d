#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <unordered_map>
#include <vector>

#include "quorl/platform/Platform.h"

namespace Quorl {

// The part of a back end that does not depend on the windowing system: the window registry,
// the message queue of every UI thread, timers, mouse tracking and the state of the keys.
// Back ends feed the Deliver* functions with what their windowing system reports.
class PlatformBase : public Platform {
public:
    using Clock = std::chrono::steady_clock;

    PlatformBase();
    ~PlatformBase() override;

    BOOL DestroyWindow(HWND hwnd) override;
    BOOL IsWindow(HWND hwnd) const override;
    BOOL IsWindowVisible(HWND hwnd) const override;
    BOOL IsIconic(HWND hwnd) const override;
    BOOL IsZoomed(HWND hwnd) const override;
    HWND GetOwner(HWND hwnd) const override;
    BOOL GetWindowRect(HWND hwnd, CRect& rect) const override;
    BOOL GetClientRect(HWND hwnd, CRect& rect) const override;
    BOOL ClientToScreen(HWND hwnd, POINT& pt) const override;
    BOOL ScreenToClient(HWND hwnd, POINT& pt) const override;
    HWND GetActiveWindow() const override;
    // Only the record changes: input to a disabled window is dropped here, not by the desktop.
    BOOL EnableWindow(HWND hwnd, BOOL enable) override;
    BOOL IsWindowEnabled(HWND hwnd) const override;
    std::wstring GetWindowText(HWND hwnd) const override;
    HWND GetCapture() const override;
    BOOL TrackMouseEvent(HWND hwnd, DWORD flags, UINT hoverMs) override;
    BOOL BeginMoveDrag(HWND hwnd) override;
    BOOL InvalidateRect(HWND hwnd, const CRect* rect, BOOL erase) override;
    BOOL IsKeyHeld(int vk) const override;
    HWND GetFocus() const override;

    BOOL PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    BOOL GetMessage(MSG& msg) override;
    BOOL PeekMessage(MSG& msg, bool remove) override;
    LRESULT DispatchMessage(const MSG& msg) override;
    void PostQuitMessage(int exitCode) override;
    LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    BOOL SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs) override;
    BOOL KillTimer(HWND hwnd, UINT_PTR id) override;

    struct Queue;

    // One native window. Geometry and the invalid area are guarded by `mutex` because other
    // threads read the rectangles and invalidate; the rest belongs to the owner thread.
    struct Window {
        virtual ~Window() = default;
        HWND hwnd = nullptr;
        WindowProc* proc = nullptr;
        std::shared_ptr<Queue> queue;
        WindowKind kind = WindowKind::TopLevel;
        HWND owner = nullptr;
        bool layered = false;
        bool destroying = false;

        mutable std::mutex mutex;
        CRect rect;     // screen
        CRect invalid;  // client; empty = nothing to paint
        std::wstring title;
        bool visible = false;
        bool enabled = true;
        bool iconic = false;
        bool zoomed = false;

        // Pointer tracking (owner thread).
        bool pointerInside = false;
        POINT pointer;  // client, last known
        DWORD trackFlags = 0;
        UINT hoverMs = MOUSE_HOVER_TIME;
        POINT hoverAnchor;
    };

protected:
    // Registers a record made by the back end and returns its new handle.
    HWND AddWindow(std::shared_ptr<Window> window, const WindowDesc& desc, WindowProc* proc);
    // Once the native side is made: WM_NCCREATE and WM_CREATE, then shown if asked for.
    void AnnounceCreated(HWND hwnd, const WindowDesc& desc, WindowProc* proc);
    std::shared_ptr<Window> Find(HWND hwnd) const;
    std::vector<std::shared_ptr<Window>> WindowsOfThisThread() const;

    // What the back end does beyond the bookkeeping.
    virtual void DestroyNative(Window& window) = 0;
    // Paints the window's invalid area now (WM_PAINT with a PaintContext).
    virtual void PaintWindow(Window& window) = 0;
    // Called on the owner thread when part of the window was invalidated (also by others).
    virtual void OnInvalidated(Window&) {}
    // Waits until woken or the deadline passes; the lock is held on entry and on return.
    virtual void WaitForWork(Queue& queue, std::unique_lock<std::mutex>& lock,
                             std::optional<Clock::time_point> deadline);
    virtual void Wake(Queue& queue);
    // Serves the windowing system's pending events without waiting, so that a steady stream
    // of posted messages cannot starve input and painting.
    virtual void PollNative(Queue&) {}
    // Lets the desktop move the window (never a pop-up); false when it cannot.
    virtual bool BeginNativeMoveDrag(Window&) { return false; }
    // Whether the queue should produce WM_PAINT for invalid windows itself (else the
    // windowing system asks for paints).
    virtual bool SynthesisesPaint() const { return true; }

    // Input as the windowing system reports it, turned into queued messages. Points are client
    // coordinates except for the wheel.
    void DeliverMouse(HWND hwnd, UINT msg, WPARAM keys, POINT client);
    void DeliverWheel(HWND hwnd, int delta, WPARAM keys, POINT screen);
    void DeliverPointerLeave(HWND hwnd);
    // vk may name a side (VK_LSHIFT); the message carries the generic code (VK_SHIFT).
    // ch is the typed character (0 for none), followed by WM_CHAR.
    void DeliverKey(HWND hwnd, int vk, bool down, char32_t ch, int scanCode);
    void DeliverActivation(HWND hwnd, bool active);
    void DeliverFocus(HWND hwnd, bool focused);
    void DeliverGeometry(HWND hwnd, const CRect& screenRect);
    void DeliverShowState(HWND hwnd, bool visible, bool iconic, bool zoomed);
    void DeliverCloseRequest(HWND hwnd);
    // Keys released while another window had the keyboard are never reported.
    void ForgetHeldKeys();
    void SetKeyState(int vk, bool down);
    bool TableKeyHeld(int vk) const;

public:
    struct Queue {
        std::mutex mutex;
        std::condition_variable wakeup;
        std::thread::id thread;
        bool mainContext = false;  // the back end's own event loop serves this thread
        std::deque<MSG> posted;
        struct Sent;
        std::deque<std::shared_ptr<Sent>> sent;
        bool quitPending = false;
        int quitCode = 0;
        struct Timer {
            HWND hwnd;
            UINT_PTR id;
            UINT elapse;
            Clock::time_point due;
            bool hover;  // WM_MOUSEHOVER instead of WM_TIMER, once
        };
        std::vector<Timer> timers;
        bool invalidations = false;
        int servedWithoutPoll = 0;
    };

protected:
    std::shared_ptr<Queue> QueueOfThisThread();

    HWND capture_ = nullptr;
    HWND active_ = nullptr;
    HWND focus_ = nullptr;

private:
    bool NextMessage(MSG& msg, bool wait, bool remove);
    void RunSentMessages(Queue& queue, std::unique_lock<std::mutex>& lock);
    void ArmHover(Window& window, POINT client);
    void Post(Window& window, UINT msg, WPARAM wParam, LPARAM lParam);
    // A pop-up moved by its caption: whether the pointer event was the move's own.
    bool FollowMoveDrag(UINT msg, WPARAM keys);
    struct MoveDrag {
        HWND hwnd = nullptr;
        POINT grab;  // the pointer's offset from the window's top-left corner
    };
    MoveDrag moveDrag_;
    HWND RegisterWindow(std::shared_ptr<Window> window, const WindowDesc& desc, WindowProc* proc,
                        std::shared_ptr<Queue> queue);
    void PostTo(Queue& queue, const MSG& msg);
    bool IsMouseInput(UINT msg) const;

    mutable std::mutex registryMutex_;
    std::unordered_map<HWND, std::shared_ptr<Window>> windows_;
    std::unordered_map<std::thread::id, std::shared_ptr<Queue>> queues_;
    std::uintptr_t nextHandle_ = 0x10;
    std::array<std::atomic<bool>, 256> keys_{};
};

}  // namespace Quorl
