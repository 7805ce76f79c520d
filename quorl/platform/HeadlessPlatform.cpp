#include "quorl/platform/HeadlessPlatform.h"

#include "quorl/platform/HeadlessEdit.h"
#include "quorl/render/Bitmap.h"
#include "quorl/render/Canvas.h"

namespace Quorl {

struct HeadlessPlatform::HeadlessWindow : Window {
    Bitmap surface;
    BYTE alpha = 255;
    bool keepAbove = false;
    CursorShape cursor = CursorShape::Arrow;
    int roundRegion = 0;
    CRect restoreRect;
    int moveDrags = 0;
    HWND below = nullptr;
    std::vector<CSize> icons;
    DropTarget* dropTarget = nullptr;
};

HeadlessPlatform::HeadlessPlatform() = default;
HeadlessPlatform::~HeadlessPlatform() = default;

std::shared_ptr<HeadlessPlatform::HeadlessWindow> HeadlessPlatform::FindHeadless(HWND hwnd) const {
    return std::static_pointer_cast<HeadlessWindow>(Find(hwnd));
}

HWND HeadlessPlatform::CreateWindow(const WindowDesc& desc, WindowProc* proc) {
    auto window = std::make_shared<HeadlessWindow>();
    window->keepAbove = desc.keepAbove;
    window->restoreRect = desc.rect;
    HWND hwnd = AddWindow(window, desc, proc);
    AnnounceCreated(hwnd, desc, proc);
    return hwnd;
}

void HeadlessPlatform::DestroyNative(Window&) {}

BOOL HeadlessPlatform::ShowWindow(HWND hwnd, int cmdShow) {
    auto window = FindHeadless(hwnd);
    if (!window) {
        return FALSE;
    }
    bool wasVisible = IsWindowVisible(hwnd);
    bool zoomed = IsZoomed(hwnd);
    switch (cmdShow) {
        case SW_HIDE:
            DeliverShowState(hwnd, false, IsIconic(hwnd), zoomed);
            if (GetActiveWindow() == hwnd) {
                DeliverActivation(hwnd, false);
            }
            break;
        case SW_MINIMIZE:
        case SW_SHOWMINIMIZED:
        case SW_SHOWMINNOACTIVE:
            DeliverShowState(hwnd, true, true, zoomed);
            if (GetActiveWindow() == hwnd) {
                DeliverActivation(hwnd, false);
            }
            break;
        case SW_MAXIMIZE: {
            CRect rect;
            GetWindowRect(hwnd, rect);
            if (!zoomed) {
                window->restoreRect = rect;
            }
            DeliverShowState(hwnd, true, false, true);
            DeliverGeometry(hwnd, GetWorkArea(hwnd));
            break;
        }
        case SW_RESTORE:
        case SW_SHOWNORMAL:
            if (zoomed) {
                DeliverShowState(hwnd, true, false, false);
                DeliverGeometry(hwnd, window->restoreRect);
            } else {
                DeliverShowState(hwnd, true, false, false);
            }
            break;
        default:
            DeliverShowState(hwnd, true, IsIconic(hwnd), zoomed);
            break;
    }
    bool activates = cmdShow == SW_SHOW || cmdShow == SW_SHOWNORMAL || cmdShow == SW_RESTORE ||
                     cmdShow == SW_MAXIMIZE;
    if (activates && GetActiveWindow() != hwnd && IsWindowEnabled(hwnd)) {
        SetForegroundWindow(hwnd);
    }
    return wasVisible ? TRUE : FALSE;
}

BOOL HeadlessPlatform::MoveWindow(HWND hwnd, const CRect& screenRect, BOOL repaint) {
    if (!IsWindow(hwnd)) {
        return FALSE;
    }
    DeliverGeometry(hwnd, screenRect);
    if (repaint) {
        InvalidateRect(hwnd, nullptr, FALSE);
    }
    return TRUE;
}

BOOL HeadlessPlatform::SetForegroundWindow(HWND hwnd) {
    if (!IsWindow(hwnd)) {
        return FALSE;
    }
    HWND old = GetActiveWindow();
    if (old == hwnd) {
        return TRUE;
    }
    if (old) {
        DeliverActivation(old, false);
        DeliverFocus(old, false);
    }
    DeliverActivation(hwnd, true);
    DeliverFocus(hwnd, true);
    return TRUE;
}

BOOL HeadlessPlatform::SetWindowText(HWND hwnd, const std::wstring& title) {
    auto window = FindHeadless(hwnd);
    if (!window) {
        return FALSE;
    }
    std::lock_guard lock(window->mutex);
    window->title = title;
    return TRUE;
}

BOOL HeadlessPlatform::SetKeepAbove(HWND hwnd, BOOL above) {
    auto window = FindHeadless(hwnd);
    if (!window) {
        return FALSE;
    }
    window->keepAbove = above != FALSE;
    return TRUE;
}

HWND HeadlessPlatform::SetCapture(HWND hwnd) {
    HWND old = capture_;
    if (IsWindow(hwnd)) {
        capture_ = hwnd;
    }
    return old;
}

BOOL HeadlessPlatform::ReleaseCapture() {
    HWND old = capture_;
    capture_ = nullptr;
    if (old) {
        PostMessage(old, WM_CAPTURECHANGED, 0, 0);
    }
    return TRUE;
}

BOOL HeadlessPlatform::SetCursor(HWND hwnd, CursorShape shape) {
    auto window = FindHeadless(hwnd);
    if (!window) {
        return FALSE;
    }
    window->cursor = shape;
    return TRUE;
}

BOOL HeadlessPlatform::GetCursorPos(POINT& pt) const {
    pt = cursor_;
    return TRUE;
}

CRect HeadlessPlatform::GetWorkArea(HWND) const {
    return workArea_;
}

BOOL HeadlessPlatform::UpdateWindow(HWND hwnd) {
    auto window = FindHeadless(hwnd);
    if (!window) {
        return FALSE;
    }
    PaintWindow(*window);
    return TRUE;
}

void HeadlessPlatform::PaintWindow(Window& base) {
    auto& window = static_cast<HeadlessWindow&>(base);
    CRect update;
    CRect client;
    {
        std::lock_guard lock(window.mutex);
        update = window.invalid;
        window.invalid = CRect();
        client = CRect(0, 0, window.rect.Width(), window.rect.Height());
    }
    if (update.IsRectEmpty() || client.IsRectEmpty() || window.layered || !window.proc) {
        return;
    }
    if (window.surface.Width() != client.Width() || window.surface.Height() != client.Height()) {
        // A new size starts from a blank surface, as a resized native window does.
        Bitmap resized(client.Width(), client.Height());
        if (window.surface.IsValid()) {
            resized.CopyFrom(window.surface, window.surface.Bounds(), 0, 0);
        }
        window.surface = std::move(resized);
    }
    Canvas canvas(window.surface);
    canvas.IntersectClip(update);
    PaintContext context{update, &canvas};
    window.proc->HandleMessage(window.hwnd, WM_PAINT, 0, reinterpret_cast<LPARAM>(&context));
}

BOOL HeadlessPlatform::UpdateLayeredWindow(HWND hwnd, const Bitmap& surface, const POINT* topLeft) {
    auto window = FindHeadless(hwnd);
    if (!window || !window->layered || !surface.IsValid()) {
        return FALSE;
    }
    window->surface = surface;
    CRect rect;
    GetWindowRect(hwnd, rect);
    POINT origin = topLeft ? *topLeft : POINT{rect.left, rect.top};
    DeliverGeometry(
        hwnd, CRect(origin.x, origin.y, origin.x + surface.Width(), origin.y + surface.Height()));
    return TRUE;
}

BOOL HeadlessPlatform::SetWindowAlpha(HWND hwnd, BYTE alpha) {
    auto window = FindHeadless(hwnd);
    if (!window) {
        return FALSE;
    }
    window->alpha = alpha;
    return TRUE;
}

BOOL HeadlessPlatform::SetWindowRoundRegion(HWND hwnd, int diameter) {
    auto window = FindHeadless(hwnd);
    if (!window) {
        return FALSE;
    }
    window->roundRegion = diameter < 0 ? 0 : diameter;
    return TRUE;
}

HWND HeadlessPlatform::SetFocus(HWND hwnd) {
    HWND old = GetFocus();
    if (!IsWindow(hwnd) || old == hwnd) {
        return old;
    }
    if (old) {
        DeliverFocus(old, false);
    }
    DeliverFocus(hwnd, true);
    return old;
}

std::unique_ptr<NativeEdit> HeadlessPlatform::CreateNativeEdit(HWND host,
                                                               const NativeEditStyle& style,
                                                               NativeEditListener* listener) {
    if (!IsWindow(host)) {
        return nullptr;
    }
    return std::make_unique<HeadlessEdit>(style, listener);
}

BOOL HeadlessPlatform::BeginMoveDrag(HWND hwnd) {
    const BOOL begun = PlatformBase::BeginMoveDrag(hwnd);
    if (auto window = FindHeadless(hwnd); window && begun) {
        ++window->moveDrags;
    }
    return begun;
}

bool HeadlessPlatform::BeginNativeMoveDrag(Window&) {
    return true;  // no desktop to move it: the request is what tests look at
}

BOOL HeadlessPlatform::SetWindowIcon(HWND hwnd, const Bitmap& large, const Bitmap& small) {
    auto window = FindHeadless(hwnd);
    if (!window || !large.IsValid() || !small.IsValid()) {
        return FALSE;
    }
    window->icons = {large.Size(), small.Size()};
    return TRUE;
}

BOOL HeadlessPlatform::RegisterDropTarget(HWND hwnd, DropTarget* target) {
    auto window = FindHeadless(hwnd);
    if (!window) {
        return FALSE;
    }
    window->dropTarget = target;
    return TRUE;
}

BOOL HeadlessPlatform::BeginDrag(HWND hwnd, const Bitmap& image, DWORD allowedEffects) {
    if (!IsWindow(hwnd) || !image.IsValid() || allowedEffects == DROPEFFECT_NONE) {
        return FALSE;
    }
    if (capture_ == hwnd) {
        ReleaseCapture();
    }
    drags_.push_back({hwnd, image.Size(), allowedEffects});
    return TRUE;
}

bool HeadlessPlatform::InjectDrop(HWND hwnd, POINT client, DropData data, DWORD allowed) {
    auto window = FindHeadless(hwnd);
    if (!window || !window->dropTarget) {
        return false;
    }
    cursor_ = client;
    ClientToScreen(hwnd, cursor_);
    if ((window->dropTarget->OnDragOver(client, allowed) & allowed) == 0) {
        window->dropTarget->OnDragLeave();
        return false;
    }
    return window->dropTarget->OnDropData(client, data);
}

BOOL HeadlessPlatform::PlaceBelow(HWND hwnd, HWND reference) {
    auto window = FindHeadless(hwnd);
    if (!window || !IsWindow(reference) || hwnd == reference) {
        return FALSE;
    }
    window->below = reference;
    return TRUE;
}

HWND HeadlessPlatform::GetPlacedBelow(HWND hwnd) const {
    auto window = FindHeadless(hwnd);
    return window ? window->below : nullptr;
}

int HeadlessPlatform::GetMoveDragCount(HWND hwnd) const {
    auto window = FindHeadless(hwnd);
    return window ? window->moveDrags : 0;
}

std::vector<CSize> HeadlessPlatform::GetIconSizes(HWND hwnd) const {
    auto window = FindHeadless(hwnd);
    return window ? window->icons : std::vector<CSize>{};
}

const Bitmap* HeadlessPlatform::GetSurface(HWND hwnd) const {
    auto window = FindHeadless(hwnd);
    return window ? &window->surface : nullptr;
}

BYTE HeadlessPlatform::GetWindowAlpha(HWND hwnd) const {
    auto window = FindHeadless(hwnd);
    return window ? window->alpha : 0;
}

bool HeadlessPlatform::IsKeptAbove(HWND hwnd) const {
    auto window = FindHeadless(hwnd);
    return window && window->keepAbove;
}

CursorShape HeadlessPlatform::GetCursor(HWND hwnd) const {
    auto window = FindHeadless(hwnd);
    return window ? window->cursor : CursorShape::Arrow;
}

int HeadlessPlatform::GetRoundRegion(HWND hwnd) const {
    auto window = FindHeadless(hwnd);
    return window ? window->roundRegion : 0;
}

void HeadlessPlatform::InjectMouseMove(HWND hwnd, POINT client, WPARAM keys) {
    cursor_ = client;
    ClientToScreen(hwnd, cursor_);
    DeliverMouse(hwnd, WM_MOUSEMOVE, keys, client);
}

void HeadlessPlatform::InjectButton(HWND hwnd, UINT msg, POINT client, WPARAM keys) {
    cursor_ = client;
    ClientToScreen(hwnd, cursor_);
    DeliverMouse(hwnd, msg, keys, client);
}

void HeadlessPlatform::InjectWheel(HWND hwnd, int delta, POINT client, WPARAM keys) {
    POINT screen = client;
    ClientToScreen(hwnd, screen);
    cursor_ = screen;
    DeliverWheel(hwnd, delta, keys, screen);
}

void HeadlessPlatform::InjectPointerLeave(HWND hwnd) {
    DeliverPointerLeave(hwnd);
}

void HeadlessPlatform::InjectKey(HWND hwnd, int vk, bool down, char32_t ch) {
    DeliverKey(hwnd, vk, down, ch, 0);
}

void HeadlessPlatform::InjectActivation(HWND hwnd, bool active) {
    DeliverActivation(hwnd, active);
}

void HeadlessPlatform::InjectCloseRequest(HWND hwnd) {
    DeliverCloseRequest(hwnd);
}

}  // namespace Quorl
