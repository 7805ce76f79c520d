#include "quorl/core/MControl.h"

#include <algorithm>
#include <cwchar>

#include "quorl/paint/PaintManager.h"
#include "quorl/render/Canvas.h"

namespace Quorl {

const wchar_t CURSOR_ARROW[] = L"arrow";
const wchar_t CURSOR_WAIT[] = L"wait";
const wchar_t CURSOR_CROSS[] = L"cross";
const wchar_t CURSOR_SIZEWE[] = L"sizewe";
const wchar_t CURSOR_SIZENS[] = L"sizens";
const wchar_t CURSOR_HAND[] = L"hand";
const wchar_t CURSOR_HELP[] = L"help";

BOOL MObject::IsClass(const wchar_t* name) {
    const wchar_t* own = GetClassNameW();
    return name && own && std::wcscmp(own, name) == 0;
}

LONG MObject::OnBaseMessage(UINT, UINT, UINT, LONG) {
    return 0;
}

LONG MObject::OnControlUpdate(CRect, BOOL, MControl*) {
    return 0;
}

namespace {

bool Intersects(const CRect& a, const CRect& b) {
    CRect r;
    return r.IntersectRect(a, b);
}

template <typename F>
void EachChild(std::recursive_mutex& lock, std::vector<MControl*>& list, F&& f) {
    std::lock_guard guard(lock);
    for (MControl* child : list) {
        if (child) {
            f(child);
        }
    }
}

}  // namespace

void MControl::CollectTree(std::vector<MControl*>& out) {
    out.push_back(this);
    EachChild(m_areaLock, m_areas, [&](MControl* c) { c->CollectTree(out); });
    EachChild(m_controlLock, m_controls, [&](MControl* c) { c->CollectTree(out); });
}

void MControl::DeleteControl(MControl* control) {
    if (!control) {
        return;
    }
    // Unregister the whole subtree first (no list lock held): the animation thread may be
    // about to tick one of them, and must not meet a half-destroyed object.
    std::vector<MControl*> tree;
    control->CollectTree(tree);
    for (MControl* c : tree) {
        if (PaintManager* manager = c->GetManager()) {
            manager->ForgetControl(c);
        }
    }
    delete control;
}

MControl::MControl(MObject* parent, UINT id, CRect rect, BOOL visible, BOOL enabled, BOOL response)
    : m_parent(parent),
      m_id(id),
      m_rect(rect),
      m_visible(visible ? 1 : 0),
      m_enabled(enabled ? 1 : 0),
      m_response(response ? 1 : 0) {}

MControl::~MControl() {
    if (m_manager) {
        m_manager->ForgetControl(this, false);
    }
    MControl::RemoveAllControl();
}

void MControl::InitControl(PaintManager* manager) {
    m_manager = manager;
    EachChild(m_areaLock, m_areas, [&](MControl* c) { c->SetManager(manager); });
    EachChild(m_controlLock, m_controls, [&](MControl* c) { c->SetManager(manager); });
}

BOOL MControl::PtInRect(CPoint pt) {
    return m_visible && m_rect.PtInRect(pt);
}

BOOL MControl::DrawSubControls(Canvas& target, CRect clip) {
    EachChild(m_controlLock, m_controls, [&](MControl* c) {
        if (c->IsVisible()) {
            c->Draw(target, clip);
        }
    });
    return 1;
}

void MControl::SetUpdate(BOOL update, DWORD backColour) {
    m_update = update ? 1 : 0;
    auto pass = [&](MControl* c) {
        if (Intersects(c->GetRect(), m_rect)) {
            c->SetUpdate(update, backColour);
        }
    };
    EachChild(m_areaLock, m_areas, pass);
    EachChild(m_controlLock, m_controls, pass);
}

BOOL MControl::SetControlFocus(BOOL focus) {
    m_focused = focus ? 1 : 0;
    if (!focus) {
        EachChild(m_controlLock, m_controls, [](MControl* c) {
            if (c->IsFocused()) {
                c->SetControlFocus(0);
            }
        });
    }
    return 0;
}

BOOL MControl::OnControlSetCursor(UINT, CPoint pt) {
    if (!m_cursor || !m_rect.PtInRect(pt) || !m_manager) {
        return 0;
    }
    m_manager->SetCursorByName(m_cursor);
    return 1;
}

BOOL MControl::OnControlKeyDown(UINT key, UINT, UINT modifier) {
    return m_hotKey != 0 && m_hotKey == key && modifier == m_hotKeyModifier;
}

void MControl::InvalidateRect(const RECT*, BOOL) {
    if (m_manager) {
        m_manager->InvalidateRect(m_rect, FALSE);
    }
}

void MControl::SetManager(PaintManager* manager) {
    m_manager = manager;
    InitControl(manager);
}

LONG MControl::RequestRepaint(CRect rect, BOOL update) {
    return m_parent ? m_parent->OnControlUpdate(rect, update, this) : 0;
}

void MControl::SetRect(CRect rect) {
    const CRect old = m_rect;
    SetControlRect(rect);
    if (m_visible) {
        RequestRepaint(old | rect, TRUE);
    }
}

void MControl::SetRect(int x, int y, int width, int height) {
    SetRect(CRect(x, y, x + width, y + height));
}

void MControl::SetVisible(BOOL visible) {
    SetVisible(visible, TRUE);
}

void MControl::SetVisible(BOOL visible, BOOL notifyParent) {
    visible = visible ? 1 : 0;
    if (visible == m_visible) {
        return;
    }
    SetControlVisible(visible);
    if (notifyParent) {
        RequestRepaint(m_rect, TRUE);
    }
}

BOOL MControl::IsParentVisible() {
    if (!m_parent) {
        return 0;
    }
    auto* control = dynamic_cast<MControl*>(m_parent);
    if (!control) {
        // The host window (a dialog, a pop-up or a menu).
        return 1;
    }
    return control->IsVisible() && control->IsParentVisible();
}

void MControl::SetEnabled(BOOL enabled) {
    enabled = enabled ? 1 : 0;
    if (enabled == m_enabled) {
        return;
    }
    SetControlEnabled(enabled);
    if (m_visible) {
        RequestRepaint(m_rect, TRUE);
    }
}

BOOL MControl::SetCursorEx(const wchar_t* name) {
    static const wchar_t* const known[] = {CURSOR_ARROW,  CURSOR_WAIT, CURSOR_CROSS, CURSOR_SIZEWE,
                                           CURSOR_SIZENS, CURSOR_HAND, CURSOR_HELP};
    for (const wchar_t* k : known) {
        if (name == k) {
            m_cursor = k;
            return 1;
        }
    }
    return 0;
}

void MControl::SetTooltip(const CString& text, CRect rect) {
    if (!m_manager) {
        return;
    }
    m_manager->SetTooltip(text, rect);
    m_manager->SetTooltipCtrlID(static_cast<int>(m_id));
}

void MControl::ClearTooltip() {
    if (m_manager) {
        m_manager->ClearTooltip();
    }
}

MControl* MControl::FindControlIn(std::recursive_mutex& lock, const std::vector<MControl*>& list,
                                  UINT id) {
    std::lock_guard guard(lock);
    for (MControl* c : list) {
        if (!c) {
            continue;
        }
        if (c->GetControlID() == id) {
            return c;
        }
        if (MControl* found = c->GetControl(id)) {
            return found;
        }
    }
    return nullptr;
}

MControl* MControl::GetControl(UINT id) {
    if (MControl* found = MControl::FindControlIn(m_controlLock, m_controls, id)) {
        return found;
    }
    return MControl::FindControlIn(m_areaLock, m_areas, id);
}

MControl* MControl::AddControl(MControl* child) {
    if (!child) {
        return nullptr;
    }
    child->SetParent(this);
    child->m_parentControl = this;
    child->SetManager(m_manager);
    std::lock_guard guard(m_controlLock);
    m_controls.push_back(child);
    return child;
}

MControl* MControl::AddArea(MControl* child) {
    if (!child) {
        return nullptr;
    }
    child->SetParent(this);
    child->m_parentControl = this;
    child->SetManager(m_manager);
    std::lock_guard guard(m_areaLock);
    m_areas.push_back(child);
    return child;
}

void MControl::ForgetChild(MControl* child) {
    std::lock_guard guard(m_controlLock);
    if (m_mouseChild == child) {
        m_mouseChild = nullptr;
    }
}

BOOL MControl::RemoveControl(MControl* child) {
    if (!child) {
        return 0;
    }
    {
        std::lock_guard guard(m_controlLock);
        auto it = std::find(m_controls.begin(), m_controls.end(), child);
        if (it == m_controls.end()) {
            return 0;
        }
        m_controls.erase(it);
        if (m_mouseChild == child) {
            m_mouseChild = nullptr;
        }
    }
    DeleteControl(child);
    return 1;
}

void MControl::RemoveAllControl() {
    // Children are taken out under the locks and deleted outside them, so that the animation
    // thread never waits on a list lock held across a destructor.
    std::vector<MControl*> doomed;
    {
        std::lock_guard guard(m_controlLock);
        doomed.swap(m_controls);
        m_mouseChild = nullptr;
    }
    {
        std::lock_guard guard(m_areaLock);
        doomed.insert(doomed.end(), m_areas.begin(), m_areas.end());
        m_areas.clear();
    }
    for (MControl* child : doomed) {
        DeleteControl(child);
    }
}

void MControl::AddMTimer() {
    if (m_manager) {
        m_manager->AddMTimer(this);
    }
}

LONG MControl::SendMessageW(UINT code, UINT wParam, LONG lParam) {
    return m_parent ? m_parent->OnBaseMessage(m_id, code, wParam, lParam) : 0;
}

void MControl::UpdateControl(BOOL update, BOOL force) {
    if (m_visible || force) {
        RequestRepaint(m_rect, update);
    }
}

void MControl::UpdateControl(CRect rect, BOOL force, BOOL update) {
    if (m_visible || force) {
        RequestRepaint(rect, update);
    }
}

void MControl::UpdateAControl(BOOL keepAnimation, BOOL force) {
    if (m_visible || force) {
        m_animate = keepAnimation ? 0 : 1;
        RequestRepaint(m_rect, FALSE);
    }
}

void MControl::UpdateMemDC(Canvas&, int width, int height) {
    m_update = 1;
    if (m_memBitmap.Width() != width || m_memBitmap.Height() != height || !m_memBitmap.IsValid()) {
        m_memBitmap.Create(width, height);
    }
}

void MControl::UpdateAnimateDC(Canvas&, int width, int height) {
    m_animate = 1;
    m_animateBitmap.Create(width, height);
}

void MControl::Draw(Canvas& target, CRect clip) {
    if (!m_visible) {
        return;
    }
    CRect visible;
    if (!visible.IntersectRect(m_rect, clip)) {
        return;
    }
    EachChild(m_areaLock, m_areas, [&](MControl* area) {
        if (Intersects(area->GetRect(), m_rect)) {
            area->Draw(target, clip);
        }
    });
    DrawControl(target, clip);
    DrawSubControls(target, clip);
}

CPoint MControl::ChildPoint(MControl* child, CPoint original, CPoint translated) {
    const UINT id = child->GetControlID();
    return (id == 1 || id == 2) ? original : translated;
}

void MControl::TakeFocus() {
    if (m_manager) {
        m_manager->SetFocusControl(this);
    }
}

BOOL MControl::OnMouseMove(UINT flags, CPoint pt) {
    if (!m_visible || !m_response) {
        return 0;
    }
    const CPoint original = pt;
    OnMousePointChange(pt);

    std::unique_lock guard(m_controlLock);
    if (MControl* child = m_mouseChild) {
        const CPoint cp = ChildPoint(child, original, pt);
        if ((child->PtInRect(cp) && child->OnCheckMouseResponse(flags, cp)) || m_pressedInside) {
            return child->OnMouseMove(flags, cp);
        }
    }
    const bool hadChild = m_mouseChild != nullptr;
    m_mouseChild = nullptr;
    guard.unlock();

    const bool inside = m_rect.PtInRect(original) != 0;
    if (!m_tooltip.IsEmpty() && inside && OnCheckMouseResponse(flags, original) && m_manager &&
        m_manager->GetTooltipCtrlID() != static_cast<int>(m_id)) {
        m_manager->SetTooltip(m_tooltip, m_rect);
        m_manager->SetTooltipCtrlID(static_cast<int>(m_id));
    }

    OnControlSetCursor(flags, original);
    BOOL result = OnControlMouseMove(flags, original);
    if (m_trackInside) {
        m_mouseOutside = inside ? 0 : 1;
    }
    if (m_pressedInside) {
        return result;
    }

    guard.lock();
    // By index: a handler may remove controls, itself included.
    for (size_t i = 0; i < m_controls.size(); ++i) {
        MControl* child = m_controls[i];
        if (!child) {
            continue;
        }
        const CPoint cp = ChildPoint(child, original, pt);
        const BOOL moved = child->OnMouseMove(flags, cp);
        if (i >= m_controls.size() || m_controls[i] != child) {
            continue;
        }
        if (moved && child->PtInRect(cp)) {
            m_mouseChild = child;
            result = 1;
        }
    }
    return (m_mouseChild || hadChild) ? 1 : result;
}

BOOL MControl::RoutePress(UINT flags, CPoint pt, ButtonHandler childPress, ButtonHandler ownPress) {
    if (!m_visible || !m_response) {
        return 0;
    }
    const CPoint original = pt;
    OnMousePointChange(pt);
    m_pressedInside = m_rect.PtInRect(original) ? 1 : 0;
    std::unique_lock guard(m_controlLock);
    for (MControl* child : m_controls) {
        if (child && child->PtInRect(ChildPoint(child, original, pt)) && child->IsEnabled() &&
            child->GetRresponse()) {
            m_mouseChild = child;
        }
    }
    if (MControl* child = m_mouseChild) {
        return (child->*childPress)(flags, ChildPoint(child, original, pt));
    }
    guard.unlock();
    TakeFocus();
    return (this->*ownPress)(flags, original);
}

BOOL MControl::RouteRelease(UINT flags, CPoint pt, ButtonHandler childRelease,
                            ButtonHandler ownRelease) {
    m_pressedInside = 0;
    const CPoint original = pt;
    OnMousePointChange(pt);
    std::unique_lock guard(m_controlLock);
    if (MControl* child = m_mouseChild) {
        return (child->*childRelease)(flags, ChildPoint(child, original, pt));
    }
    guard.unlock();
    return (this->*ownRelease)(flags, original);
}

BOOL MControl::OnLButtonDown(UINT flags, CPoint pt) {
    return RoutePress(flags, pt, &MControl::OnLButtonDown, &MControl::OnControlLButtonDown);
}

BOOL MControl::OnLButtonUp(UINT flags, CPoint pt) {
    return RouteRelease(flags, pt, &MControl::OnLButtonUp, &MControl::OnControlLButtonUp);
}

BOOL MControl::RouteDoubleClick(UINT flags, CPoint pt, bool left) {
    const ButtonHandler childDblClk =
        left ? &MControl::OnLButtonDblClk : &MControl::OnRButtonDblClk;
    const ButtonHandler childPress = left ? &MControl::OnLButtonDown : &MControl::OnRButtonDown;
    m_pressedInside = 0;
    const CPoint original = pt;
    OnMousePointChange(pt);
    std::unique_lock guard(m_controlLock);
    if (MControl* child = m_mouseChild) {
        const CPoint cp = ChildPoint(child, original, pt);
        BOOL handled = (child->*childDblClk)(flags, cp);
        if (!handled && !child->GetDblClk()) {
            handled = (child->*childPress)(flags, cp);
        }
        return handled;
    }
    guard.unlock();
    if (!m_dblClk) {
        return left ? OnControlLButtonDown(flags, original) : OnControlRButtonDown(flags, original);
    }
    if (!left) {
        return OnControlRButtonDblClk(flags, original);
    }
    if (m_notifyDblClk && m_rect.PtInRect(original)) {
        SendMessageW(NOTIFY_DBLCLK, flags, static_cast<LONG>(MAKELPARAM(original.x, original.y)));
    }
    return OnControlLButtonDblClk(flags, original);
}

BOOL MControl::OnLButtonDblClk(UINT flags, CPoint pt) {
    return RouteDoubleClick(flags, pt, true);
}

BOOL MControl::OnRButtonDown(UINT flags, CPoint pt) {
    return RoutePress(flags, pt, &MControl::OnRButtonDown, &MControl::OnControlRButtonDown);
}

BOOL MControl::OnRButtonUp(UINT flags, CPoint pt) {
    return RouteRelease(flags, pt, &MControl::OnRButtonUp, &MControl::OnControlRButtonUp);
}

BOOL MControl::OnRButtonDblClk(UINT flags, CPoint pt) {
    return RouteDoubleClick(flags, pt, false);
}

BOOL MControl::OnScroll(int bar, UINT direction, CPoint pt) {
    if (!m_visible || !m_response || !m_enabled) {
        return 0;
    }
    std::lock_guard guard(m_controlLock);
    if (MControl* child = m_mouseChild) {
        if (child->PtInRect(pt) && child->OnCheckMouseResponse(0, pt) &&
            child->OnScroll(bar, direction, pt)) {
            return 1;
        }
    }
    if (!m_rect.PtInRect(pt)) {
        return 0;
    }
    if (OnControlScroll(bar, direction, pt)) {
        return 1;
    }
    for (MControl* child : m_controls) {
        if (child && child->PtInRect(pt) && child->OnScroll(bar, direction, pt)) {
            return 1;
        }
    }
    return 0;
}

BOOL MControl::OnKeyDown(UINT key, UINT repeat, UINT modifier) {
    if (!m_visible || !m_response) {
        return 0;
    }
    MControl* current = this;
    for (;;) {
        MControl* focusedChild = nullptr;
        {
            std::lock_guard guard(current->m_controlLock);
            for (MControl* child : current->m_controls) {
                if (child && child->IsFocused()) {
                    focusedChild = child;
                    break;
                }
            }
        }
        if (!focusedChild || !focusedChild->IsVisible() || !focusedChild->GetRresponse()) {
            break;
        }
        current = focusedChild;
    }

    BOOL handled = 0;
    {
        std::lock_guard guard(current->m_controlLock);
        if (current->m_mouseChild && current->m_mouseChild->OnKeyDown(key, repeat, modifier)) {
            handled = 1;
        } else if (current->OnControlKeyDown(key, repeat, modifier)) {
            handled = 1;
        } else {
            for (MControl* child : current->m_controls) {
                if (child && child->OnKeyDown(key, repeat, modifier)) {
                    handled = 1;
                    break;
                }
            }
        }
    }
    if (current->m_notifyKey) {
        current->SendMessageW(NOTIFY_KEY, key, static_cast<LONG>(modifier));
    }
    return handled;
}

BOOL MControl::OnTimer() {
    BOOL result = OnControlTimer();
    std::lock_guard guard(m_controlLock);
    for (MControl* child : m_controls) {
        if (child && child->IsRunTimer() && child->IsVisible() && child->OnTimer()) {
            result = 1;
        }
    }
    return result;
}

}  // namespace Quorl
