#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "quorl/core/BaseTypes.h"
#include "quorl/core/CString.h"
#include "quorl/core/Color.h"
#include "quorl/core/Geometry.h"
#include "quorl/paint/CMTimer.h"
#include "quorl/platform/DragDrop.h"
#include "quorl/platform/Messages.h"
#include "quorl/render/Bitmap.h"
#include "quorl/render/Font.h"
#include "quorl/render/WindowResources.h"

namespace Quorl {

class Canvas;
class MAirBladder;
class MControl;
class MObject;
class MShadow;
class MWindow;
class TooltipWnd;

// The window's size limits, as WM_GETMINMAXINFO's lParam.
struct MINMAXINFO {
    POINT ptReserved;
    POINT ptMaxSize;
    POINT ptMaxPosition;
    POINT ptMinTrackSize;
    POINT ptMaxTrackSize;
};

enum enumBackMode { BACK_MODE_STRETCH = 0, BACK_MODE_FRAME = 1 };
enum AIRBLADDER_TYPE { AIRBLADDER_TYPE_INFO = 0, AIRBLADDER_TYPE_WARNING = 1 };
enum AIRBLADDER_MODE { AIRBLADDER_MODE_AUTOHIDE = 0, AIRBLADDER_MODE_STAY = 1 };

// The manager's own window timers; control timers never use these ids.
inline constexpr UINT TIMER_CARET = 6553;
inline constexpr UINT TIMER_PROGRESS = 99;
inline constexpr UINT TIMER_FADE = 88;
inline constexpr UINT TIMER_IDLE = 66;
// Asks a layered window to push a fresh surface (layered windows get no WM_PAINT).
inline constexpr UINT WM_QUORL_LAYEREDPAINT = WM_USER + 0x3F0;

// The per-window engine: owns the top-level control lists, paints them into an off-screen
// surface, routes input to them, and runs their timers.
class PaintManager : public CMTimer, public DropTarget {
public:
    PaintManager();
    ~PaintManager() override;
    PaintManager(const PaintManager&) = delete;
    PaintManager& operator=(const PaintManager&) = delete;

    void OnMTimer(UINT id) override;

    // ---- set-up and teardown ----
    void Init(HWND hwnd, MWindow* owner);
    void DestroyData();
    void OnDestroyMessage(HWND hwnd);
    BOOL IsInitialised() const { return m_initialised; }

    // ---- messages ----
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT HandleWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    BOOL PreTranslateMessage(MSG* msg);
    BOOL OnPaint(PaintContext* context);
    // Steps of a paint without the copy to the window and the pause: the surface must be the
    // client size.
    void PaintSurface(Canvas& canvas, const CRect& update);
    BOOL OnMouseMove(UINT flags, CPoint pt);
    BOOL OnMouseLeave();
    BOOL OnMouseHover() { return 1; }
    BOOL OnMouseWheel(UINT flags, int delta, CPoint screenPt);
    BOOL OnLButtonDown(UINT flags, CPoint pt);
    BOOL OnLButtonUp(UINT flags, CPoint pt);
    BOOL OnLButtonDblClk(UINT flags, CPoint pt);
    BOOL OnRButtonDown(UINT flags, CPoint pt);
    BOOL OnRButtonUp(UINT flags, CPoint pt);
    BOOL OnRButtonDblClk(UINT, CPoint) { return 1; }
    BOOL OnKeyDown(UINT key);
    BOOL OnKeyUp(UINT) { return 0; }
    BOOL OnGetMinMaxInfo(MINMAXINFO* info);
    BOOL OnNcActivate(BOOL active);
    BOOL OnWindowPosChanged();
    BOOL OnTimer(UINT id);
    static UINT CurrentModifier();

    // ---- controls ----
    // kind 0: area list, 1: control list, else in no list. Null for an unknown name.
    MControl* CreateControl(UINT kind, MObject* parent, const wchar_t* className, UINT id,
                            CRect rect, const wchar_t* text, int flag1, int flag2);
    MControl* CreateControl(MObject* parent, const wchar_t* className, UINT id, CRect rect,
                            const wchar_t* text, int flag1, int flag2);
    MControl* CreateArea(MObject* parent, const wchar_t* className, UINT id, CRect rect,
                         const wchar_t* text, int flag1, int flag2);
    // Takes ownership of a control built by hand.
    MControl* AddControl(MControl* control);
    MControl* AddArea(MControl* control);
    MControl* GetControl(UINT id);
    std::vector<MControl*>& GetControls() { return m_controls; }
    BOOL RemoveControl(MControl* control);
    void ClearAreaControls();
    void ClearControls();
    void ClearAllControls();
    LRESULT OnControlUpdate(CRect rect, BOOL update, MControl* control);
    // A control is being destroyed: drop every reference to it.
    void ForgetControl(MControl* control, bool parentToo = true);

    // ---- focus and input state ----
    void SetFocusControl(MControl* control);
    MControl* GetFocusControl() const { return m_focus; }
    MControl* GetHoverControl() const { return m_hover; }
    MControl* GetNextFocusableControl();
    MControl* GetPrevFocusableControl();
    void SetCapture();
    void ReleaseCapture();
    BOOL IsCaptured() const { return m_captured; }
    BOOL IsLeftPressed() const { return m_leftPressed; }
    void SetCursorByName(const wchar_t* name);

    // ---- painting ----
    void Invalidate();
    void InvalidateRect(CRect rect, BOOL erase);
    void SetLayeredWindow(BOOL layered) { m_layered = layered; }
    BOOL IsLayered() const { return m_layered; }
    void SetBackColor(DWORD fill, DWORD border) {
        m_fillColour = fill;
        m_borderColour = border;
    }
    DWORD GetBackColor() const { return m_fillColour; }
    void SetBackMode(enumBackMode mode, int frame) {
        m_backMode = mode;
        m_backFrame = frame;
    }
    BOOL LoadBKImage(CString file);
    BOOL LoadBKImage(UINT id, CString type);
    HWND GetPaintWnd() const { return m_hwnd; }
    MWindow* GetOwner() const { return m_owner; }
    CRect GetClientRect() const;
    CRect GetWindowRect() const;
    CSize GetClientSize() const { return GetClientRect().Size(); }
    void SetCaptionRect(CRect rect) { m_captionRect = rect; }
    CRect GetCaptionRect() const { return m_captionRect; }
    void EnableWndDrag(BOOL enable) { m_dragWindow = enable; }
    void SetWindowMaxSize(int cx, int cy) {
        m_maxCx = cx;
        m_maxCy = cy;
    }
    void SetWindowMixSize(int cx, int cy) {
        m_minCx = cx;
        m_minCy = cy;
    }
    CSize GetWindowManSize() const { return {m_minCx, m_minCy}; }
    CSize GetWindowMinSize() const { return {m_minCx, m_minCy}; }
    CSize GetWindowMaxSize() const { return {m_maxCx, m_maxCy}; }
    LRESULT SendMessageW(UINT msg, WPARAM wParam, LPARAM lParam);

    // ---- control timers (window timers) and the animation timer ----
    BOOL SetTimer(MControl* control, UINT key, UINT elapseMs);
    BOOL KillTimer(MControl* control, UINT key);
    BOOL KillTimer(MControl* control);
    void ClearTimers();
    UINT GetTimerId(MControl* control, UINT key);
    UINT SetMTimer(UINT elapseMs);
    void KillMTimer(UINT id);
    void KillMTimer();
    void AddMTimer(MControl* control);
    void DeleteTimer(MControl* control);

    // ---- tooltip, bubble, message, caret ----
    void SetTooltip(const wchar_t* text, CRect rect);
    void ClearTooltip();
    void SetTooltipCtrlID(int id) { m_tooltipOwner = id; }
    int GetTooltipCtrlID() const { return m_tooltipOwner; }
    TooltipWnd* GetTooltipWnd() const { return m_tooltip.get(); }
    void SetAirBladderMsg(const wchar_t* text, POINT pt, AIRBLADDER_TYPE type,
                          AIRBLADDER_MODE mode);
    BOOL ShowAirBladder(int cmdShow, int ownerId);
    MAirBladder* GetAirBladder() const { return m_bubble.get(); }
    void SetMessage(CString text, CRect rect, int fontSize);
    CString GetMessageText() const { return m_messageText; }
    void SetProgress(int percent, CString text, CRect rect);
    int GetProgressShown() const { return m_progressShown; }
    int GetMessageAlpha() const { return m_messageAlpha; }
    void CreateCaret(int width, int height);
    void ShowCaret(BOOL show);
    void SetCaretPos(MControl* owner, int x, int y);
    MControl* GetCurrentCaretObject() const { return m_caretOwner; }
    CRect GetCaretRect() const { return m_caretRect; }
    BOOL IsCaretBlinking() const { return m_caretTimerOn; }
    void DrawCaret(Canvas& canvas, const CRect& clip);

    // ---- drag and drop ----
    // Makes the window a drop target; false (and drops stay off) when the platform refuses.
    BOOL InitDragDrop();
    // The control's drag picture: its own, else what it shows on the screen.
    std::unique_ptr<Bitmap> GetDropBitmap(MControl* control, const CRect& rect);
    DWORD OnDragOver(POINT client, DWORD allowed) override;
    void OnDragLeave() override {}
    // A release at the drop point, then the picture (the dropped one, or the first dropped
    // file that is one) goes to the window as STM_SETIMAGE. The manager keeps the last
    // picture; the window copies what it wants to keep.
    bool OnDropData(POINT client, DropData& data) override;
    const Bitmap* GetDroppedImage() const { return m_dropped.get(); }

    // ---- shadow ----
    void CreateShadow(BOOL show);
    void SetShadowShow(BOOL show);
    void DisableShadow(BOOL disable);
    BOOL SetSize(int size);
    BOOL SetSharpness(UINT sharpness);
    BOOL SetDarkness(UINT darkness);
    BOOL SetPosition(int x, int y);
    BOOL SetShadowColor(DWORD colour);
    // Image mode: the image with its margins; 0 and nothing changed when either is refused.
    BOOL SetShadowImage(const wchar_t* file, CRect corner);
    BOOL SetShadowImage(UINT resourceId, CRect corner);
    MShadow& GetShadow();

    // ---- resources ----
    WindowResources& GetResources() { return m_resources; }
    void SetScrollResID(UINT vertical, UINT horizontal) {
        m_scrollV = vertical;
        m_scrollH = horizontal;
    }
    UINT GetScrollVID() const { return m_scrollV; }
    UINT GetScrollHID() const { return m_scrollH; }
    void SetDefaultEnabledColor(COLORREF c) { m_defaultEnabled = c; }
    COLORREF GetDefaultEnabledColor() const { return m_defaultEnabled; }

    // Lengths of the pause after each paint, in milliseconds (tests shorten it).
    void SetPaintPause(int ms) { m_paintPauseMs = ms; }

private:
    // Hands a release or double-click to the hovered control.
    void PassToHover(UINT flags, CPoint pt, BOOL (MControl::*handler)(UINT, CPoint));
    struct ControlTimer {
        HWND hwnd;
        UINT key;
        UINT id;
        bool killed;
        MControl* control;
    };
    template <typename F>
    void EachTopLevel(F&& f);
    void PaintLayered();
    void DrawMessage(Canvas& canvas);
    UINT NextTimerId();
    void ReleasePressed();
    BOOL StartDrag();
    void StartCaretTimer();
    void StopCaretTimer();
    void Bury(std::vector<MControl*>& doomed);

    MWindow* m_owner = nullptr;
    BOOL m_initialised = 0;
    HWND m_hwnd = nullptr;
    DWORD m_fillColour = 0x110B06;
    DWORD m_borderColour = 0x120F0A;
    CRect m_captionRect;
    int m_maxCx = 0, m_maxCy = 0, m_minCx = 0, m_minCy = 0;
    CPoint m_dragStart;
    BOOL m_dragPending = 0;
    std::unique_ptr<Bitmap> m_dragBitmap;
    std::unique_ptr<Bitmap> m_dropped;
    BOOL m_layered = 0;
    std::unique_ptr<Bitmap> m_background;
    CString m_messageText;
    int m_messageAlpha = 255;
    int m_progressShown = 0;
    int m_progressTarget = 0;
    CString m_messageFace = L"Arial";
    CRect m_messageRect;
    int m_messageFontSize = 14;
    std::atomic<UINT> m_animationTimer{0};  // read by the timer thread
    UINT m_lastTimerId = 4096;
    BOOL m_active = 0;
    BOOL m_tracking = 0;
    BOOL m_leftPressed = 0;
    BOOL m_dblClkSeen = 0;
    BOOL m_rightPressed = 0;
    BOOL m_captured = 0;
    BOOL m_dragWindow = 1;
    UINT m_scrollV = 0, m_scrollH = 0;
    COLORREF m_defaultEnabled = 0x808080;
    MControl* m_hover = nullptr;
    MControl* m_focus = nullptr;
    int m_tooltipOwner = 0;
    std::unique_ptr<TooltipWnd> m_tooltip;
    std::unique_ptr<MAirBladder> m_bubble;
    std::unique_ptr<MShadow> m_shadow;
    int m_bubbleOwner = 0;
    std::vector<MControl*> m_areas;
    std::vector<MControl*> m_controls;
    std::vector<MControl*> m_animated;
    std::recursive_mutex m_areaLock;
    std::recursive_mutex m_controlLock;
    std::recursive_mutex m_animationLock;
    int m_backMode = 0;
    int m_backFrame = 4;
    CRect m_caretRect;
    BOOL m_caretPhase = 0;
    BOOL m_caretShown = 0;
    BOOL m_caretTimerOn = 0;
    MControl* m_caretOwner = nullptr;
    WindowResources m_resources;
    std::vector<ControlTimer> m_timers;
    std::recursive_mutex m_timerLock;
    std::atomic<bool> m_layeredPending{false};
    int m_paintPauseMs = 15;
    // Messages being handled right now; controls destroyed meanwhile are deleted afterwards.
    int m_dispatchDepth = 0;
    // Repaint requests from other threads (the animation timer), served before each paint:
    // walking the lists there would take the locks in the opposite order to painting.
    std::thread::id m_uiThread;
    std::mutex m_pendingLock;
    std::vector<CRect> m_pendingStale;
    void ServePendingStale();
    std::vector<MControl*> m_graveyard;
};

}  // namespace Quorl
