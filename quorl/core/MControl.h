#pragma once

#include <atomic>
#include <mutex>
#include <vector>

#include "quorl/core/BaseTypes.h"
#include "quorl/core/CString.h"
#include "quorl/core/ControlNotify.h"
#include "quorl/core/Geometry.h"
#include "quorl/core/MObject.h"
#include "quorl/render/Bitmap.h"

namespace Quorl {

class Canvas;
class PaintManager;

// A windowless control: it draws itself into the host window's off-screen surface and gets
// its input from the paint manager. rect is in client pixels of the host window at every
// depth. Children come in two ordered lists: areas (drawn before the control, no input) and
// controls (drawn after it, routed input); later entries are on top.
class MControl : public MObject {
public:
    MControl(MObject* parent, UINT id, CRect rect, BOOL visible, BOOL enabled, BOOL response);
    ~MControl() override;
    MControl(const MControl&) = delete;
    MControl& operator=(const MControl&) = delete;

    const wchar_t* GetClassNameW() override { return L"MControl"; }

    virtual void InitControl(PaintManager* manager);
    virtual BOOL PtInRect(CPoint pt);
    virtual void DrawControl(Canvas& target, CRect clip) = 0;
    virtual BOOL DrawSubControls(Canvas& target, CRect clip);
    virtual BOOL IsDraw(CPoint) { return 0; }
    virtual void SetUpdate(BOOL update, DWORD backColour);
    virtual BOOL SetControlFocus(BOOL focus);
    virtual void InitUI(CRect) {}
    // A scrolling container translates the point into content coordinates.
    virtual BOOL OnMousePointChange(CPoint&) { return 0; }
    virtual BOOL OnCheckMouseResponse(UINT, CPoint) { return 1; }
    virtual LRESULT OnWindowMessage(UINT, WPARAM, LPARAM) { return 0; }
    virtual LRESULT OnMessage(UINT, UINT, UINT, LONG) { return 0; }
    virtual void SetControlRect(CRect rect) { m_rect = rect; }
    virtual void SetControlVisible(BOOL visible) { m_visible = visible; }
    virtual void SetControlWndVisible(BOOL) {}
    virtual void SetControlEnabled(BOOL enabled) { m_enabled = enabled; }
    virtual BOOL OnControlTimer() { return 0; }
    virtual const Bitmap* GetControlDropBitmap() { return nullptr; }
    virtual BOOL OnControlMouseMove(UINT, CPoint) { return 0; }
    virtual BOOL OnControlSetCursor(UINT flags, CPoint pt);
    virtual BOOL OnControlLButtonDown(UINT, CPoint) { return 0; }
    virtual BOOL OnControlLButtonUp(UINT, CPoint) { return 0; }
    virtual BOOL OnControlLButtonDblClk(UINT, CPoint) { return 0; }
    // bar 1 = the vertical wheel; direction 1 = towards the user.
    virtual BOOL OnControlScroll(int, UINT, CPoint) { return 0; }
    virtual BOOL OnControlRButtonDown(UINT, CPoint) { return 0; }
    virtual BOOL OnControlRButtonUp(UINT, CPoint) { return 0; }
    virtual BOOL OnControlRButtonDblClk(UINT, CPoint) { return 0; }
    virtual BOOL OnControlKeyDown(UINT key, UINT repeat, UINT modifier);
    virtual void OnPositionChange() {}
    // Invalidates the whole rect in the host window (all of it when layered).
    virtual void InvalidateRect(const RECT* rect, BOOL erase);

    // ---- tree, state and geometry ----
    void SetManager(PaintManager* manager);
    PaintManager* GetManager() const { return m_manager; }
    MObject* GetParantObject() const { return m_parent; }
    void SetParent(MObject* parent) { m_parent = parent; }
    UINT GetControlID() const { return m_id; }
    CRect GetRect() const { return m_rect; }
    std::vector<MControl*>& GetControls() { return m_controls; }
    std::vector<MControl*>& GetAreas() { return m_areas; }
    std::recursive_mutex& GetControlLock() { return m_controlLock; }
    std::recursive_mutex& GetAreaLock() { return m_areaLock; }

    void SetRect(CRect rect);
    void SetRect(int x, int y, int width, int height);
    void SetVisible(BOOL visible);
    void SetVisible(BOOL visible, BOOL notifyParent);
    BOOL IsVisible() const { return m_visible; }
    BOOL IsEnabled() const { return m_enabled; }
    BOOL IsFocused() const { return m_focused; }
    BOOL GetDblClk() const { return m_dblClk; }
    BOOL GetRresponse() const { return m_response; }
    void SetRresponse(BOOL response) { m_response = response; }
    BOOL IsTabStop() const { return m_tabStop; }
    void SetTabStop(BOOL tabStop) { m_tabStop = tabStop; }
    BOOL IsDragDrop() const { return m_dragDrop; }
    void SetDragDrop(BOOL dragDrop) { m_dragDrop = dragDrop; }
    BOOL IsRunTimer() const { return m_runTimer; }
    void SetRunTimer(BOOL run) { m_runTimer = run; }
    BOOL GetUpdate() const { return m_update; }
    BOOL UseImageECM() const { return m_imageEcm; }
    BOOL IsKeyDown() const { return m_keyDown; }
    BOOL IsParentVisible();
    void SetEnabled(BOOL enabled);

    // One of the CURSOR_* constants; any other pointer leaves the cursor and answers 0.
    BOOL SetCursorEx(const wchar_t* name);
    const wchar_t* GetCursorName() const { return m_cursor; }
    void SetTooltip(const wchar_t* text) { m_tooltip = text; }
    void SetTooltip(const CString& text, CRect rect);
    CString GetTooltip() const { return m_tooltip; }
    void ClearTooltip();
    void SetTooltipCtrlID(int) {}
    int GetTooltipCtrlID() const { return 0; }

    // Depth first: the control list (each child, then its subtree), then the area list.
    MControl* GetControl(UINT id);
    // The control with the id in the list or below its members, depth first in list order,
    // searched under the list's lock; null when there is none.
    static MControl* FindControlIn(std::recursive_mutex& lock, const std::vector<MControl*>& list,
                                   UINT id);
    // Takes ownership; the child joins this control's manager.
    MControl* AddControl(MControl* child);
    MControl* AddArea(MControl* child);
    BOOL RemoveControl(MControl* child);
    void RemoveAllControl();
    void AddMTimer();
    void OnFocus(BOOL focus) { SetControlFocus(focus); }
    LONG SendMessageW(UINT code, UINT wParam, LONG lParam);
    void UpdateControl(BOOL update, BOOL force = FALSE);
    void UpdateControl(CRect rect, BOOL force, BOOL update);
    void UpdateAControl(BOOL keepAnimation, BOOL force = FALSE);
    // The drawing cache: marks it valid and (re)creates it when the size differs.
    void UpdateMemDC(Canvas& reference, int width, int height);
    void UpdateAnimateDC(Canvas& reference, int width, int height);
    Bitmap& GetMemBitmap() { return m_memBitmap; }
    Bitmap& GetAnimateBitmap() { return m_animateBitmap; }
    void Draw(Canvas& target, CRect clip);

    MControl* GetFocusControl(MControl*) { return nullptr; }
    MControl* GetNextFocusableControl(MControl*) { return nullptr; }
    MControl* GetPrevFocusableControl(MControl*) { return nullptr; }
    MControl* GetMouseChild() const { return m_mouseChild; }
    MControl* GetParentControl() const { return m_parentControl; }

    // ---- routing entry points ----
    BOOL OnMouseMove(UINT flags, CPoint pt);
    BOOL OnLButtonDown(UINT flags, CPoint pt);
    BOOL OnLButtonUp(UINT flags, CPoint pt);
    BOOL OnLButtonDblClk(UINT flags, CPoint pt);
    BOOL OnRButtonDown(UINT flags, CPoint pt);
    BOOL OnRButtonUp(UINT flags, CPoint pt);
    BOOL OnRButtonDblClk(UINT flags, CPoint pt);
    BOOL OnScroll(int bar, UINT direction, CPoint pt);
    BOOL OnKeyDown(UINT key, UINT repeat, UINT modifier);
    BOOL OnKeyUp(UINT, UINT, UINT) { return 0; }
    BOOL OnTimer();

    // Unregisters the control and its subtree from the manager, then deletes it.
    static void DeleteControl(MControl* control);
    void CollectTree(std::vector<MControl*>& out);

    // Called by a parent while this control leaves the tree: drop every pointer to child.
    void ForgetChild(MControl* child);

protected:
    // The point a child is given: scroll bars (ids 1 and 2) get the untranslated one.
    static CPoint ChildPoint(MControl* child, CPoint original, CPoint translated);
    // A press or release of either button goes to the child under the pointer (or the one that
    // took the press), else to this control's own handler.
    using ButtonHandler = BOOL (MControl::*)(UINT, CPoint);
    BOOL RoutePress(UINT flags, CPoint pt, ButtonHandler childPress, ButtonHandler ownPress);
    BOOL RouteRelease(UINT flags, CPoint pt, ButtonHandler childRelease, ButtonHandler ownRelease);
    // Only the left button's double click notifies the parent.
    BOOL RouteDoubleClick(UINT flags, CPoint pt, bool left);
    void TakeFocus();
    LONG RequestRepaint(CRect rect, BOOL update);

    MObject* m_parent = nullptr;
    PaintManager* m_manager = nullptr;
    UINT m_id = 0;
    CRect m_rect;
    BOOL m_visible = 1;
    BOOL m_enabled = 1;
    BOOL m_dragDrop = 0;
    BOOL m_response = 1;
    BOOL m_tabStop = 0;
    int m_reserved1 = 0;
    BOOL m_dblClk = 0;
    BOOL m_pressedInside = 0;
    BOOL m_keyDown = 0;
    int m_reserved2 = 0;
    BOOL m_focused = 0;
    UINT m_hotKey = 0;
    UINT m_hotKeyModifier = 0;
    // Read and cleared from the animation timer thread as well as the UI thread.
    std::atomic<BOOL> m_update{0};
    std::atomic<BOOL> m_animate{0};
    std::atomic<BOOL> m_runTimer{0};
    int m_reserved3 = 0;
    BOOL m_imageEcm = 0;
    std::vector<MControl*> m_areas;
    std::vector<MControl*> m_controls;
    std::recursive_mutex m_areaLock;
    std::recursive_mutex m_controlLock;
    MControl* m_mouseChild = nullptr;
    // The parent when it is a control (set when the child joins its list).
    MControl* m_parentControl = nullptr;
    Bitmap m_memBitmap;
    Bitmap m_animateBitmap;
    CString m_tooltip;
    int m_reserved4 = 0;
    const wchar_t* m_cursor = nullptr;
    BOOL m_trackInside = 0;
    int m_reserved5 = 0;
    int m_reserved6 = 0;
    BOOL m_notifyDblClk = 0;
    BOOL m_notifyKey = 0;
    BOOL m_mouseOutside = 1;
};

}  // namespace Quorl
