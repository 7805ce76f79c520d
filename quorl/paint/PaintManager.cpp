#include "quorl/paint/PaintManager.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "quorl/core/ControlRegistry.h"
#include "quorl/core/MControl.h"
#include "quorl/core/MControlFont.h"
#include "quorl/paint/TooltipWnd.h"
#include "quorl/platform/Platform.h"
#include "quorl/platform/VirtualKeys.h"
#include "quorl/render/Canvas.h"
#include "quorl/render/Image.h"
#include "quorl/render/Manager.h"
#include "quorl/window/MAirBladder.h"
#include "quorl/window/MShadow.h"

namespace Quorl {

namespace {

Platform& P() {
    return Platform::Current();
}

CPoint PointOf(LPARAM lParam) {
    return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

bool Intersects(const CRect& a, const CRect& b) {
    CRect r;
    return r.IntersectRect(a, b);
}

bool IsManagerTimer(UINT id) {
    return id == TIMER_CARET || id == TIMER_PROGRESS || id == TIMER_FADE || id == TIMER_IDLE;
}

}  // namespace

PaintManager::PaintManager() = default;

PaintManager::~PaintManager() {
    StopTimerThread();
    DestroyData();
    m_tooltip.reset();
    m_bubble.reset();
    m_shadow.reset();
    for (MControl* c : m_graveyard) {
        delete c;
    }
}

void PaintManager::Init(HWND hwnd, MWindow* owner) {
    if (!hwnd || !P().IsWindow(hwnd)) {
        return;
    }
    m_hwnd = hwnd;
    m_owner = owner;
    m_uiThread = std::this_thread::get_id();
    InitDragDrop();
    m_initialised = 1;
    m_scrollV = 102;
    m_scrollH = 101;
    m_resources.AddGDITempFont(112, L"TTF");
    m_resources.AddGDITempFont(111, L"TTF");
    m_resources.AddGDITempFont(109, L"OTF");
    m_resources.AddGDITempFont(110, L"OTF");
}

void PaintManager::DestroyData() {
    if (!m_initialised) {
        return;
    }
    m_background.reset();
    KillMTimer();
    ClearTimers();
    StopCaretTimer();
    m_caretShown = 0;
    if (m_hwnd) {
        P().RegisterDropTarget(m_hwnd, nullptr);
    }
    m_dragPending = 0;
    m_dragBitmap.reset();
    ClearAllControls();
    {
        std::lock_guard guard(m_animationLock);
        m_animated.clear();
    }
    m_resources.ClearImgResInfo();
    m_resources.ClearTempFont();
    m_hover = m_focus = m_caretOwner = nullptr;
    m_initialised = 0;
}

void PaintManager::OnDestroyMessage(HWND hwnd) {
    if (hwnd == m_hwnd) {
        DestroyData();
    }
}

template <typename F>
void PaintManager::EachTopLevel(F&& f) {
    std::lock_guard guard(m_controlLock);
    for (size_t i = 0; i < m_controls.size(); ++i) {
        if (MControl* c = m_controls[i]) {
            if (f(c)) {
                return;
            }
        }
    }
}

// ---------------------------------------------------------------- messages

UINT PaintManager::CurrentModifier() {
    const Platform& p = P();
    UINT mod = 0;
    if (p.IsKeyHeld(VK_MENU)) {
        mod = 18;
    } else if (p.IsKeyHeld(VK_SHIFT)) {
        mod = 16;
    }
    if (p.IsKeyHeld(VK_CONTROL)) {
        mod |= 17;
    }
    return mod;
}

LRESULT PaintManager::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    ++m_dispatchDepth;
    const LRESULT result = HandleWindowMessage(msg, wParam, lParam);
    if (--m_dispatchDepth == 0 && !m_graveyard.empty()) {
        std::vector<MControl*> doomed;
        doomed.swap(m_graveyard);
        for (MControl* c : doomed) {
            delete c;
        }
    }
    return result;
}

LRESULT PaintManager::HandleWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (m_shadow) {
        m_shadow->OnParentMessage(msg, wParam, lParam);
    }
    bool offered = false;
    EachTopLevel(
        [&](MControl* c) { return offered = c->OnWindowMessage(msg, wParam, lParam) != 0; });
    if (offered) {
        return 0;
    }
    BOOL handled = 0;
    switch (msg) {
        case WM_PAINT:
            handled = OnPaint(reinterpret_cast<PaintContext*>(lParam));
            break;
        case WM_QUORL_LAYEREDPAINT:
            PaintLayered();
            handled = 1;
            break;
        case WM_GETMINMAXINFO:
            handled = OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
            break;
        case WM_NCDESTROY:
            DestroyData();
            return 1;
        case WM_CREATE:
        case WM_DESTROY:
        case WM_SIZE:
        case WM_CHAR:
        case WM_RBUTTONDBLCLK:
        case WM_MOUSEHOVER:
            handled = 1;
            break;
        case WM_NCACTIVATE:
            handled = OnNcActivate(static_cast<BOOL>(wParam));
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            // The next paint shows or removes the caret and starts or stops its blinking.
            if (m_caretShown) {
                InvalidateRect(m_caretRect, FALSE);
            }
            break;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            handled = OnKeyDown(static_cast<UINT>(wParam));
            break;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            handled = OnKeyUp(static_cast<UINT>(wParam));
            break;
        case WM_TIMER:
            OnTimer(static_cast<UINT>(wParam));
            return 0;
        case WM_MOUSEMOVE:
            handled = OnMouseMove(static_cast<UINT>(wParam), PointOf(lParam));
            break;
        case WM_MOUSELEAVE:
            handled = OnMouseLeave();
            break;
        case WM_LBUTTONDOWN:
            handled = OnLButtonDown(static_cast<UINT>(wParam), PointOf(lParam));
            break;
        case WM_LBUTTONUP:
            handled = OnLButtonUp(static_cast<UINT>(wParam), PointOf(lParam));
            break;
        case WM_LBUTTONDBLCLK:
            handled = OnLButtonDblClk(static_cast<UINT>(wParam), PointOf(lParam));
            break;
        case WM_RBUTTONDOWN:
            handled = OnRButtonDown(static_cast<UINT>(wParam), PointOf(lParam));
            break;
        case WM_RBUTTONUP:
            handled = OnRButtonUp(static_cast<UINT>(wParam), PointOf(lParam));
            break;
        case WM_MOUSEWHEEL:
            handled = OnMouseWheel(LOWORD(wParam), GET_WHEEL_DELTA_WPARAM(wParam), PointOf(lParam));
            break;
        case WM_WINDOWPOSCHANGED:
            handled = OnWindowPosChanged();
            break;
        case WM_COMMAND:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
            if (lParam) {
                return P().SendMessage(reinterpret_cast<HWND>(lParam), msg + 0x2000, wParam,
                                       lParam);
            }
            break;
        default:
            break;
    }
    return handled ? 1 : 0;
}

BOOL PaintManager::PreTranslateMessage(MSG* msg) {
    if (!msg || msg->hwnd != m_hwnd) {
        return 0;
    }
    if ((msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN) && msg->wParam == VK_TAB) {
        const UINT mod = CurrentModifier();
        MControl* target = nullptr;
        if (mod == 0) {
            target = GetNextFocusableControl();
        } else if (mod == 16) {
            target = GetPrevFocusableControl();
        } else {
            return 0;
        }
        if (target && target != m_focus) {
            SetFocusControl(target);
            return 1;
        }
    }
    return 0;
}

// ---------------------------------------------------------------- painting

CRect PaintManager::GetClientRect() const {
    CRect r;
    if (m_hwnd) {
        P().GetClientRect(m_hwnd, r);
    }
    return r;
}

CRect PaintManager::GetWindowRect() const {
    CRect r;
    if (m_hwnd) {
        P().GetWindowRect(m_hwnd, r);
    }
    return r;
}

void PaintManager::Invalidate() {
    InvalidateRect(GetClientRect(), TRUE);
}

void PaintManager::InvalidateRect(CRect rect, BOOL erase) {
    if (!m_hwnd) {
        return;
    }
    if (m_layered) {
        // Layered windows are pushed whole; one request is enough until it is served.
        if (!m_layeredPending.exchange(true)) {
            if (!P().PostMessage(m_hwnd, WM_QUORL_LAYEREDPAINT, 0, 0)) {
                m_layeredPending = false;
            }
        }
        return;
    }
    P().InvalidateRect(m_hwnd, &rect, erase);
}

// The background is a copy, so that it outlives the image cache's entry; a missing image
// leaves the one there is.
static BOOL TakeBackground(std::unique_ptr<Bitmap>& background, ImgResInfo* info) {
    if (!info || !info->GetImage()) {
        return 0;
    }
    background = std::make_unique<Bitmap>(info->GetImage()->GetBitmap());
    return 1;
}

BOOL PaintManager::LoadBKImage(CString file) {
    return TakeBackground(m_background, m_resources.AddImgResInfo(file, 1));
}

BOOL PaintManager::LoadBKImage(UINT id, CString type) {
    return TakeBackground(m_background, m_resources.AddImgResInfo(id, type, 1, TRUE));
}

void PaintManager::ServePendingStale() {
    std::vector<CRect> pending;
    {
        std::lock_guard guard(m_pendingLock);
        pending.swap(m_pendingStale);
    }
    if (pending.empty()) {
        return;
    }
    // The requesting control is not known any more: every overlapping control re-captures.
    auto walk = [&](std::recursive_mutex& lock, std::vector<MControl*>& list) {
        std::lock_guard guard(lock);
        for (MControl* c : list) {
            if (!c || !c->IsVisible()) {
                continue;
            }
            for (const CRect& r : pending) {
                if (Intersects(c->GetRect(), r)) {
                    c->SetUpdate(FALSE, m_fillColour);
                    break;
                }
            }
        }
    };
    walk(m_areaLock, m_areas);
    walk(m_controlLock, m_controls);
}

void PaintManager::PaintSurface(Canvas& canvas, const CRect& update) {
    ServePendingStale();
    const CRect client(0, 0, canvas.Width(), canvas.Height());
    if (m_layered) {
        canvas.ClearRect(update, Color(0));
    }
    if (m_background && m_background->IsValid()) {
        if (m_backMode == BACK_MODE_FRAME) {
            canvas.DrawImageNine(*m_background, client, m_background->Bounds(), m_backFrame);
        } else {
            canvas.DrawImage(*m_background, m_background->Bounds());
        }
    } else {
        canvas.ClearRect(client, Color(ColorrefToArgb(m_borderColour, 254)));
        CRect inner = client;
        inner.DeflateRect(1, 1);
        canvas.ClearRect(inner, Color(ColorrefToArgb(m_fillColour, 254)));
    }
    const CRect clip = m_layered ? client : update;
    {
        std::lock_guard guard(m_areaLock);
        for (MControl* c : m_areas) {
            if (c) {
                c->Draw(canvas, clip);
            }
        }
    }
    {
        std::lock_guard guard(m_controlLock);
        for (MControl* c : m_controls) {
            if (c) {
                c->Draw(canvas, clip);
            }
        }
    }
    DrawCaret(canvas, update);
    if (m_layered) {
        // Text drawn without alpha leaves coloured pixels of alpha 0; make them opaque.
        if (Bitmap* surface = canvas.GetBitmap()) {
            CRect r;
            if (r.IntersectRect(update, surface->Bounds())) {
                std::uint32_t* bits = surface->Bits();
                const int stride = surface->Stride() / 4;
                for (int y = r.top; y < r.bottom; ++y) {
                    for (int x = r.left; x < r.right; ++x) {
                        std::uint32_t& px = bits[y * stride + x];
                        if ((px >> 24) == 0 && (px & 0x00FFFFFF) != 0) {
                            px |= 0xFF000000;
                        }
                    }
                }
                surface->MarkDirty();
            }
        }
    }
    if (!m_messageText.IsEmpty()) {
        DrawMessage(canvas);
    }
}

void PaintManager::DrawMessage(Canvas& canvas) {
    canvas.FillRect(m_messageRect, Color(0xFF141414));
    canvas.DrawRectangle(m_messageRect, Color(0xFF6D6D6D), 2.0f);
    m_messageFace = Manager::GetFontName();
    const Font font(m_messageFace, m_messageFontSize);
    const UINT format = DT_CENTER | DT_WORDBREAK;
    const CSize size = canvas.MeasureText(m_messageText, font, format, m_messageRect.Width());
    CRect text = m_messageRect;
    text.top = m_messageRect.top + (m_messageRect.Height() - size.cy) / 2;
    text.bottom = text.top + size.cy;
    const BYTE alpha = static_cast<BYTE>(std::clamp(m_messageAlpha, 0, 255));
    canvas.DrawText(m_messageText, text, font, Color(static_cast<ARGB>(alpha) << 24 | 0xFFFFFF),
                    format);
}

BOOL PaintManager::OnPaint(PaintContext* context) {
    if (!context || !context->canvas || !m_hwnd || P().IsIconic(m_hwnd)) {
        return 0;
    }
    const CRect update = context->update;
    if (update.IsRectEmpty()) {
        return 0;
    }
    const CSize size = GetClientSize();
    Bitmap surface(size.cx, size.cy);
    if (!surface.IsValid()) {
        return 0;
    }
    {
        Canvas canvas(surface);
        PaintSurface(canvas, update);
    }
    if (m_layered) {
        P().UpdateLayeredWindow(m_hwnd, surface, nullptr);
    } else {
        context->canvas->CopyBitmap(surface, update, update.left, update.top);
    }
    if (m_paintPauseMs > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(m_paintPauseMs));
    }
    return 1;
}

void PaintManager::PaintLayered() {
    m_layeredPending = false;
    if (!m_hwnd || !m_layered) {
        return;
    }
    const CSize size = GetClientSize();
    Bitmap surface(size.cx, size.cy);
    if (!surface.IsValid()) {
        return;
    }
    {
        Canvas canvas(surface);
        PaintSurface(canvas, surface.Bounds());
    }
    P().UpdateLayeredWindow(m_hwnd, surface, nullptr);
}

// ---------------------------------------------------------------- controls

MControl* PaintManager::CreateControl(UINT kind, MObject* parent, const wchar_t* className, UINT id,
                                      CRect rect, const wchar_t* text, int flag1, int flag2) {
    MControl* control =
        ControlRegistry::Window().Make(className, parent, id, rect, text, flag1, flag2);
    if (!control) {
        return nullptr;
    }
    control->SetManager(this);
    if (kind == 0) {
        std::lock_guard guard(m_areaLock);
        m_areas.push_back(control);
    } else if (kind == 1) {
        std::lock_guard guard(m_controlLock);
        m_controls.push_back(control);
    }
    return control;
}

MControl* PaintManager::CreateControl(MObject* parent, const wchar_t* className, UINT id,
                                      CRect rect, const wchar_t* text, int flag1, int flag2) {
    return CreateControl(1, parent, className, id, rect, text, flag1, flag2);
}

MControl* PaintManager::CreateArea(MObject* parent, const wchar_t* className, UINT id, CRect rect,
                                   const wchar_t* text, int flag1, int flag2) {
    return CreateControl(0, parent, className, id, rect, text, flag1, flag2);
}

MControl* PaintManager::AddControl(MControl* control) {
    if (!control) {
        return nullptr;
    }
    control->SetManager(this);
    std::lock_guard guard(m_controlLock);
    m_controls.push_back(control);
    return control;
}

MControl* PaintManager::AddArea(MControl* control) {
    if (!control) {
        return nullptr;
    }
    control->SetManager(this);
    std::lock_guard guard(m_areaLock);
    m_areas.push_back(control);
    return control;
}

MControl* PaintManager::GetControl(UINT id) {
    if (MControl* found = MControl::FindControlIn(m_controlLock, m_controls, id)) {
        return found;
    }
    return MControl::FindControlIn(m_areaLock, m_areas, id);
}

BOOL PaintManager::RemoveControl(MControl* control) {
    if (!control) {
        return 0;
    }
    {
        std::lock_guard guard(m_controlLock);
        auto it = std::find(m_controls.begin(), m_controls.end(), control);
        if (it == m_controls.end()) {
            return 0;
        }
        m_controls.erase(it);
    }
    std::vector<MControl*> doomed{control};
    Bury(doomed);
    return 1;
}

void PaintManager::ClearAreaControls() {
    std::vector<MControl*> doomed;
    {
        std::lock_guard guard(m_areaLock);
        doomed.swap(m_areas);
    }
    Bury(doomed);
}

void PaintManager::ClearControls() {
    std::vector<MControl*> doomed;
    {
        std::lock_guard guard(m_controlLock);
        doomed.swap(m_controls);
    }
    Bury(doomed);
}

void PaintManager::Bury(std::vector<MControl*>& doomed) {
    // A handler may destroy the window under a control that is still running.
    for (MControl* c : doomed) {
        if (m_dispatchDepth > 0) {
            std::vector<MControl*> tree;
            c->CollectTree(tree);
            for (MControl* t : tree) {
                ForgetControl(t);
            }
            m_graveyard.push_back(c);
        } else {
            MControl::DeleteControl(c);
        }
    }
}

void PaintManager::ClearAllControls() {
    ClearAreaControls();
    ClearControls();
}

void PaintManager::ForgetControl(MControl* control, bool parentToo) {
    if (m_hover == control) {
        m_hover = nullptr;
        m_leftPressed = 0;
        m_rightPressed = 0;
        if (m_captured) {
            ReleaseCapture();
        }
    }
    if (m_focus == control) {
        m_focus = nullptr;
    }
    if (m_caretOwner == control) {
        m_caretOwner = nullptr;
    }
    if (control && m_tooltipOwner != 0 &&
        m_tooltipOwner == static_cast<int>(control->GetControlID())) {
        ClearTooltip();
    }
    {
        // Waits for a running animation pass, which may be inside this control.
        std::lock_guard guard(m_animationLock);
        m_animated.erase(std::remove(m_animated.begin(), m_animated.end(), control),
                         m_animated.end());
    }
    KillTimer(control);
    // A parent control may hold it as its mouse child.
    if (MControl* parent = control && parentToo ? control->GetParentControl() : nullptr) {
        parent->ForgetChild(control);
    }
}

LRESULT PaintManager::OnControlUpdate(CRect rect, BOOL update, MControl* control) {
    if (!control) {
        return 0;
    }
    CRect dirty = rect;
    if (update) {
        control->SetUpdate(FALSE, m_fillColour);
    }
    if (m_initialised && std::this_thread::get_id() != m_uiThread) {
        {
            std::lock_guard guard(m_pendingLock);
            m_pendingStale.push_back(rect);
        }
        InvalidateRect(rect, FALSE);
        return 0;
    }
    if (m_initialised) {
        bool met = false;
        auto walk = [&](std::recursive_mutex& lock, std::vector<MControl*>& list) {
            std::lock_guard guard(lock);
            for (MControl* c : list) {
                if (!c) {
                    continue;
                }
                if (!met) {
                    met = c == control;
                    continue;
                }
                if (c->IsVisible() && Intersects(c->GetRect(), rect)) {
                    dirty |= c->GetRect();
                    c->SetUpdate(FALSE, m_fillColour);
                }
            }
        };
        walk(m_areaLock, m_areas);
        walk(m_controlLock, m_controls);
    }
    InvalidateRect(dirty, FALSE);
    return 0;
}

// ---------------------------------------------------------------- focus and input

void PaintManager::SetFocusControl(MControl* control) {
    if (control == m_focus) {
        return;
    }
    if (m_focus) {
        m_focus->SetControlFocus(0);
    }
    m_focus = control;
    if (control) {
        control->SetControlFocus(1);
    }
    if (m_caretShown) {
        InvalidateRect(m_caretRect, FALSE);
    }
}

namespace {

bool Focusable(MControl* c) {
    return c && c->IsVisible() && c->IsEnabled() && c->IsTabStop();
}

}  // namespace

MControl* PaintManager::GetNextFocusableControl() {
    std::lock_guard guard(m_controlLock);
    auto start = std::find(m_controls.begin(), m_controls.end(), m_focus);
    if (m_focus && start != m_controls.end()) {
        for (auto it = start + 1; it != m_controls.end(); ++it) {
            if (Focusable(*it)) {
                return *it;
            }
        }
    }
    for (MControl* c : m_controls) {
        if (Focusable(c)) {
            return c;
        }
    }
    return nullptr;
}

MControl* PaintManager::GetPrevFocusableControl() {
    std::lock_guard guard(m_controlLock);
    auto start = std::find(m_controls.rbegin(), m_controls.rend(), m_focus);
    if (m_focus && start != m_controls.rend()) {
        for (auto it = start + 1; it != m_controls.rend(); ++it) {
            if (Focusable(*it)) {
                return *it;
            }
        }
    }
    for (auto it = m_controls.rbegin(); it != m_controls.rend(); ++it) {
        if (Focusable(*it)) {
            return *it;
        }
    }
    return nullptr;
}

void PaintManager::SetCapture() {
    if (m_hwnd) {
        P().SetCapture(m_hwnd);
        m_captured = 1;
    }
}

void PaintManager::ReleaseCapture() {
    if (m_captured) {
        P().ReleaseCapture();
    }
    m_captured = 0;
}

void PaintManager::SetCursorByName(const wchar_t* name) {
    if (!m_hwnd || !name) {
        return;
    }
    CursorShape shape = CursorShape::Arrow;
    if (name == CURSOR_WAIT) {
        shape = CursorShape::Wait;
    } else if (name == CURSOR_CROSS) {
        shape = CursorShape::Cross;
    } else if (name == CURSOR_SIZEWE) {
        shape = CursorShape::SizeWE;
    } else if (name == CURSOR_SIZENS) {
        shape = CursorShape::SizeNS;
    } else if (name == CURSOR_HAND) {
        shape = CursorShape::Hand;
    }
    P().SetCursor(m_hwnd, shape);
}

BOOL PaintManager::OnMouseMove(UINT flags, CPoint pt) {
    if (!m_tracking) {
        m_tracking = m_hwnd && P().TrackMouseEvent(m_hwnd, TME_LEAVE | TME_HOVER, 400) ? 1 : 0;
    }
    // A drag starts once the pointer is more than 2 pixels away from the press, either way.
    if (m_dragPending && (flags & MK_LBUTTON) &&
        (std::abs(pt.x - m_dragStart.x) > 2 || std::abs(pt.y - m_dragStart.y) > 2)) {
        if (StartDrag()) {
            return 1;
        }
    }
    if (MControl* hover = m_hover) {
        if (hover->PtInRect(pt) && hover->OnCheckMouseResponse(flags, pt) && m_tracking) {
            hover->OnMouseMove(flags, pt);
            return 1;
        }
        ClearTooltip();
    }
    if (m_leftPressed) {
        if (m_hover) {
            m_hover->OnMouseMove(flags, pt);
        }
        return 1;
    }
    if (!m_tracking) {
        m_hover = nullptr;
        return 1;
    }
    MControl* hit = nullptr;
    std::lock_guard guard(m_controlLock);
    for (size_t i = 0; i < m_controls.size(); ++i) {
        MControl* c = m_controls[i];
        if (!c) {
            continue;
        }
        c->OnMouseMove(flags, pt);
        if (i < m_controls.size() && m_controls[i] == c && c->PtInRect(pt) && c->GetRresponse()) {
            hit = c;
        }
    }
    m_hover = hit;
    return 1;
}

BOOL PaintManager::OnMouseLeave() {
    ClearTooltip();
    m_tracking = 0;
    if (!m_leftPressed) {
        if (MControl* hover = m_hover) {
            m_hover = nullptr;
            hover->OnMouseMove(0, CPoint(-1, -1));
        }
        m_hover = nullptr;
        m_leftPressed = 0;
    }
    return 1;
}

BOOL PaintManager::OnLButtonDown(UINT flags, CPoint pt) {
    m_dblClkSeen = 0;
    if (m_focus && m_focus != m_hover) {
        SetFocusControl(nullptr);
    }
    MControl* hover = m_hover;
    if (hover && hover->IsVisible() && hover->GetRresponse() && hover->PtInRect(pt) &&
        hover->OnCheckMouseResponse(flags, pt)) {
        if (hover->IsDragDrop() && hover->IsEnabled()) {
            m_dragBitmap = GetDropBitmap(hover, hover->GetRect());
            m_dragPending = m_dragBitmap ? 1 : 0;
            m_dragStart = pt;
        }
        m_leftPressed = 1;
        SetFocusControl(hover);
        hover->OnLButtonDown(flags, pt);
        if (!m_captured && (!m_hover || m_hover->OnCheckMouseResponse(flags, pt))) {
            SetCapture();
        }
        return 1;
    }
    if (m_dragWindow && m_captionRect.PtInRect(pt) && m_hwnd) {
        ReleaseCapture();
        P().PostMessage(m_hwnd, WM_NCLBUTTONDOWN, 2 /* HTCAPTION */, MAKELPARAM(pt.x, pt.y));
    }
    return 1;
}

BOOL PaintManager::OnLButtonUp(UINT flags, CPoint pt) {
    ReleaseCapture();
    m_leftPressed = 0;
    m_dragPending = 0;
    PassToHover(flags, pt, &MControl::OnLButtonUp);
    m_dblClkSeen = 0;
    return 1;
}

void PaintManager::PassToHover(UINT flags, CPoint pt, BOOL (MControl::*handler)(UINT, CPoint)) {
    MControl* hover = m_hover;
    if (!hover) {
        return;
    }
    if (!hover->IsVisible() || !hover->GetRresponse()) {
        m_hover = nullptr;
        return;
    }
    // A release or double-click outside the control ends its hover.
    const CRect before = hover->GetRect();
    (hover->*handler)(flags, pt);
    if (m_hover == hover && !before.PtInRect(pt)) {
        m_hover = nullptr;
    }
}

BOOL PaintManager::OnLButtonDblClk(UINT flags, CPoint pt) {
    m_dblClkSeen = 1;
    PassToHover(flags, pt, &MControl::OnLButtonDblClk);
    return 1;
}

BOOL PaintManager::OnRButtonDown(UINT flags, CPoint pt) {
    if (m_focus && m_focus != m_hover) {
        SetFocusControl(nullptr);
    }
    MControl* hover = m_hover;
    if (hover && hover->IsVisible() && hover->GetRresponse() && hover->PtInRect(pt) &&
        hover->OnCheckMouseResponse(flags, pt)) {
        m_rightPressed = 1;
        SetFocusControl(hover);
        hover->OnRButtonDown(flags, pt);
        if (!m_captured && (!m_hover || m_hover->OnCheckMouseResponse(flags, pt))) {
            SetCapture();
        }
    }
    return 1;
}

BOOL PaintManager::OnRButtonUp(UINT flags, CPoint pt) {
    ReleaseCapture();
    m_rightPressed = 0;
    PassToHover(flags, pt, &MControl::OnRButtonUp);
    return 1;
}

BOOL PaintManager::OnMouseWheel(UINT, int delta, CPoint screenPt) {
    POINT p = screenPt;
    if (m_hwnd) {
        P().ScreenToClient(m_hwnd, p);
    }
    const CPoint pt(p);
    const int steps = delta / WHEEL_DELTA;
    const UINT direction = steps <= 0 ? 1 : 0;
    BOOL any = 0;
    for (int i = 0; i < std::abs(steps); ++i) {
        if (m_hover && m_hover->OnScroll(1, direction, pt)) {
            any = 1;
            continue;
        }
        EachTopLevel([&](MControl* c) {
            if (c->OnScroll(1, direction, pt)) {
                any = 1;
                return true;
            }
            return false;
        });
    }
    return any;
}

BOOL PaintManager::OnKeyDown(UINT key) {
    const UINT mod = CurrentModifier();
    if (m_hover && m_hover->OnKeyDown(key, 1, mod)) {
        return 1;
    }
    EachTopLevel([&](MControl* c) { return c->OnKeyDown(key, 1, mod) != 0; });
    return 1;
}

void PaintManager::ReleasePressed() {
    MControl* hover = m_hover;
    m_hover = nullptr;
    if (!hover) {
        m_leftPressed = 0;
        return;
    }
    if (m_leftPressed) {
        m_leftPressed = 0;
        hover->OnLButtonUp(0, CPoint(-1, -1));
    } else {
        hover->OnMouseMove(0, CPoint(-1, -1));
    }
}

BOOL PaintManager::OnNcActivate(BOOL active) {
    m_active = active ? 1 : 0;
    if (!active) {
        m_tracking = 0;
        if (m_captured) {
            ReleaseCapture();
        }
        m_dblClkSeen = 0;
        ReleasePressed();
    }
    Invalidate();
    return 1;
}

BOOL PaintManager::OnGetMinMaxInfo(MINMAXINFO* info) {
    if (!info) {
        return 0;
    }
    if (m_minCx > 0 && m_minCy > 0) {
        info->ptMinTrackSize = {m_minCx, m_minCy};
    }
    if (m_maxCx > 0 && m_maxCy > 0) {
        info->ptMaxTrackSize = {m_maxCx, m_maxCy};
        info->ptMaxSize = {m_maxCx, m_maxCy};
    }
    const CRect work = P().GetWorkArea(m_hwnd);
    info->ptMaxPosition = {work.left, work.top};
    info->ptMaxSize = {work.Width(), work.Height()};
    return 1;
}

BOOL PaintManager::OnWindowPosChanged() {
    if (!m_hwnd) {
        return 0;
    }
    const CRect window = GetWindowRect();
    P().SendMessage(m_hwnd, WM_MOVE, 0, MAKELPARAM(window.left, window.top));
    P().SendMessage(m_hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(window.Width(), window.Height()));
    return 1;
}

LRESULT PaintManager::SendMessageW(UINT msg, WPARAM wParam, LPARAM lParam) {
    return m_hwnd ? P().SendMessage(m_hwnd, msg, wParam, lParam) : 0;
}

// ---------------------------------------------------------------- timers

UINT PaintManager::NextTimerId() {
    // 17, 18, ... 239, 0, 1, ...: the manager's own ids and ids still running are skipped.
    for (int tries = 0; tries < 240; ++tries) {
        m_lastTimerId = (m_lastTimerId + 1) % 240;
        const UINT id = m_lastTimerId;
        if (IsManagerTimer(id)) {
            continue;
        }
        const bool used = std::any_of(m_timers.begin(), m_timers.end(),
                                      [&](const ControlTimer& t) { return t.id == id; });
        if (!used) {
            return id;
        }
    }
    return UINT(-1);
}

BOOL PaintManager::SetTimer(MControl* control, UINT key, UINT elapseMs) {
    if (!control || !m_hwnd) {
        return 0;
    }
    std::lock_guard guard(m_timerLock);
    for (ControlTimer& t : m_timers) {
        if (t.control == control && t.hwnd == m_hwnd && t.key == key) {
            if (!t.killed) {
                return 0;
            }
            if (!P().SetTimer(m_hwnd, t.id, elapseMs)) {
                return 0;
            }
            t.killed = false;
            return 1;
        }
    }
    const UINT id = NextTimerId();
    if (id == UINT(-1) || !P().SetTimer(m_hwnd, id, elapseMs)) {
        return 0;
    }
    m_timers.push_back({m_hwnd, key, id, false, control});
    return 1;
}

UINT PaintManager::GetTimerId(MControl* control, UINT key) {
    std::lock_guard guard(m_timerLock);
    for (const ControlTimer& t : m_timers) {
        if (t.control == control && t.key == key) {
            return t.id;
        }
    }
    return UINT(-1);
}

BOOL PaintManager::KillTimer(MControl* control, UINT key) {
    std::lock_guard guard(m_timerLock);
    for (ControlTimer& t : m_timers) {
        if (t.control == control && t.key == key && !t.killed) {
            P().KillTimer(t.hwnd, t.id);
            t.killed = true;
            return 1;
        }
    }
    return 0;
}

BOOL PaintManager::KillTimer(MControl* control) {
    std::lock_guard guard(m_timerLock);
    BOOL any = 0;
    for (auto it = m_timers.begin(); it != m_timers.end();) {
        if (it->control == control) {
            if (!it->killed) {
                P().KillTimer(it->hwnd, it->id);
            }
            it = m_timers.erase(it);
            any = 1;
        } else {
            ++it;
        }
    }
    return any;
}

void PaintManager::ClearTimers() {
    std::lock_guard guard(m_timerLock);
    for (const ControlTimer& t : m_timers) {
        if (!t.killed) {
            P().KillTimer(t.hwnd, t.id);
        }
    }
    m_timers.clear();
}

BOOL PaintManager::OnTimer(UINT id) {
    switch (id) {
        case TIMER_CARET:
            m_caretPhase = !m_caretPhase;
            InvalidateRect(m_caretRect, FALSE);
            return 1;
        case TIMER_PROGRESS:
            m_progressShown += 2;
            if (m_progressShown >= m_progressTarget) {
                m_progressShown = m_progressTarget;
                P().KillTimer(m_hwnd, TIMER_PROGRESS);
                if (m_progressShown >= 100) {
                    P().SetTimer(m_hwnd, TIMER_FADE, 50);
                }
            }
            InvalidateRect(m_messageRect, FALSE);
            return 1;
        case TIMER_FADE:
            m_messageAlpha -= 10;
            if (m_messageAlpha < 20) {
                P().KillTimer(m_hwnd, TIMER_FADE);
                m_messageAlpha = 0;
                m_progressShown = 0;
                m_progressTarget = 0;
                m_messageText.Empty();
                Invalidate();
            } else {
                InvalidateRect(m_messageRect, FALSE);
            }
            return 1;
        case TIMER_IDLE:
            P().KillTimer(m_hwnd, TIMER_IDLE);
            return 1;
        default:
            break;
    }
    // Handlers may kill or set timers: collect the controls first.
    std::vector<MControl*> due;
    {
        std::lock_guard guard(m_timerLock);
        for (const ControlTimer& t : m_timers) {
            if (t.id == id && t.hwnd == m_hwnd && !t.killed) {
                due.push_back(t.control);
            }
        }
    }
    for (MControl* c : due) {
        bool alive;
        {
            std::lock_guard guard(m_timerLock);
            alive = std::any_of(m_timers.begin(), m_timers.end(),
                                [&](const ControlTimer& t) { return t.control == c; });
        }
        if (alive) {
            c->OnTimer();
        }
    }
    return 1;
}

UINT PaintManager::SetMTimer(UINT elapseMs) {
    if (m_animationTimer) {
        CMTimer::KillTimer(m_animationTimer);
    }
    m_animationTimer = CMTimer::SetTimer(elapseMs, CString(), FALSE);
    return m_animationTimer;
}

void PaintManager::KillMTimer(UINT id) {
    CMTimer::KillTimer(id);
    if (id == m_animationTimer) {
        m_animationTimer = 0;
    }
}

void PaintManager::KillMTimer() {
    CMTimer::KillTimer();
    m_animationTimer = 0;
}

void PaintManager::AddMTimer(MControl* control) {
    if (!control) {
        return;
    }
    std::lock_guard guard(m_animationLock);
    if (std::find(m_animated.begin(), m_animated.end(), control) == m_animated.end()) {
        m_animated.push_back(control);
    }
}

void PaintManager::DeleteTimer(MControl* control) {
    std::lock_guard guard(m_animationLock);
    m_animated.erase(std::remove(m_animated.begin(), m_animated.end(), control), m_animated.end());
}

void PaintManager::OnMTimer(UINT id) {
    if (id == 0 || id != m_animationTimer) {
        return;
    }
    std::lock_guard guard(m_animationLock);
    for (MControl* c : m_animated) {
        if (c && c->IsRunTimer() && c->IsVisible() && c->IsParentVisible()) {
            c->OnTimer();
        }
    }
}

// ---------------------------------------------------------------- tooltip, bubble, message

void PaintManager::SetTooltip(const wchar_t* text, CRect rect) {
    if (!text || !*text) {
        if (m_tooltip) {
            m_tooltip->SetText(L"");
            m_tooltip->Activate(FALSE);
        }
        return;
    }
    if (!m_hwnd) {
        return;
    }
    if (!m_tooltip) {
        m_tooltip = std::make_unique<TooltipWnd>(m_hwnd);
    }
    m_tooltip->SetText(text);
    m_tooltip->SetToolRect(rect);
    m_tooltip->Activate(TRUE);
}

void PaintManager::ClearTooltip() {
    if (m_tooltip) {
        m_tooltip->SetText(L"");
        m_tooltip->Activate(FALSE);
    }
    m_tooltipOwner = 0;
}

void PaintManager::SetAirBladderMsg(const wchar_t* text, POINT pt, AIRBLADDER_TYPE type,
                                    AIRBLADDER_MODE mode) {
    if (!m_hwnd) {
        return;
    }
    if (!m_bubble) {
        m_bubble = std::make_unique<MAirBladder>(m_hwnd);
    }
    m_bubble->SetMessage(text ? text : L"", pt, type, mode);
}

BOOL PaintManager::ShowAirBladder(int cmdShow, int ownerId) {
    if (!m_bubble) {
        return 0;
    }
    if (cmdShow == SW_HIDE) {
        if (ownerId != 0 && ownerId != m_bubbleOwner) {
            return 0;
        }
        m_bubbleOwner = 0;
        m_bubble->Show(FALSE);
        return 1;
    }
    if (ownerId != 0) {
        m_bubbleOwner = ownerId;
    }
    m_bubble->Show(TRUE);
    return 1;
}

void PaintManager::SetMessage(CString text, CRect rect, int fontSize) {
    m_messageAlpha = 255;
    m_messageText = text;
    m_messageRect = rect;
    m_messageFontSize = fontSize > 0 ? fontSize : 14;
    m_progressShown = 0;
    m_progressTarget = 0;
    Invalidate();
}

void PaintManager::SetProgress(int percent, CString text, CRect rect) {
    if (percent == m_progressTarget || !m_hwnd) {
        return;
    }
    if (percent < 5) {
        P().KillTimer(m_hwnd, TIMER_FADE);
    }
    m_messageAlpha = 255;
    m_messageText = text;
    m_progressTarget = percent;
    if (rect.IsRectEmpty()) {
        rect = GetClientRect();
        rect.top = rect.bottom - 60;
        rect.bottom -= 2;
    }
    m_messageRect = rect;
    if (m_progressTarget - m_progressShown < 6) {
        m_progressShown = m_progressTarget;
        InvalidateRect(m_messageRect, FALSE);
        if (m_progressShown >= 100) {
            P().SetTimer(m_hwnd, TIMER_FADE, 50);
        }
    } else {
        P().SetTimer(m_hwnd, TIMER_PROGRESS, 10);
    }
}

// ---------------------------------------------------------------- shadow

MShadow& PaintManager::GetShadow() {
    if (!m_shadow) {
        m_shadow = std::make_unique<MShadow>();
    }
    return *m_shadow;
}

void PaintManager::CreateShadow(BOOL show) {
    GetShadow().ShowShadow(show);
    GetShadow().Create(this);
}

void PaintManager::SetShadowShow(BOOL show) {
    GetShadow().ShowShadow(show);
}

void PaintManager::DisableShadow(BOOL disable) {
    GetShadow().DisableShadow(disable);
}

BOOL PaintManager::SetSize(int size) {
    return GetShadow().SetSize(size);
}

BOOL PaintManager::SetSharpness(UINT sharpness) {
    return GetShadow().SetSharpness(sharpness);
}

BOOL PaintManager::SetDarkness(UINT darkness) {
    return GetShadow().SetDarkness(darkness);
}

BOOL PaintManager::SetPosition(int x, int y) {
    return GetShadow().SetPosition(x, y);
}

BOOL PaintManager::SetShadowColor(DWORD colour) {
    return GetShadow().SetColor(colour);
}

BOOL PaintManager::SetShadowImage(const wchar_t* file, CRect corner) {
    const bool valid =
        corner.left >= 0 && corner.top >= 0 && corner.right >= 0 && corner.bottom >= 0;
    return valid && GetShadow().SetImage(file) && GetShadow().SetShadowCorner(corner);
}

BOOL PaintManager::SetShadowImage(UINT resourceId, CRect corner) {
    const bool valid =
        corner.left >= 0 && corner.top >= 0 && corner.right >= 0 && corner.bottom >= 0;
    return valid && GetShadow().SetImage(resourceId) && GetShadow().SetShadowCorner(corner);
}

// ---------------------------------------------------------------- caret

void PaintManager::CreateCaret(int width, int height) {
    m_caretRect = CRect(m_caretRect.left, m_caretRect.top, m_caretRect.left + width,
                        m_caretRect.top + height);
}

void PaintManager::StartCaretTimer() {
    const UINT blink = P().GetCaretBlinkTime();
    m_caretTimerOn = blink > 0 && m_hwnd && P().SetTimer(m_hwnd, TIMER_CARET, blink) ? 1 : 0;
}

void PaintManager::StopCaretTimer() {
    if (m_caretTimerOn && m_hwnd) {
        P().KillTimer(m_hwnd, TIMER_CARET);
    }
    m_caretTimerOn = 0;
}

void PaintManager::ShowCaret(BOOL show) {
    if (!m_hwnd) {
        return;
    }
    StopCaretTimer();
    m_caretShown = show ? 1 : 0;
    m_caretPhase = m_caretShown;
    if (show) {
        StartCaretTimer();
    }
    InvalidateRect(m_caretRect, FALSE);
}

void PaintManager::SetCaretPos(MControl* owner, int x, int y) {
    const CRect old = m_caretRect;
    m_caretRect = CRect(x, y, x + old.Width(), y + old.Height());
    m_caretOwner = owner;
    InvalidateRect(old | m_caretRect, FALSE);
}

void PaintManager::DrawCaret(Canvas& canvas, const CRect& clip) {
    if (!m_caretShown) {
        return;
    }
    // Without the keyboard the caret is neither drawn nor blinking; it comes back with the
    // focus (WM_SETFOCUS repaints it), visible at once.
    if (!m_caretOwner || !m_caretOwner->IsFocused() || !m_hwnd || P().GetFocus() != m_hwnd) {
        StopCaretTimer();
        m_caretPhase = 1;
        return;
    }
    if (!m_caretTimerOn) {
        StartCaretTimer();
    }
    if (m_caretPhase) {
        CRect r;
        if (r.IntersectRect(m_caretRect, clip)) {
            auto* font = dynamic_cast<MControlFont*>(m_caretOwner);
            const ARGB rgb = (font ? font->GetTextColor().GetValue() : 0xFFFFFFFF) & 0x00FFFFFF;
            canvas.FillRect(r, Color(0xFE000000 | rgb));
        }
    }
}

// ---------------------------------------------------------------- drag and drop

BOOL PaintManager::InitDragDrop() {
    return m_hwnd && P().RegisterDropTarget(m_hwnd, this) ? 1 : 0;
}

std::unique_ptr<Bitmap> PaintManager::GetDropBitmap(MControl* control, const CRect& rect) {
    if (!control) {
        return nullptr;
    }
    if (const Bitmap* own = control->GetControlDropBitmap(); own && own->IsValid()) {
        return std::make_unique<Bitmap>(*own);
    }
    // What the control shows: the window painted off-screen, cut to the control.
    const CSize size = GetClientSize();
    CRect cut;
    if (!cut.IntersectRect(rect, CRect(0, 0, size.cx, size.cy))) {
        return nullptr;
    }
    Bitmap surface(size.cx, size.cy);
    if (!surface.IsValid()) {
        return nullptr;
    }
    {
        Canvas canvas(surface);
        PaintSurface(canvas, surface.Bounds());
    }
    auto picture = std::make_unique<Bitmap>(cut.Width(), cut.Height());
    if (!picture->CopyFrom(surface, cut, 0, 0)) {
        return nullptr;
    }
    return picture;
}

BOOL PaintManager::StartDrag() {
    m_dragPending = 0;
    if (!m_hwnd || !m_dragBitmap) {
        return 0;
    }
    if (!P().BeginDrag(m_hwnd, *m_dragBitmap, DROPEFFECT_COPY | DROPEFFECT_MOVE)) {
        return 0;  // the press goes on as an ordinary one
    }
    // The drag has the pointer now: the release goes to wherever it is dropped.
    m_captured = 0;
    m_leftPressed = 0;
    return 1;
}

DWORD PaintManager::OnDragOver(POINT, DWORD allowed) {
    if (!m_initialised) {
        return DROPEFFECT_NONE;
    }
    return (allowed & DROPEFFECT_COPY) ? DROPEFFECT_COPY : (allowed & DROPEFFECT_MOVE);
}

bool PaintManager::OnDropData(POINT client, DropData& data) {
    if (!m_initialised || !m_hwnd) {
        return false;
    }
    P().SendMessage(m_hwnd, WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
    std::unique_ptr<Bitmap> picture;
    if (data.image.IsValid()) {
        picture = std::make_unique<Bitmap>(std::move(data.image));
    } else if (!data.files.empty()) {
        if (auto image = Image::FromFile(data.files.front())) {
            picture = std::make_unique<Bitmap>(image->GetBitmap());
        }
    }
    if (!picture || !m_hwnd) {
        return false;
    }
    // The previous picture lives until the window has taken the new one.
    std::unique_ptr<Bitmap> previous = std::move(m_dropped);
    m_dropped = std::move(picture);
    P().SendMessage(m_hwnd, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(m_dropped.get()));
    return true;
}

}  // namespace Quorl
