#pragma once

#include <memory>

#include "quorl/platform/PlatformBase.h"

namespace Quorl {

// A back end without a display, for tests: windows are records, each with a memory surface
// that WM_PAINT draws on (or that UpdateLayeredWindow replaces), and input is injected.
// Injected input goes through the same queue, tracking and key state as real input.
class HeadlessPlatform : public PlatformBase {
public:
    HeadlessPlatform();
    ~HeadlessPlatform() override;

    HWND CreateWindow(const WindowDesc& desc, WindowProc* proc) override;
    BOOL ShowWindow(HWND hwnd, int cmdShow) override;
    BOOL MoveWindow(HWND hwnd, const CRect& screenRect, BOOL repaint) override;
    BOOL SetForegroundWindow(HWND hwnd) override;
    BOOL SetWindowText(HWND hwnd, const std::wstring& title) override;
    BOOL SetKeepAbove(HWND hwnd, BOOL above) override;
    BOOL PlaceBelow(HWND hwnd, HWND reference) override;
    BOOL BeginMoveDrag(HWND hwnd) override;
    HWND SetCapture(HWND hwnd) override;
    BOOL ReleaseCapture() override;
    BOOL SetCursor(HWND hwnd, CursorShape shape) override;
    BOOL GetCursorPos(POINT& pt) const override;
    CRect GetWorkArea(HWND hwnd) const override;
    BOOL UpdateWindow(HWND hwnd) override;
    BOOL IsCompositing() const override { return compositing_; }
    BOOL UpdateLayeredWindow(HWND hwnd, const Bitmap& surface, const POINT* topLeft) override;
    BOOL SetWindowAlpha(HWND hwnd, BYTE alpha) override;
    BOOL SetWindowRoundRegion(HWND hwnd, int diameter) override;
    HWND SetFocus(HWND hwnd) override;
    UINT GetCaretBlinkTime() const override { return caretBlinkMs_; }
    BOOL SetWindowIcon(HWND hwnd, const Bitmap& large, const Bitmap& small) override;
    BOOL RegisterDropTarget(HWND hwnd, DropTarget* target) override;
    BOOL BeginDrag(HWND hwnd, const Bitmap& image, DWORD allowedEffects) override;
    std::unique_ptr<NativeEdit> CreateNativeEdit(HWND host, const NativeEditStyle& style,
                                                 NativeEditListener* listener) override;

    // ---- for tests ----
    void SetCompositing(bool on) { compositing_ = on; }
    void SetWorkArea(const CRect& area) { workArea_ = area; }
    // The window's surface as last painted; null for an unknown window.
    const Bitmap* GetSurface(HWND hwnd) const;
    BYTE GetWindowAlpha(HWND hwnd) const;
    bool IsKeptAbove(HWND hwnd) const;
    CursorShape GetCursor(HWND hwnd) const;
    int GetRoundRegion(HWND hwnd) const;
    void SetCaretBlinkTime(UINT ms) { caretBlinkMs_ = ms; }
    // Move drags the window asked the desktop for, and the sizes of its icons (empty when
    // none was set).
    int GetMoveDragCount(HWND hwnd) const;
    // The window the last PlaceBelow put this one under; null when none.
    HWND GetPlacedBelow(HWND hwnd) const;
    std::vector<CSize> GetIconSizes(HWND hwnd) const;
    // Drags the windows started, oldest first.
    struct StartedDrag {
        HWND hwnd;
        CSize imageSize;
        DWORD allowedEffects;
    };
    const std::vector<StartedDrag>& GetStartedDrags() const { return drags_; }
    // A drag carrying `data` moves over the window and is released at the client point, as
    // the desktop would deliver it; the target's answers come back (false: no target, or it
    // refused).
    bool InjectDrop(HWND hwnd, POINT client, DropData data, DWORD allowed = DROPEFFECT_COPY);

    // Pointer at a client point of the window: enters it if needed, then WM_MOUSEMOVE.
    void InjectMouseMove(HWND hwnd, POINT client, WPARAM keys = 0);
    // WM_LBUTTONDOWN, WM_RBUTTONUP, ... at a client point.
    void InjectButton(HWND hwnd, UINT msg, POINT client, WPARAM keys = 0);
    void InjectWheel(HWND hwnd, int delta, POINT client, WPARAM keys = 0);
    void InjectPointerLeave(HWND hwnd);
    // A key (side-specific codes allowed) with the character it types, if any.
    void InjectKey(HWND hwnd, int vk, bool down, char32_t ch = 0);
    void InjectActivation(HWND hwnd, bool active);
    // The desktop asks the window to close (its close button, or the shortcut).
    void InjectCloseRequest(HWND hwnd);

private:
    struct HeadlessWindow;

    void DestroyNative(Window& window) override;
    void PaintWindow(Window& window) override;
    bool BeginNativeMoveDrag(Window& window) override;
    std::shared_ptr<HeadlessWindow> FindHeadless(HWND hwnd) const;

    bool compositing_ = true;
    CRect workArea_{0, 0, 1600, 1000};
    POINT cursor_;
    UINT caretBlinkMs_ = 530;
    std::vector<StartedDrag> drags_;
};

}  // namespace Quorl
