#include "quorl/platform/PlatformBase.h"

#include <algorithm>

#include "quorl/platform/VirtualKeys.h"

namespace Quorl {

struct PlatformBase::Queue::Sent {
    MSG msg;
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    LRESULT result = 0;
};

namespace {

constexpr UINT kMinimumTimer = 10;
// The pointer may wander this far from where it came to rest and still count as resting.
constexpr int kHoverSlack = 2;

DWORD NowMs() {
    return static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                  std::chrono::steady_clock::now().time_since_epoch())
                                  .count());
}

CRect Union(const CRect& a, const CRect& b) {
    if (a.IsRectEmpty()) {
        return b;
    }
    if (b.IsRectEmpty()) {
        return a;
    }
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

CRect Intersection(const CRect& a, const CRect& b) {
    CRect r(std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom));
    return r.IsRectEmpty() ? CRect() : r;
}

int GenericKey(int vk) {
    switch (vk) {
        case VK_LSHIFT:
        case VK_RSHIFT:
            return VK_SHIFT;
        case VK_LCONTROL:
        case VK_RCONTROL:
            return VK_CONTROL;
        case VK_LMENU:
        case VK_RMENU:
            return VK_MENU;
        default:
            return vk;
    }
}

}  // namespace

PlatformBase::PlatformBase() = default;
PlatformBase::~PlatformBase() = default;

std::shared_ptr<PlatformBase::Queue> PlatformBase::QueueOfThisThread() {
    std::lock_guard lock(registryMutex_);
    auto& queue = queues_[std::this_thread::get_id()];
    if (!queue) {
        queue = std::make_shared<Queue>();
        queue->thread = std::this_thread::get_id();
    }
    return queue;
}

HWND PlatformBase::AddWindow(std::shared_ptr<Window> window, const WindowDesc& desc,
                             WindowProc* proc) {
    auto queue = QueueOfThisThread();
    auto added = window;
    HWND hwnd = RegisterWindow(std::move(window), desc, proc, queue);
    // The first size, as every later change of it: a window lays itself out on WM_SIZE.
    Post(*added, WM_SIZE, SIZE_RESTORED, MAKELPARAM(desc.rect.Width(), desc.rect.Height()));
    return hwnd;
}

void PlatformBase::AnnounceCreated(HWND hwnd, const WindowDesc& desc, WindowProc* proc) {
    if (proc) {
        proc->HandleMessage(hwnd, WM_NCCREATE, 0, 0);
        proc->HandleMessage(hwnd, WM_CREATE, 0, 0);
    }
    if (desc.visible) {
        ShowWindow(hwnd, SW_SHOW);
    }
}

HWND PlatformBase::RegisterWindow(std::shared_ptr<Window> window, const WindowDesc& desc,
                                  WindowProc* proc, std::shared_ptr<Queue> queue) {
    std::lock_guard lock(registryMutex_);
    HWND hwnd = reinterpret_cast<HWND>(nextHandle_);
    nextHandle_ += 4;
    window->hwnd = hwnd;
    window->proc = proc;
    window->queue = queue;
    window->kind = desc.kind;
    window->owner = desc.owner;
    window->layered = desc.layered;
    {
        std::lock_guard windowLock(window->mutex);
        window->rect = desc.rect;
        window->title = desc.title;
    }
    windows_[hwnd] = std::move(window);
    return hwnd;
}

std::shared_ptr<PlatformBase::Window> PlatformBase::Find(HWND hwnd) const {
    if (!hwnd) {
        return nullptr;
    }
    std::lock_guard lock(registryMutex_);
    auto it = windows_.find(hwnd);
    return it == windows_.end() ? nullptr : it->second;
}

std::vector<std::shared_ptr<PlatformBase::Window>> PlatformBase::WindowsOfThisThread() const {
    std::vector<std::shared_ptr<Window>> result;
    std::lock_guard lock(registryMutex_);
    for (const auto& [hwnd, window] : windows_) {
        if (window->queue->thread == std::this_thread::get_id()) {
            result.push_back(window);
        }
    }
    std::sort(result.begin(), result.end(), [](const auto& a, const auto& b) {
        return reinterpret_cast<std::uintptr_t>(a->hwnd) <
               reinterpret_cast<std::uintptr_t>(b->hwnd);
    });
    return result;
}

BOOL PlatformBase::DestroyWindow(HWND hwnd) {
    auto window = Find(hwnd);
    if (!window || window->destroying) {
        return FALSE;
    }
    window->destroying = true;
    if (moveDrag_.hwnd == hwnd) {
        moveDrag_ = {};
    }
    // Owned windows go first, as their owner's lifetime bounds theirs.
    std::vector<HWND> owned;
    {
        std::lock_guard lock(registryMutex_);
        for (const auto& [h, w] : windows_) {
            if (w->owner == hwnd) {
                owned.push_back(h);
            }
        }
    }
    for (HWND h : owned) {
        DestroyWindow(h);
    }
    if (window->proc) {
        window->proc->HandleMessage(hwnd, WM_DESTROY, 0, 0);
        window->proc->HandleMessage(hwnd, WM_NCDESTROY, 0, 0);
    }
    DestroyNative(*window);
    {
        std::lock_guard lock(window->queue->mutex);
        auto& timers = window->queue->timers;
        timers.erase(std::remove_if(timers.begin(), timers.end(),
                                    [hwnd](const Queue::Timer& t) { return t.hwnd == hwnd; }),
                     timers.end());
    }
    {
        std::lock_guard lock(registryMutex_);
        windows_.erase(hwnd);
    }
    window->proc = nullptr;
    if (capture_ == hwnd) {
        capture_ = nullptr;
    }
    if (active_ == hwnd) {
        active_ = nullptr;
    }
    if (focus_ == hwnd) {
        focus_ = nullptr;
    }
    return TRUE;
}

BOOL PlatformBase::IsWindow(HWND hwnd) const {
    return Find(hwnd) != nullptr;
}

BOOL PlatformBase::IsWindowVisible(HWND hwnd) const {
    auto window = Find(hwnd);
    if (!window) {
        return FALSE;
    }
    std::lock_guard lock(window->mutex);
    return window->visible;
}

BOOL PlatformBase::IsIconic(HWND hwnd) const {
    auto window = Find(hwnd);
    if (!window) {
        return FALSE;
    }
    std::lock_guard lock(window->mutex);
    return window->iconic;
}

BOOL PlatformBase::IsZoomed(HWND hwnd) const {
    auto window = Find(hwnd);
    if (!window) {
        return FALSE;
    }
    std::lock_guard lock(window->mutex);
    return window->zoomed;
}

HWND PlatformBase::GetOwner(HWND hwnd) const {
    auto window = Find(hwnd);
    return window ? window->owner : nullptr;
}

BOOL PlatformBase::GetWindowRect(HWND hwnd, CRect& rect) const {
    auto window = Find(hwnd);
    if (!window) {
        return FALSE;
    }
    std::lock_guard lock(window->mutex);
    rect = window->rect;
    return TRUE;
}

BOOL PlatformBase::GetClientRect(HWND hwnd, CRect& rect) const {
    auto window = Find(hwnd);
    if (!window) {
        return FALSE;
    }
    std::lock_guard lock(window->mutex);
    rect = CRect(0, 0, window->rect.Width(), window->rect.Height());
    return TRUE;
}

BOOL PlatformBase::ClientToScreen(HWND hwnd, POINT& pt) const {
    CRect rect;
    if (!GetWindowRect(hwnd, rect)) {
        return FALSE;
    }
    pt.x += rect.left;
    pt.y += rect.top;
    return TRUE;
}

BOOL PlatformBase::ScreenToClient(HWND hwnd, POINT& pt) const {
    CRect rect;
    if (!GetWindowRect(hwnd, rect)) {
        return FALSE;
    }
    pt.x -= rect.left;
    pt.y -= rect.top;
    return TRUE;
}

HWND PlatformBase::GetActiveWindow() const {
    return active_;
}

BOOL PlatformBase::EnableWindow(HWND hwnd, BOOL enable) {
    auto window = Find(hwnd);
    if (!window) {
        return FALSE;
    }
    bool wasDisabled;
    {
        std::lock_guard lock(window->mutex);
        wasDisabled = !window->enabled;
        window->enabled = enable != FALSE;
    }
    if (wasDisabled == (enable != FALSE)) {
        PostMessage(hwnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
    }
    return wasDisabled ? TRUE : FALSE;
}

BOOL PlatformBase::IsWindowEnabled(HWND hwnd) const {
    auto window = Find(hwnd);
    if (!window) {
        return FALSE;
    }
    std::lock_guard lock(window->mutex);
    return window->enabled;
}

std::wstring PlatformBase::GetWindowText(HWND hwnd) const {
    auto window = Find(hwnd);
    if (!window) {
        return {};
    }
    std::lock_guard lock(window->mutex);
    return window->title;
}

HWND PlatformBase::GetCapture() const {
    return capture_;
}

HWND PlatformBase::GetFocus() const {
    return focus_;
}

BOOL PlatformBase::TrackMouseEvent(HWND hwnd, DWORD flags, UINT hoverMs) {
    auto window = Find(hwnd);
    if (!window) {
        return FALSE;
    }
    DWORD kinds = flags & (TME_HOVER | TME_LEAVE);
    if (flags & TME_CANCEL) {
        window->trackFlags &= ~kinds;
        if (kinds & TME_HOVER) {
            std::lock_guard lock(window->queue->mutex);
            auto& timers = window->queue->timers;
            timers.erase(
                std::remove_if(timers.begin(), timers.end(),
                               [hwnd](const Queue::Timer& t) { return t.hwnd == hwnd && t.hover; }),
                timers.end());
        }
        return TRUE;
    }
    if (!window->pointerInside) {
        // Armed outside the window: the leave is already due.
        if (kinds & TME_LEAVE) {
            Post(*window, WM_MOUSELEAVE, 0, 0);
        }
        return TRUE;
    }
    window->trackFlags |= kinds;
    window->hoverMs = hoverMs == 0 ? MOUSE_HOVER_TIME : hoverMs;
    if (kinds & TME_HOVER) {
        ArmHover(*window, window->pointer);
    }
    return TRUE;
}

void PlatformBase::ArmHover(Window& window, POINT client) {
    window.hoverAnchor = client;
    Queue& queue = *window.queue;
    std::lock_guard lock(queue.mutex);
    auto due = Clock::now() + std::chrono::milliseconds(window.hoverMs);
    for (auto& timer : queue.timers) {
        if (timer.hwnd == window.hwnd && timer.hover) {
            timer.due = due;
            return;
        }
    }
    queue.timers.push_back({window.hwnd, 0, window.hoverMs, due, true});
}

BOOL PlatformBase::InvalidateRect(HWND hwnd, const CRect* rect, BOOL) {
    auto window = Find(hwnd);
    if (!window) {
        return FALSE;
    }
    {
        std::lock_guard lock(window->mutex);
        CRect client(0, 0, window->rect.Width(), window->rect.Height());
        CRect area = rect ? Intersection(*rect, client) : client;
        if (area.IsRectEmpty()) {
            return TRUE;
        }
        window->invalid = Union(window->invalid, area);
    }
    Queue& queue = *window->queue;
    {
        std::lock_guard lock(queue.mutex);
        queue.invalidations = true;
    }
    Wake(queue);
    return TRUE;
}

void PlatformBase::SetKeyState(int vk, bool down) {
    if (vk > 0 && vk < 256) {
        keys_[vk].store(down, std::memory_order_relaxed);
    }
}

bool PlatformBase::TableKeyHeld(int vk) const {
    auto held = [this](int key) { return keys_[key].load(std::memory_order_relaxed); };
    switch (vk) {
        case VK_SHIFT:
            return held(VK_LSHIFT) || held(VK_RSHIFT) || held(VK_SHIFT);
        case VK_CONTROL:
            return held(VK_LCONTROL) || held(VK_RCONTROL) || held(VK_CONTROL);
        case VK_MENU:
            return held(VK_LMENU) || held(VK_RMENU) || held(VK_MENU);
        default:
            return vk > 0 && vk < 256 && held(vk);
    }
}

BOOL PlatformBase::IsKeyHeld(int vk) const {
    return TableKeyHeld(vk);
}

void PlatformBase::ForgetHeldKeys() {
    for (auto& key : keys_) {
        key.store(false, std::memory_order_relaxed);
    }
}

// ---- messages ----

void PlatformBase::PostTo(Queue& queue, const MSG& msg) {
    {
        std::lock_guard lock(queue.mutex);
        queue.posted.push_back(msg);
    }
    Wake(queue);
}

void PlatformBase::Post(Window& window, UINT msg, WPARAM wParam, LPARAM lParam) {
    MSG m;
    m.hwnd = window.hwnd;
    m.message = msg;
    m.wParam = wParam;
    m.lParam = lParam;
    m.time = NowMs();
    POINT client = window.pointer;
    ClientToScreen(window.hwnd, client);
    m.pt = client;
    PostTo(*window.queue, m);
}

BOOL PlatformBase::PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    MSG m;
    m.hwnd = hwnd;
    m.message = msg;
    m.wParam = wParam;
    m.lParam = lParam;
    m.time = NowMs();
    if (!hwnd) {
        PostTo(*QueueOfThisThread(), m);
        return TRUE;
    }
    auto window = Find(hwnd);
    if (!window) {
        return FALSE;
    }
    PostTo(*window->queue, m);
    return TRUE;
}

LRESULT PlatformBase::SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto window = Find(hwnd);
    if (!window) {
        return 0;
    }
    if (window->queue->thread == std::this_thread::get_id()) {
        MSG m;
        m.hwnd = hwnd;
        m.message = msg;
        m.wParam = wParam;
        m.lParam = lParam;
        return DispatchMessage(m);
    }
    auto sent = std::make_shared<Queue::Sent>();
    sent->msg.hwnd = hwnd;
    sent->msg.message = msg;
    sent->msg.wParam = wParam;
    sent->msg.lParam = lParam;
    sent->msg.time = NowMs();
    Queue& target = *window->queue;
    {
        std::lock_guard lock(target.mutex);
        target.sent.push_back(sent);
    }
    Wake(target);
    window.reset();
    // Messages sent to this thread meanwhile are served, so two threads sending to each
    // other do not wait for ever.
    auto own = QueueOfThisThread();
    std::unique_lock lock(sent->mutex);
    while (!sent->finished) {
        sent->done.wait_for(lock, std::chrono::milliseconds(20));
        if (sent->finished) {
            break;
        }
        lock.unlock();
        {
            std::unique_lock ownLock(own->mutex);
            RunSentMessages(*own, ownLock);
        }
        bool alive = IsWindow(hwnd);
        lock.lock();
        if (!alive && !sent->finished) {
            return 0;
        }
    }
    return sent->result;
}

void PlatformBase::RunSentMessages(Queue& queue, std::unique_lock<std::mutex>& lock) {
    while (!queue.sent.empty()) {
        auto sent = queue.sent.front();
        queue.sent.pop_front();
        lock.unlock();
        LRESULT result = DispatchMessage(sent->msg);
        {
            std::lock_guard sentLock(sent->mutex);
            sent->result = result;
            sent->finished = true;
        }
        sent->done.notify_all();
        lock.lock();
    }
}

bool PlatformBase::NextMessage(MSG& msg, bool wait, bool remove) {
    auto queuePtr = QueueOfThisThread();
    Queue& queue = *queuePtr;
    std::unique_lock lock(queue.mutex);
    for (;;) {
        RunSentMessages(queue, lock);
        if (queue.invalidations) {
            queue.invalidations = false;
            lock.unlock();
            for (auto& window : WindowsOfThisThread()) {
                OnInvalidated(*window);
            }
            lock.lock();
            continue;
        }
        if (!queue.posted.empty() && remove && ++queue.servedWithoutPoll >= 16) {
            queue.servedWithoutPoll = 0;
            lock.unlock();
            PollNative(queue);
            lock.lock();
            continue;
        }
        if (!queue.posted.empty()) {
            msg = queue.posted.front();
            if (remove) {
                queue.posted.pop_front();
            }
            return true;
        }
        if (queue.quitPending) {
            msg = MSG();
            msg.message = WM_QUIT;
            msg.wParam = static_cast<WPARAM>(queue.quitCode);
            msg.time = NowMs();
            if (remove) {
                queue.quitPending = false;
            }
            return true;
        }
        if (SynthesisesPaint()) {
            lock.unlock();
            HWND toPaint = nullptr;
            for (auto& window : WindowsOfThisThread()) {
                std::lock_guard windowLock(window->mutex);
                if (!window->invalid.IsRectEmpty() && window->visible && !window->layered) {
                    toPaint = window->hwnd;
                    break;
                }
            }
            lock.lock();
            if (toPaint) {
                msg = MSG();
                msg.hwnd = toPaint;
                msg.message = WM_PAINT;
                msg.time = NowMs();
                return true;
            }
        }
        auto now = Clock::now();
        std::optional<Clock::time_point> nextDue;
        for (std::size_t i = 0; i < queue.timers.size(); ++i) {
            auto& timer = queue.timers[i];
            if (timer.due <= now) {
                msg = MSG();
                msg.hwnd = timer.hwnd;
                msg.time = NowMs();
                if (timer.hover) {
                    msg.message = WM_MOUSEHOVER;
                    auto window = Find(timer.hwnd);
                    POINT pt = window ? window->pointer : POINT{};
                    msg.lParam = MAKELPARAM(pt.x, pt.y);
                    if (remove) {
                        if (window) {
                            window->trackFlags &= ~TME_HOVER;
                        }
                        queue.timers.erase(queue.timers.begin() + static_cast<std::ptrdiff_t>(i));
                    }
                } else {
                    msg.message = WM_TIMER;
                    msg.wParam = timer.id;
                    if (remove) {
                        // Late ticks are not made up for: one WM_TIMER, then a full period.
                        timer.due = now + std::chrono::milliseconds(timer.elapse);
                    }
                }
                return true;
            }
            if (!nextDue || timer.due < *nextDue) {
                nextDue = timer.due;
            }
        }
        if (!wait) {
            return false;
        }
        queue.servedWithoutPoll = 0;
        WaitForWork(queue, lock, nextDue);
    }
}

void PlatformBase::WaitForWork(Queue& queue, std::unique_lock<std::mutex>& lock,
                               std::optional<Clock::time_point> deadline) {
    auto idle = [&queue] {
        return !queue.sent.empty() || !queue.posted.empty() || queue.quitPending ||
               queue.invalidations;
    };
    if (deadline) {
        queue.wakeup.wait_until(lock, *deadline, idle);
    } else {
        queue.wakeup.wait(lock, idle);
    }
}

void PlatformBase::Wake(Queue& queue) {
    // Taking the lock orders the notification after a waiter's check.
    { std::lock_guard lock(queue.mutex); }
    queue.wakeup.notify_all();
}

BOOL PlatformBase::GetMessage(MSG& msg) {
    NextMessage(msg, true, true);
    return msg.message == WM_QUIT ? FALSE : TRUE;
}

BOOL PlatformBase::PeekMessage(MSG& msg, bool remove) {
    return NextMessage(msg, false, remove) ? TRUE : FALSE;
}

LRESULT PlatformBase::DispatchMessage(const MSG& msg) {
    auto window = Find(msg.hwnd);
    if (!window || !window->proc || window->queue->thread != std::this_thread::get_id()) {
        return 0;
    }
    if (msg.message == WM_PAINT && msg.lParam == 0) {
        PaintWindow(*window);
        return 0;
    }
    return window->proc->HandleMessage(msg.hwnd, msg.message, msg.wParam, msg.lParam);
}

void PlatformBase::PostQuitMessage(int exitCode) {
    auto queue = QueueOfThisThread();
    {
        std::lock_guard lock(queue->mutex);
        queue->quitPending = true;
        queue->quitCode = exitCode;
    }
    Wake(*queue);
}

LRESULT PlatformBase::DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
        case WM_CLOSE:
            DestroyWindow(hwnd);
            return 0;
        case WM_SYSCOMMAND:
            switch (wParam & 0xFFF0) {
                case SC_CLOSE:
                    SendMessage(hwnd, WM_CLOSE, 0, 0);
                    break;
                case SC_MINIMIZE:
                    ShowWindow(hwnd, SW_MINIMIZE);
                    break;
                case SC_MAXIMIZE:
                    ShowWindow(hwnd, SW_MAXIMIZE);
                    break;
                case SC_RESTORE:
                    ShowWindow(hwnd, SW_RESTORE);
                    break;
                default:
                    break;
            }
            return 0;
        case WM_NCLBUTTONDOWN:
            if (wParam == 2 /* HTCAPTION */) {
                BeginMoveDrag(hwnd);
            }
            return 0;
        case WM_ERASEBKGND:
            return 1;
        default:
            return 0;
    }
}

BOOL PlatformBase::BeginMoveDrag(HWND hwnd) {
    auto window = Find(hwnd);
    if (!window || !IsWindowEnabled(hwnd)) {
        return FALSE;
    }
    if (window->kind != WindowKind::Popup) {
        return BeginNativeMoveDrag(*window) ? TRUE : FALSE;
    }
    // The desktop leaves pop-ups alone: they follow the pointer here, until the release.
    POINT cursor;
    CRect rect;
    if (!GetCursorPos(cursor) || !GetWindowRect(hwnd, rect)) {
        return FALSE;
    }
    SetCapture(hwnd);
    moveDrag_ = {hwnd, POINT{cursor.x - rect.left, cursor.y - rect.top}};
    return TRUE;
}

bool PlatformBase::FollowMoveDrag(UINT msg, WPARAM keys) {
    if (!moveDrag_.hwnd) {
        return false;
    }
    const HWND moving = moveDrag_.hwnd;
    CRect rect;
    POINT cursor;
    if (capture_ == moving && msg == WM_MOUSEMOVE && (keys & MK_LBUTTON) &&
        GetWindowRect(moving, rect) && GetCursorPos(cursor)) {
        const int left = cursor.x - moveDrag_.grab.x;
        const int top = cursor.y - moveDrag_.grab.y;
        MoveWindow(moving, CRect(left, top, left + rect.Width(), top + rect.Height()), FALSE);
        return true;
    }
    // The release (or a lost capture) ends the move; the release itself is the move's own.
    moveDrag_ = {};
    if (capture_ == moving) {
        ReleaseCapture();
    }
    return msg == WM_LBUTTONUP;
}

BOOL PlatformBase::SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs) {
    auto window = Find(hwnd);
    if (!window) {
        return FALSE;
    }
    UINT elapse = std::max(elapseMs, kMinimumTimer);
    Queue& queue = *window->queue;
    {
        std::lock_guard lock(queue.mutex);
        auto due = Clock::now() + std::chrono::milliseconds(elapse);
        auto it = std::find_if(queue.timers.begin(), queue.timers.end(), [&](const auto& t) {
            return t.hwnd == hwnd && t.id == id && !t.hover;
        });
        if (it != queue.timers.end()) {
            it->elapse = elapse;
            it->due = due;
        } else {
            queue.timers.push_back({hwnd, id, elapse, due, false});
        }
    }
    Wake(queue);
    return TRUE;
}

BOOL PlatformBase::KillTimer(HWND hwnd, UINT_PTR id) {
    auto window = Find(hwnd);
    if (!window) {
        return FALSE;
    }
    Queue& queue = *window->queue;
    std::lock_guard lock(queue.mutex);
    auto it = std::find_if(queue.timers.begin(), queue.timers.end(),
                           [&](const auto& t) { return t.hwnd == hwnd && t.id == id && !t.hover; });
    if (it == queue.timers.end()) {
        return FALSE;
    }
    queue.timers.erase(it);
    return TRUE;
}

// ---- input ----

bool PlatformBase::IsMouseInput(UINT msg) const {
    return (msg >= WM_MOUSEMOVE && msg <= WM_MOUSEWHEEL) || msg == WM_MOUSEHOVER ||
           msg == WM_MOUSELEAVE;
}

void PlatformBase::DeliverMouse(HWND hwnd, UINT msg, WPARAM keys, POINT client) {
    auto window = Find(hwnd);
    if (!window) {
        return;
    }
    if (FollowMoveDrag(msg, keys)) {
        return;
    }
    // While another window holds the capture, the input is its own.
    if (capture_ && capture_ != hwnd) {
        if (auto captured = Find(capture_)) {
            ClientToScreen(hwnd, client);
            ScreenToClient(capture_, client);
            window = captured;
        }
    }
    if (!IsWindowEnabled(window->hwnd)) {
        return;
    }
    CRect clientRect;
    GetClientRect(window->hwnd, clientRect);
    window->pointerInside = clientRect.PtInRect(client);
    window->pointer = client;
    if (msg == WM_MOUSEMOVE && (window->trackFlags & TME_HOVER)) {
        if (std::abs(client.x - window->hoverAnchor.x) > kHoverSlack ||
            std::abs(client.y - window->hoverAnchor.y) > kHoverSlack) {
            ArmHover(*window, client);
        }
    }
    Post(*window, msg, keys, MAKELPARAM(client.x, client.y));
}

void PlatformBase::DeliverWheel(HWND hwnd, int delta, WPARAM keys, POINT screen) {
    auto window = Find(capture_ ? capture_ : hwnd);
    if (!window || !IsWindowEnabled(window->hwnd)) {
        return;
    }
    Post(*window, WM_MOUSEWHEEL, (keys & 0xFFFF) | (static_cast<WPARAM>(delta & 0xFFFF) << 16),
         MAKELPARAM(screen.x, screen.y));
}

void PlatformBase::DeliverPointerLeave(HWND hwnd) {
    auto window = Find(hwnd);
    if (!window) {
        return;
    }
    window->pointerInside = false;
    if (window->trackFlags & TME_LEAVE) {
        window->trackFlags = 0;
        TrackMouseEvent(hwnd, TME_CANCEL | TME_HOVER, 0);
        Post(*window, WM_MOUSELEAVE, 0, 0);
    }
}

void PlatformBase::DeliverKey(HWND hwnd, int vk, bool down, char32_t ch, int scanCode) {
    bool wasDown = TableKeyHeld(vk);
    SetKeyState(vk, down);
    auto window = Find(hwnd);
    if (!window || !IsWindowEnabled(hwnd)) {
        return;
    }
    int generic = GenericKey(vk);
    // Keys pressed with Alt (and Alt itself) are system keys, unless Ctrl is held too.
    bool system = TableKeyHeld(VK_MENU) && !TableKeyHeld(VK_CONTROL);
    if (!down && generic == VK_MENU) {
        system = !TableKeyHeld(VK_CONTROL);
    }
    LPARAM flags = 1 | (static_cast<LPARAM>(scanCode & 0xFF) << 16);
    if (system && generic != VK_MENU) {
        flags |= LPARAM(1) << 29;  // context code: Alt is down
    }
    if (down && wasDown) {
        flags |= LPARAM(1) << 30;  // auto-repeat
    }
    if (!down) {
        flags |= (LPARAM(1) << 30) | (LPARAM(1) << 31);
    }
    UINT msg = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    Post(*window, msg, static_cast<WPARAM>(generic), flags);
    if (down && ch != 0) {
        Post(*window, system ? WM_SYSCHAR : WM_CHAR, static_cast<WPARAM>(ch), flags);
    }
}

void PlatformBase::DeliverActivation(HWND hwnd, bool active) {
    auto window = Find(hwnd);
    if (!window) {
        return;
    }
    if (active) {
        active_ = hwnd;
    } else {
        if (active_ == hwnd) {
            active_ = nullptr;
        }
        ForgetHeldKeys();
    }
    Post(*window, WM_NCACTIVATE, active ? TRUE : FALSE, 0);
    Post(*window, WM_ACTIVATE, active ? WA_ACTIVE : WA_INACTIVE, 0);
}

void PlatformBase::DeliverFocus(HWND hwnd, bool focused) {
    auto window = Find(hwnd);
    if (!window) {
        return;
    }
    if (focused) {
        focus_ = hwnd;
    } else if (focus_ == hwnd) {
        focus_ = nullptr;
    }
    Post(*window, focused ? WM_SETFOCUS : WM_KILLFOCUS, 0, 0);
}

void PlatformBase::DeliverGeometry(HWND hwnd, const CRect& screenRect) {
    auto window = Find(hwnd);
    if (!window) {
        return;
    }
    CRect old;
    bool iconic = false;
    bool zoomed = false;
    {
        std::lock_guard lock(window->mutex);
        old = window->rect;
        window->rect = screenRect;
        iconic = window->iconic;
        zoomed = window->zoomed;
    }
    if (old.left != screenRect.left || old.top != screenRect.top) {
        Post(*window, WM_MOVE, 0, MAKELPARAM(screenRect.left, screenRect.top));
    }
    if (old.Width() != screenRect.Width() || old.Height() != screenRect.Height()) {
        WPARAM kind = iconic ? SIZE_MINIMIZED : zoomed ? SIZE_MAXIMIZED : SIZE_RESTORED;
        Post(*window, WM_SIZE, kind, MAKELPARAM(screenRect.Width(), screenRect.Height()));
        InvalidateRect(hwnd, nullptr, FALSE);
    }
}

void PlatformBase::DeliverShowState(HWND hwnd, bool visible, bool iconic, bool zoomed) {
    auto window = Find(hwnd);
    if (!window) {
        return;
    }
    bool sizeKindChanged = false;
    bool shown = false;
    CRect rect;
    {
        std::lock_guard lock(window->mutex);
        shown = visible && !window->visible;
        sizeKindChanged = window->iconic != iconic || window->zoomed != zoomed;
        window->visible = visible;
        window->iconic = iconic;
        window->zoomed = zoomed;
        rect = window->rect;
    }
    if (sizeKindChanged) {
        WPARAM kind = iconic ? SIZE_MINIMIZED : zoomed ? SIZE_MAXIMIZED : SIZE_RESTORED;
        Post(*window, WM_SIZE, kind, MAKELPARAM(rect.Width(), rect.Height()));
    }
    if (shown) {
        InvalidateRect(hwnd, nullptr, FALSE);
    }
}

void PlatformBase::DeliverCloseRequest(HWND hwnd) {
    if (auto window = Find(hwnd)) {
        // Through the queue, so that a message loop can still refuse it (Alt+F4).
        Post(*window, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
}

}  // namespace Quorl
