#include "quorl/platform/GtkPlatform.h"

#include <gdk/gdk.h>
#include <gtk/gtk.h>

#include <cmath>

#include "quorl/core/Utf8.h"
#include "quorl/platform/GtkEdit.h"
#include "quorl/platform/GtkKeyMap.h"
#include "quorl/platform/GtkX11.h"
#include "quorl/platform/PlatformBase.h"
#include "quorl/platform/VirtualKeys.h"
#include "quorl/render/Bitmap.h"
#include "quorl/render/Canvas.h"

namespace Quorl {

namespace {

class GtkPlatform;

struct GtkWin : PlatformBase::Window {
    GtkPlatform* platform = nullptr;
    GtkWidget* widget = nullptr;  // the GtkWindow
    GtkWidget* overlay = nullptr;
    GtkWidget* area = nullptr;
    Bitmap back;  // what WM_PAINT draws on
    Bitmap layeredSurface;
    bool rgba = false;
    int roundRegion = 0;
    CursorShape cursor = CursorShape::Arrow;
    // The last press, for double-clicks and for moving the window by its caption.
    guint lastButton = 0;
    guint32 lastPressTime = 0;
    double lastPressX = 0, lastPressY = 0;
    double lastPressRootX = 0, lastPressRootY = 0;
    bool lastWasDouble = false;
    bool popupActive = false;
    // Drag and drop: where drops go, where the last one landed, and what a drag carries.
    DropTarget* dropTarget = nullptr;
    POINT dropPoint;
    Bitmap dragImage;
};

WPARAM MouseKeys(guint state) {
    WPARAM keys = 0;
    if (state & GDK_BUTTON1_MASK) {
        keys |= MK_LBUTTON;
    }
    if (state & GDK_BUTTON3_MASK) {
        keys |= MK_RBUTTON;
    }
    if (state & GDK_BUTTON2_MASK) {
        keys |= MK_MBUTTON;
    }
    if (state & GDK_SHIFT_MASK) {
        keys |= MK_SHIFT;
    }
    if (state & GDK_CONTROL_MASK) {
        keys |= MK_CONTROL;
    }
    return keys;
}

WPARAM ButtonFlag(guint button) {
    switch (button) {
        case 1:
            return MK_LBUTTON;
        case 2:
            return MK_MBUTTON;
        case 3:
            return MK_RBUTTON;
        default:
            return 0;
    }
}

const char* CursorName(CursorShape shape) {
    switch (shape) {
        case CursorShape::Hand:
            return "pointer";
        case CursorShape::IBeam:
            return "text";
        case CursorShape::Wait:
            return "wait";
        case CursorShape::Cross:
            return "crosshair";
        case CursorShape::SizeAll:
            return "move";
        case CursorShape::SizeWE:
            return "ew-resize";
        case CursorShape::SizeNS:
            return "ns-resize";
        case CursorShape::No:
            return "not-allowed";
        case CursorShape::Arrow:
        default:
            return "default";
    }
}

DWORD EffectsOf(GdkDragAction actions) {
    DWORD effects = DROPEFFECT_NONE;
    if (actions & GDK_ACTION_COPY) {
        effects |= DROPEFFECT_COPY;
    }
    if (actions & GDK_ACTION_MOVE) {
        effects |= DROPEFFECT_MOVE;
    }
    return effects;
}

GdkDragAction ActionsOf(DWORD effects) {
    int actions = 0;
    if (effects & DROPEFFECT_COPY) {
        actions |= GDK_ACTION_COPY;
    }
    if (effects & DROPEFFECT_MOVE) {
        actions |= GDK_ACTION_MOVE;
    }
    return static_cast<GdkDragAction>(actions);
}

// Owned by the caller; null for an invalid bitmap.
GdkPixbuf* PixbufOf(const Bitmap& bitmap) {
    if (!bitmap.IsValid()) {
        return nullptr;
    }
    auto* surface = static_cast<cairo_surface_t*>(bitmap.NativeSurface());
    cairo_surface_flush(surface);
    return gdk_pixbuf_get_from_surface(surface, 0, 0, bitmap.Width(), bitmap.Height());
}

Bitmap BitmapOf(GdkPixbuf* pixbuf) {
    Bitmap bitmap(gdk_pixbuf_get_width(pixbuf), gdk_pixbuf_get_height(pixbuf));
    if (bitmap.IsValid()) {
        cairo_t* cr = cairo_create(static_cast<cairo_surface_t*>(bitmap.NativeSurface()));
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        gdk_cairo_set_source_pixbuf(cr, pixbuf, 0, 0);
        cairo_paint(cr);
        cairo_destroy(cr);
    }
    return bitmap;
}

// A rounded rectangle as a region, one band per row of the corners.
cairo_region_t* RoundRegion(int width, int height, int diameter) {
    cairo_region_t* region = cairo_region_create();
    double r = diameter / 2.0;
    for (int y = 0; y < height; ++y) {
        int inset = 0;
        double dy = 0;
        if (y < r) {
            dy = r - y - 0.5;
        } else if (y >= height - r) {
            dy = y + 0.5 - (height - r);
        }
        if (dy > 0) {
            inset = static_cast<int>(std::ceil(r - std::sqrt(std::max(0.0, r * r - dy * dy))));
        }
        cairo_rectangle_int_t row{inset, y, std::max(0, width - 2 * inset), 1};
        cairo_region_union_rectangle(region, &row);
    }
    return region;
}

class GtkPlatform : public PlatformBase {
public:
    GtkPlatform() : gtkThread_(std::this_thread::get_id()) {}

    ~GtkPlatform() override {
        for (auto& window : WindowsOfThisThread()) {
            DestroyWindow(window->hwnd);
        }
    }

    std::shared_ptr<GtkWin> FindGtk(HWND hwnd) const {
        return std::static_pointer_cast<GtkWin>(Find(hwnd));
    }

    // ---- windows ----

    HWND CreateWindow(const WindowDesc& desc, WindowProc* proc) override {
        auto win = std::make_shared<GtkWin>();
        win->platform = this;
        GtkWidget* widget =
            gtk_window_new(desc.kind == WindowKind::Popup ? GTK_WINDOW_POPUP : GTK_WINDOW_TOPLEVEL);
        win->widget = widget;
        GtkWindow* window = GTK_WINDOW(widget);
        gtk_window_set_decorated(window, FALSE);
        gtk_widget_set_app_paintable(widget, TRUE);
        if (desc.kind == WindowKind::Tool) {
            gtk_window_set_type_hint(window, GDK_WINDOW_TYPE_HINT_UTILITY);
        }
        if (desc.kind != WindowKind::TopLevel) {
            gtk_window_set_skip_taskbar_hint(window, TRUE);
            gtk_window_set_skip_pager_hint(window, TRUE);
        }
        if (auto owner = FindGtk(desc.owner)) {
            gtk_window_set_transient_for(window, GTK_WINDOW(owner->widget));
        }
        gtk_window_set_keep_above(window, desc.keepAbove);
        gtk_window_set_title(window, WideToUtf8(desc.title).c_str());
        if (desc.layered) {
            GdkScreen* screen = gtk_widget_get_screen(widget);
            GdkVisual* visual = gdk_screen_get_rgba_visual(screen);
            if (visual && gdk_screen_is_composited(screen)) {
                gtk_widget_set_visual(widget, visual);
                win->rgba = true;
            }
        }
        win->overlay = gtk_overlay_new();
        win->area = gtk_drawing_area_new();
        gtk_widget_set_can_focus(win->area, TRUE);
        gtk_widget_add_events(win->area, GDK_POINTER_MOTION_MASK | GDK_BUTTON_PRESS_MASK |
                                             GDK_BUTTON_RELEASE_MASK | GDK_SCROLL_MASK |
                                             GDK_ENTER_NOTIFY_MASK | GDK_LEAVE_NOTIFY_MASK |
                                             GDK_KEY_PRESS_MASK | GDK_KEY_RELEASE_MASK);
        gtk_container_add(GTK_CONTAINER(win->overlay), win->area);
        gtk_container_add(GTK_CONTAINER(widget), win->overlay);
        gtk_widget_show_all(win->overlay);

        int width = std::max(1, desc.rect.Width());
        int height = std::max(1, desc.rect.Height());
        gtk_window_set_default_size(window, width, height);
        gtk_window_resize(window, width, height);
        gtk_window_move(window, desc.rect.left, desc.rect.top);

        HWND hwnd = AddWindow(win, desc, proc);
        gpointer data = reinterpret_cast<gpointer>(hwnd);
        g_signal_connect(win->area, "draw", G_CALLBACK(OnDraw), data);
        g_signal_connect(win->area, "motion-notify-event", G_CALLBACK(OnMotion), data);
        g_signal_connect(win->area, "button-press-event", G_CALLBACK(OnButtonPress), data);
        g_signal_connect(win->area, "button-release-event", G_CALLBACK(OnButtonRelease), data);
        g_signal_connect(win->area, "scroll-event", G_CALLBACK(OnScroll), data);
        g_signal_connect(win->area, "leave-notify-event", G_CALLBACK(OnLeave), data);
        g_signal_connect(win->area, "grab-broken-event", G_CALLBACK(OnGrabBroken), data);
        g_signal_connect(win->area, "drag-motion", G_CALLBACK(OnDragMotion), data);
        g_signal_connect(win->area, "drag-leave", G_CALLBACK(OnDragLeave), data);
        g_signal_connect(win->area, "drag-drop", G_CALLBACK(OnDragDrop), data);
        g_signal_connect(win->area, "drag-data-received", G_CALLBACK(OnDragDataReceived), data);
        g_signal_connect(win->area, "drag-data-get", G_CALLBACK(OnDragDataGet), data);
        g_signal_connect(widget, "key-press-event", G_CALLBACK(OnKey), data);
        g_signal_connect(widget, "key-release-event", G_CALLBACK(OnKey), data);
        g_signal_connect(widget, "configure-event", G_CALLBACK(OnConfigure), data);
        g_signal_connect(widget, "window-state-event", G_CALLBACK(OnWindowState), data);
        g_signal_connect(widget, "focus-in-event", G_CALLBACK(OnFocus), data);
        g_signal_connect(widget, "focus-out-event", G_CALLBACK(OnFocus), data);
        g_signal_connect(widget, "delete-event", G_CALLBACK(OnDelete), data);
        gtk_widget_realize(widget);

        AnnounceCreated(hwnd, desc, proc);
        return hwnd;
    }

    void DestroyNative(Window& base) override {
        auto& win = static_cast<GtkWin&>(base);
        if (capture_ == win.hwnd) {
            ReleaseCapture();
        }
        if (win.widget) {
            GtkWidget* widget = win.widget;
            g_signal_handlers_disconnect_matched(win.area, G_SIGNAL_MATCH_DATA, 0, 0, nullptr,
                                                 nullptr, win.hwnd);
            win.widget = nullptr;
            win.area = nullptr;
            win.overlay = nullptr;
            g_signal_handlers_disconnect_matched(widget, G_SIGNAL_MATCH_DATA, 0, 0, nullptr,
                                                 nullptr, win.hwnd);
            gtk_widget_destroy(widget);
        }
    }

    BOOL ShowWindow(HWND hwnd, int cmdShow) override {
        auto win = FindGtk(hwnd);
        if (!win || !win->widget) {
            return FALSE;
        }
        GtkWindow* window = GTK_WINDOW(win->widget);
        BOOL wasVisible = IsWindowVisible(hwnd);
        bool iconic = IsIconic(hwnd);
        bool zoomed = IsZoomed(hwnd);
        switch (cmdShow) {
            case SW_HIDE:
                gtk_widget_hide(win->widget);
                DeliverShowState(hwnd, false, iconic, zoomed);
                DeactivatePopup(*win);
                return wasVisible;
            case SW_MINIMIZE:
            case SW_SHOWMINIMIZED:
            case SW_SHOWMINNOACTIVE:
                gtk_window_iconify(window);
                gtk_widget_show(win->widget);
                DeliverShowState(hwnd, true, true, zoomed);
                return wasVisible;
            case SW_MAXIMIZE:
                gtk_window_maximize(window);
                break;
            case SW_RESTORE:
                if (iconic) {
                    gtk_window_deiconify(window);
                } else if (zoomed) {
                    gtk_window_unmaximize(window);
                }
                break;
            default:
                break;
        }
        bool activate = cmdShow != SW_SHOWNOACTIVATE && cmdShow != SW_SHOWNA;
        gtk_window_set_focus_on_map(window, activate);
        // Showing raises the window; showing one that is already visible without activating
        // it keeps its place (a shadow below its dialog).
        if (activate || !wasVisible) {
            gtk_widget_show(win->widget);
        }
        DeliverShowState(hwnd, true, cmdShow == SW_RESTORE ? false : iconic, zoomed);
        if (activate && win->kind != WindowKind::Popup) {
            gtk_window_present(window);
        }
        if (win->kind == WindowKind::Popup && !win->popupActive) {
            // Pop-ups never take the keyboard; they are active until a press outside them
            // or until their owner loses the focus.
            win->popupActive = true;
            PostMessage(hwnd, WM_NCACTIVATE, TRUE, 0);
        }
        return wasVisible;
    }

    void DeactivatePopup(GtkWin& win) {
        if (win.kind == WindowKind::Popup && win.popupActive) {
            win.popupActive = false;
            PostMessage(win.hwnd, WM_NCACTIVATE, FALSE, 0);
        }
    }

    // A press elsewhere or the owner losing the focus ends every open pop-up of the owner.
    void DeactivatePopupsExcept(HWND keep) {
        for (auto& window : WindowsOfThisThread()) {
            auto win = std::static_pointer_cast<GtkWin>(window);
            if (win->hwnd != keep) {
                DeactivatePopup(*win);
            }
        }
    }

    BOOL MoveWindow(HWND hwnd, const CRect& rect, BOOL repaint) override {
        auto win = FindGtk(hwnd);
        if (!win || !win->widget) {
            return FALSE;
        }
        gtk_window_move(GTK_WINDOW(win->widget), rect.left, rect.top);
        gtk_window_resize(GTK_WINDOW(win->widget), std::max(1, rect.Width()),
                          std::max(1, rect.Height()));
        // Known at once; the desktop's confirmation follows as a configure event.
        DeliverGeometry(hwnd, rect);
        if (repaint) {
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        return TRUE;
    }

    BOOL SetForegroundWindow(HWND hwnd) override {
        auto win = FindGtk(hwnd);
        if (!win || !win->widget) {
            return FALSE;
        }
        gtk_window_present_with_time(GTK_WINDOW(win->widget), GDK_CURRENT_TIME);
        if (GdkWindow* gdkWindow = gtk_widget_get_window(win->widget)) {
            gdk_window_focus(gdkWindow, GDK_CURRENT_TIME);
        }
        gtk_widget_grab_focus(win->area);
        return TRUE;
    }

    BOOL SetWindowText(HWND hwnd, const std::wstring& title) override {
        auto win = FindGtk(hwnd);
        if (!win || !win->widget) {
            return FALSE;
        }
        {
            std::lock_guard lock(win->mutex);
            win->title = title;
        }
        gtk_window_set_title(GTK_WINDOW(win->widget), WideToUtf8(title).c_str());
        return TRUE;
    }

    BOOL SetKeepAbove(HWND hwnd, BOOL above) override {
        auto win = FindGtk(hwnd);
        if (!win || !win->widget) {
            return FALSE;
        }
        gtk_window_set_keep_above(GTK_WINDOW(win->widget), above);
        return TRUE;
    }

    BOOL PlaceBelow(HWND hwnd, HWND reference) override {
        auto win = FindGtk(hwnd);
        auto ref = FindGtk(reference);
        if (!win || !ref || !win->widget || !ref->widget || win == ref) {
            return FALSE;
        }
        GdkWindow* window = gtk_widget_get_window(win->widget);
        GdkWindow* sibling = gtk_widget_get_window(ref->widget);
        if (!window || !sibling) {
            return FALSE;
        }
        gdk_window_restack(window, sibling, FALSE);
        return TRUE;
    }

    HWND SetCapture(HWND hwnd) override {
        HWND old = capture_;
        auto win = FindGtk(hwnd);
        if (!win || !win->area) {
            return old;
        }
        if (old == hwnd) {
            return old;
        }
        GdkWindow* gdkWindow = gtk_widget_get_window(win->area);
        GdkSeat* seat = gdk_display_get_default_seat(gdk_display_get_default());
        if (gdkWindow && seat) {
            gdk_seat_grab(seat, gdkWindow, GDK_SEAT_CAPABILITY_ALL_POINTING, FALSE, nullptr,
                          nullptr, nullptr, nullptr);
        }
        capture_ = hwnd;
        return old;
    }

    BOOL ReleaseCapture() override {
        HWND old = capture_;
        if (!old) {
            return TRUE;
        }
        capture_ = nullptr;
        if (GdkSeat* seat = gdk_display_get_default_seat(gdk_display_get_default())) {
            gdk_seat_ungrab(seat);
        }
        PostMessage(old, WM_CAPTURECHANGED, 0, 0);
        return TRUE;
    }

    BOOL SetCursor(HWND hwnd, CursorShape shape) override {
        auto win = FindGtk(hwnd);
        if (!win || !win->area) {
            return FALSE;
        }
        if (win->cursor == shape) {
            return TRUE;
        }
        win->cursor = shape;
        GdkWindow* gdkWindow = gtk_widget_get_window(win->area);
        if (!gdkWindow) {
            return FALSE;
        }
        GdkCursor* cursor = gdk_cursor_new_from_name(gdk_display_get_default(), CursorName(shape));
        gdk_window_set_cursor(gdkWindow, cursor);
        if (cursor) {
            g_object_unref(cursor);
        }
        return TRUE;
    }

    BOOL GetCursorPos(POINT& pt) const override {
        GdkSeat* seat = gdk_display_get_default_seat(gdk_display_get_default());
        GdkDevice* pointer = seat ? gdk_seat_get_pointer(seat) : nullptr;
        if (!pointer) {
            return FALSE;
        }
        gdk_device_get_position(pointer, nullptr, &pt.x, &pt.y);
        return TRUE;
    }

    CRect GetWorkArea(HWND hwnd) const override {
        GdkDisplay* display = gdk_display_get_default();
        GdkMonitor* monitor = nullptr;
        auto win = FindGtk(hwnd);
        if (win && win->widget && gtk_widget_get_window(win->widget)) {
            monitor =
                gdk_display_get_monitor_at_window(display, gtk_widget_get_window(win->widget));
        }
        if (!monitor) {
            monitor = gdk_display_get_primary_monitor(display);
        }
        if (!monitor) {
            monitor = gdk_display_get_monitor(display, 0);
        }
        if (!monitor) {
            return {};
        }
        GdkRectangle area;
        gdk_monitor_get_workarea(monitor, &area);
        return {area.x, area.y, area.x + area.width, area.y + area.height};
    }

    // ---- painting ----

    bool SynthesisesPaint() const override { return false; }

    void OnInvalidated(Window& base) override {
        auto& win = static_cast<GtkWin&>(base);
        CRect dirty;
        {
            std::lock_guard lock(win.mutex);
            dirty = win.invalid;
            win.invalid = CRect();
        }
        if (!dirty.IsRectEmpty() && win.area) {
            gtk_widget_queue_draw_area(win.area, dirty.left, dirty.top, dirty.Width(),
                                       dirty.Height());
        }
    }

    void PaintWindow(Window& base) override {
        // Painting happens when GTK asks (OnDraw); a WM_PAINT posted by hand asks for one.
        OnInvalidated(base);
    }

    BOOL UpdateWindow(HWND hwnd) override {
        auto win = FindGtk(hwnd);
        if (!win || !win->widget) {
            return FALSE;
        }
        OnInvalidated(*win);
        if (GdkWindow* gdkWindow = gtk_widget_get_window(win->widget)) {
            G_GNUC_BEGIN_IGNORE_DEPRECATIONS
            gdk_window_process_updates(gdkWindow, TRUE);
            G_GNUC_END_IGNORE_DEPRECATIONS
        }
        return TRUE;
    }

    BOOL IsCompositing() const override {
        return gdk_screen_is_composited(gdk_screen_get_default()) ? TRUE : FALSE;
    }

    BOOL UpdateLayeredWindow(HWND hwnd, const Bitmap& surface, const POINT* topLeft) override {
        auto win = FindGtk(hwnd);
        if (!win || !win->widget || !win->layered || !surface.IsValid()) {
            return FALSE;
        }
        win->layeredSurface = surface;
        CRect rect;
        GetWindowRect(hwnd, rect);
        POINT origin = topLeft ? *topLeft : POINT{rect.left, rect.top};
        CRect target(origin.x, origin.y, origin.x + surface.Width(), origin.y + surface.Height());
        if (!win->rgba) {
            // Without a compositor the alpha can only cut the window's outline.
            cairo_region_t* region = gdk_cairo_region_create_from_surface(
                static_cast<cairo_surface_t*>(win->layeredSurface.NativeSurface()));
            gtk_widget_shape_combine_region(win->widget, region);
            cairo_region_destroy(region);
        }
        MoveWindow(hwnd, target, FALSE);
        gtk_widget_queue_draw(win->area);
        return TRUE;
    }

    BOOL SetWindowAlpha(HWND hwnd, BYTE alpha) override {
        auto win = FindGtk(hwnd);
        if (!win || !win->widget) {
            return FALSE;
        }
        gtk_widget_set_opacity(win->widget, alpha / 255.0);
        return TRUE;
    }

    BOOL SetWindowRoundRegion(HWND hwnd, int diameter) override {
        auto win = FindGtk(hwnd);
        if (!win || !win->widget) {
            return FALSE;
        }
        win->roundRegion = std::max(0, diameter);
        ApplyRoundRegion(*win);
        return TRUE;
    }

    void ApplyRoundRegion(GtkWin& win) {
        if (!win.widget) {
            return;
        }
        if (win.roundRegion == 0) {
            if (!win.layered) {
                gtk_widget_shape_combine_region(win.widget, nullptr);
            }
            return;
        }
        CRect rect;
        GetWindowRect(win.hwnd, rect);
        cairo_region_t* region = RoundRegion(rect.Width(), rect.Height(), win.roundRegion);
        gtk_widget_shape_combine_region(win.widget, region);
        cairo_region_destroy(region);
    }

    // ---- keyboard ----

    BOOL IsKeyHeld(int vk) const override {
        // The keyboard's own state, when it can be read: the desktop may take a shortcut
        // (Alt+F4) before the window sees it.
        if (std::this_thread::get_id() == gtkThread_) {
            int held = X11KeyHeld(gdk_display_get_default(), vk);
            if (held >= 0) {
                return held ? TRUE : FALSE;
            }
        }
        return TableKeyHeld(vk) ? TRUE : FALSE;
    }

    HWND SetFocus(HWND hwnd) override {
        HWND old = GetFocus();
        auto win = FindGtk(hwnd);
        if (win && win->area) {
            gtk_widget_grab_focus(win->area);
        }
        return old;
    }

    // ---- the event loop ----

    void WaitForWork(Queue& queue, std::unique_lock<std::mutex>& lock,
                     std::optional<Clock::time_point> deadline) override {
        if (queue.thread != gtkThread_) {
            PlatformBase::WaitForWork(queue, lock, deadline);
            return;
        }
        GSource* timeout = nullptr;
        if (deadline) {
            auto left = std::chrono::ceil<std::chrono::milliseconds>(*deadline - Clock::now());
            if (left.count() <= 0) {
                return;
            }
            timeout = g_timeout_source_new(static_cast<guint>(left.count()));
            g_source_set_callback(
                timeout, [](gpointer) -> gboolean { return G_SOURCE_REMOVE; }, nullptr, nullptr);
            g_source_attach(timeout, g_main_context_default());
        }
        lock.unlock();
        g_main_context_iteration(g_main_context_default(), TRUE);
        lock.lock();
        if (timeout) {
            g_source_destroy(timeout);
            g_source_unref(timeout);
        }
    }

    void Wake(Queue& queue) override {
        PlatformBase::Wake(queue);
        if (queue.thread == gtkThread_) {
            // Safe from any thread; an iteration that has not started yet returns at once.
            g_main_context_wakeup(g_main_context_default());
        }
    }

    void PollNative(Queue& queue) override {
        if (queue.thread == gtkThread_) {
            g_main_context_iteration(g_main_context_default(), FALSE);
        }
    }

    bool BeginNativeMoveDrag(Window& base) override {
        auto& win = static_cast<GtkWin&>(base);
        if (!win.widget) {
            return false;
        }
        if (capture_ == win.hwnd) {
            ReleaseCapture();
        }
        // Without a window manager GDK moves the window itself, following the pointer.
        gtk_window_begin_move_drag(GTK_WINDOW(win.widget), 1, static_cast<int>(win.lastPressRootX),
                                   static_cast<int>(win.lastPressRootY), win.lastPressTime);
        return true;
    }

    BOOL SetWindowIcon(HWND hwnd, const Bitmap& large, const Bitmap& small) override {
        auto win = FindGtk(hwnd);
        if (!win || !win->widget || !large.IsValid() || !small.IsValid()) {
            return FALSE;
        }
        GList* icons = nullptr;
        for (const Bitmap* bitmap : {&large, &small}) {
            if (GdkPixbuf* pixbuf = PixbufOf(*bitmap)) {
                icons = g_list_append(icons, pixbuf);
            }
        }
        gtk_window_set_icon_list(GTK_WINDOW(win->widget), icons);
        g_list_free_full(icons, g_object_unref);
        return TRUE;
    }

    UINT GetCaretBlinkTime() const override {
        gboolean blink = TRUE;
        int cycle = 1200;
        if (GtkSettings* settings = gtk_settings_get_default()) {
            g_object_get(settings, "gtk-cursor-blink", &blink, "gtk-cursor-blink-time", &cycle,
                         nullptr);
        }
        // The desktop's time is a whole cycle, on and off.
        return blink && cycle > 0 ? static_cast<UINT>(std::max(cycle / 2, 10)) : 0;
    }

    BOOL RegisterDropTarget(HWND hwnd, DropTarget* target) override {
        auto win = FindGtk(hwnd);
        if (!win || !win->area) {
            return FALSE;
        }
        win->dropTarget = target;
        if (!target) {
            gtk_drag_dest_unset(win->area);
            return TRUE;
        }
        // Pictures first: a drag that offers both is taken as its picture.
        gtk_drag_dest_set(win->area, static_cast<GtkDestDefaults>(0), nullptr, 0,
                          static_cast<GdkDragAction>(GDK_ACTION_COPY | GDK_ACTION_MOVE));
        gtk_drag_dest_add_image_targets(win->area);
        gtk_drag_dest_add_uri_targets(win->area);
        return TRUE;
    }

    BOOL BeginDrag(HWND hwnd, const Bitmap& image, DWORD allowedEffects) override {
        auto win = FindGtk(hwnd);
        const GdkDragAction actions = ActionsOf(allowedEffects);
        if (!win || !win->area || !image.IsValid() || actions == 0) {
            return FALSE;
        }
        if (capture_) {
            ReleaseCapture();
        }
        win->dragImage = image;
        GtkTargetList* targets = gtk_target_list_new(nullptr, 0);
        gtk_target_list_add_image_targets(targets, 0, TRUE);
        GdkDragContext* context =
            gtk_drag_begin_with_coordinates(win->area, targets, actions, 1, nullptr, -1, -1);
        gtk_target_list_unref(targets);
        if (!context) {
            return FALSE;
        }
        // The picture follows the pointer, centred on it: GTK takes the hot spot from the
        // surface's device offset.
        cairo_surface_t* icon =
            cairo_image_surface_create(CAIRO_FORMAT_ARGB32, image.Width(), image.Height());
        cairo_t* cr = cairo_create(icon);
        cairo_set_source_surface(cr, static_cast<cairo_surface_t*>(image.NativeSurface()), 0, 0);
        cairo_paint(cr);
        cairo_destroy(cr);
        cairo_surface_set_device_offset(icon, -image.Width() / 2.0, -image.Height() / 2.0);
        gtk_drag_set_icon_surface(context, icon);
        cairo_surface_destroy(icon);
        return TRUE;
    }

    std::unique_ptr<NativeEdit> CreateNativeEdit(HWND host, const NativeEditStyle& style,
                                                 NativeEditListener* listener) override {
        auto win = FindGtk(host);
        if (!win || !win->overlay) {
            return nullptr;
        }
        return CreateGtkEdit(win->overlay, style, listener);
    }

    void* WidgetOf(HWND hwnd) const {
        auto win = FindGtk(hwnd);
        return win ? win->widget : nullptr;
    }

private:
    static GtkPlatform* Self() { return dynamic_cast<GtkPlatform*>(&Platform::Current()); }

    static std::shared_ptr<GtkWin> Lookup(gpointer data) {
        GtkPlatform* self = Self();
        return self ? self->FindGtk(reinterpret_cast<HWND>(data)) : nullptr;
    }

    static gboolean OnDraw(GtkWidget*, cairo_t* cr, gpointer data) {
        auto win = Lookup(data);
        if (!win || !win->area) {
            return FALSE;
        }
        int width = gtk_widget_get_allocated_width(win->area);
        int height = gtk_widget_get_allocated_height(win->area);
        if (win->layered) {
            cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
            if (win->layeredSurface.IsValid()) {
                cairo_set_source_surface(
                    cr, static_cast<cairo_surface_t*>(win->layeredSurface.NativeSurface()), 0, 0);
            } else {
                cairo_set_source_rgba(cr, 0, 0, 0, 0);
            }
            cairo_paint(cr);
            return TRUE;
        }
        GdkRectangle clip;
        if (!gdk_cairo_get_clip_rectangle(cr, &clip)) {
            return TRUE;
        }
        CRect update(clip.x, clip.y, clip.x + clip.width, clip.y + clip.height);
        if (win->back.Width() != width || win->back.Height() != height) {
            Bitmap resized(width, height);
            if (win->back.IsValid()) {
                resized.CopyFrom(win->back, win->back.Bounds(), 0, 0);
            }
            win->back = std::move(resized);
            update = CRect(0, 0, width, height);
        }
        if (!win->back.IsValid() || !win->proc) {
            return TRUE;
        }
        {
            Canvas canvas(win->back);
            canvas.IntersectClip(update);
            PaintContext context{update, &canvas};
            win->proc->HandleMessage(win->hwnd, WM_PAINT, 0, reinterpret_cast<LPARAM>(&context));
        }
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_set_source_surface(cr, static_cast<cairo_surface_t*>(win->back.NativeSurface()), 0,
                                 0);
        cairo_rectangle(cr, update.left, update.top, update.Width(), update.Height());
        cairo_fill(cr);
        return TRUE;
    }

    static gboolean OnMotion(GtkWidget*, GdkEventMotion* event, gpointer data) {
        auto win = Lookup(data);
        if (!win) {
            return FALSE;
        }
        POINT pt{static_cast<int>(std::floor(event->x)), static_cast<int>(std::floor(event->y))};
        Self()->DeliverMouse(win->hwnd, WM_MOUSEMOVE, MouseKeys(event->state), pt);
        gdk_event_request_motions(event);
        return TRUE;
    }

    static gboolean OnButtonPress(GtkWidget*, GdkEventButton* event, gpointer data) {
        auto win = Lookup(data);
        GtkPlatform* self = Self();
        if (!win || event->type != GDK_BUTTON_PRESS) {
            return TRUE;  // GDK's own double and triple presses: we count clicks ourselves
        }
        self->DeactivatePopupsExcept(win->hwnd);
        if (win->kind != WindowKind::Popup) {
            gtk_widget_grab_focus(win->area);
        }
        GtkSettings* settings = gtk_widget_get_settings(win->area);
        int doubleTime = 400;
        int doubleDistance = 5;
        g_object_get(settings, "gtk-double-click-time", &doubleTime, "gtk-double-click-distance",
                     &doubleDistance, nullptr);
        bool isDouble = !win->lastWasDouble && win->lastButton == event->button &&
                        event->time - win->lastPressTime <= static_cast<guint32>(doubleTime) &&
                        std::abs(event->x - win->lastPressX) <= doubleDistance &&
                        std::abs(event->y - win->lastPressY) <= doubleDistance;
        win->lastButton = event->button;
        win->lastPressTime = event->time;
        win->lastPressX = event->x;
        win->lastPressY = event->y;
        win->lastPressRootX = event->x_root;
        win->lastPressRootY = event->y_root;
        win->lastWasDouble = isDouble;
        UINT msg = 0;
        switch (event->button) {
            case 1:
                msg = isDouble ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN;
                break;
            case 3:
                msg = isDouble ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN;
                break;
            case 2:
                msg = WM_MBUTTONDOWN;
                break;
            default:
                return TRUE;
        }
        POINT pt{static_cast<int>(std::floor(event->x)), static_cast<int>(std::floor(event->y))};
        self->DeliverMouse(win->hwnd, msg, MouseKeys(event->state) | ButtonFlag(event->button), pt);
        return TRUE;
    }

    static gboolean OnButtonRelease(GtkWidget*, GdkEventButton* event, gpointer data) {
        auto win = Lookup(data);
        if (!win) {
            return TRUE;
        }
        UINT msg = event->button == 1   ? WM_LBUTTONUP
                   : event->button == 3 ? WM_RBUTTONUP
                   : event->button == 2 ? WM_MBUTTONUP
                                        : 0;
        if (msg == 0) {
            return TRUE;
        }
        POINT pt{static_cast<int>(std::floor(event->x)), static_cast<int>(std::floor(event->y))};
        Self()->DeliverMouse(win->hwnd, msg, MouseKeys(event->state) & ~ButtonFlag(event->button),
                             pt);
        return TRUE;
    }

    static gboolean OnScroll(GtkWidget*, GdkEventScroll* event, gpointer data) {
        auto win = Lookup(data);
        if (!win) {
            return TRUE;
        }
        int delta = 0;
        if (event->direction == GDK_SCROLL_UP) {
            delta = WHEEL_DELTA;
        } else if (event->direction == GDK_SCROLL_DOWN) {
            delta = -WHEEL_DELTA;
        } else {
            return TRUE;
        }
        POINT screen{static_cast<int>(std::floor(event->x_root)),
                     static_cast<int>(std::floor(event->y_root))};
        Self()->DeliverWheel(win->hwnd, delta, MouseKeys(event->state), screen);
        return TRUE;
    }

    static gboolean OnLeave(GtkWidget*, GdkEventCrossing* event, gpointer data) {
        auto win = Lookup(data);
        if (win && event->detail != GDK_NOTIFY_INFERIOR && event->mode == GDK_CROSSING_NORMAL) {
            Self()->DeliverPointerLeave(win->hwnd);
        }
        return FALSE;
    }

    static gboolean OnGrabBroken(GtkWidget*, GdkEvent*, gpointer data) {
        auto win = Lookup(data);
        GtkPlatform* self = Self();
        if (win && self->capture_ == win->hwnd) {
            self->capture_ = nullptr;
            self->PostMessage(win->hwnd, WM_CAPTURECHANGED, 0, 0);
        }
        return FALSE;
    }

    static gboolean OnDragMotion(GtkWidget* widget, GdkDragContext* context, gint x, gint y,
                                 guint time, gpointer data) {
        auto win = Lookup(data);
        if (!win || !win->dropTarget) {
            return FALSE;
        }
        DWORD effect = DROPEFFECT_NONE;
        if (gtk_drag_dest_find_target(widget, context, nullptr) != GDK_NONE) {
            const DWORD allowed = EffectsOf(gdk_drag_context_get_actions(context));
            effect = win->dropTarget->OnDragOver(POINT{x, y}, allowed) & allowed;
        }
        // One action: copy when the target takes either.
        const GdkDragAction action = (effect & DROPEFFECT_COPY)   ? GDK_ACTION_COPY
                                     : (effect & DROPEFFECT_MOVE) ? GDK_ACTION_MOVE
                                                                  : static_cast<GdkDragAction>(0);
        gdk_drag_status(context, action, time);
        return TRUE;
    }

    static void OnDragLeave(GtkWidget*, GdkDragContext*, guint, gpointer data) {
        auto win = Lookup(data);
        if (win && win->dropTarget) {
            win->dropTarget->OnDragLeave();
        }
    }

    static gboolean OnDragDrop(GtkWidget* widget, GdkDragContext* context, gint x, gint y,
                               guint time, gpointer data) {
        auto win = Lookup(data);
        if (!win || !win->dropTarget) {
            return FALSE;
        }
        GdkAtom target = gtk_drag_dest_find_target(widget, context, nullptr);
        if (target == GDK_NONE) {
            gtk_drag_finish(context, FALSE, FALSE, time);
            return TRUE;
        }
        win->dropPoint = POINT{x, y};
        gtk_drag_get_data(widget, context, target, time);
        return TRUE;
    }

    static void OnDragDataReceived(GtkWidget*, GdkDragContext* context, gint, gint,
                                   GtkSelectionData* selection, guint, guint time, gpointer data) {
        auto win = Lookup(data);
        if (!win || !win->dropTarget) {
            gtk_drag_finish(context, FALSE, FALSE, time);
            return;
        }
        DropData dropped;
        if (GdkPixbuf* pixbuf = gtk_selection_data_get_pixbuf(selection)) {
            dropped.image = BitmapOf(pixbuf);
            g_object_unref(pixbuf);
        }
        if (gchar** uris = gtk_selection_data_get_uris(selection)) {
            for (gchar** uri = uris; *uri; ++uri) {
                if (gchar* path = g_filename_from_uri(*uri, nullptr, nullptr)) {
                    dropped.files.push_back(CString::FromUtf8(path));
                    g_free(path);
                }
            }
            g_strfreev(uris);
        }
        const bool taken = (dropped.image.IsValid() || !dropped.files.empty()) &&
                           win->dropTarget->OnDropData(win->dropPoint, dropped);
        gtk_drag_finish(context, taken, FALSE, time);
    }

    static void OnDragDataGet(GtkWidget*, GdkDragContext*, GtkSelectionData* selection, guint,
                              guint, gpointer data) {
        auto win = Lookup(data);
        if (!win) {
            return;
        }
        if (GdkPixbuf* pixbuf = PixbufOf(win->dragImage)) {
            gtk_selection_data_set_pixbuf(selection, pixbuf);
            g_object_unref(pixbuf);
        }
    }

    static gboolean OnKey(GtkWidget* widget, GdkEventKey* event, gpointer data) {
        auto win = Lookup(data);
        if (!win) {
            return FALSE;
        }
        GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(widget));
        if (focus && focus != win->area) {
            return FALSE;  // a native edit has the keyboard
        }
        bool down = event->type == GDK_KEY_PRESS;
        // The key's first level gives the code, whatever the modifiers and the layout.
        guint base = event->keyval;
        GdkKeymap* keymap = gdk_keymap_get_for_display(gtk_widget_get_display(widget));
        guint plain = 0;
        if (gdk_keymap_translate_keyboard_state(keymap, event->hardware_keycode,
                                                static_cast<GdkModifierType>(0), 0, &plain, nullptr,
                                                nullptr, nullptr) &&
            KeyvalToVirtualKey(plain) != 0) {
            base = plain;
        }
        int vk = KeyvalToVirtualKey(base);
        if (vk == 0) {
            vk = KeyvalToVirtualKey(event->keyval);
        }
        if (vk == 0) {
            return FALSE;
        }
        char32_t ch = 0;
        if (down && !(event->state & (GDK_CONTROL_MASK | GDK_MOD1_MASK))) {
            ch = gdk_keyval_to_unicode(event->keyval);
        }
        Self()->DeliverKey(win->hwnd, vk, down, ch, static_cast<int>(event->hardware_keycode) - 8);
        return TRUE;
    }

    static gboolean OnConfigure(GtkWidget* widget, GdkEventConfigure* event, gpointer data) {
        auto win = Lookup(data);
        if (!win) {
            return FALSE;
        }
        int x = event->x;
        int y = event->y;
        if (GdkWindow* gdkWindow = gtk_widget_get_window(widget)) {
            gdk_window_get_origin(gdkWindow, &x, &y);
        }
        CRect old;
        Self()->GetWindowRect(win->hwnd, old);
        Self()->DeliverGeometry(win->hwnd, CRect(x, y, x + event->width, y + event->height));
        if (win->roundRegion && (old.Width() != event->width || old.Height() != event->height)) {
            Self()->ApplyRoundRegion(*win);
        }
        return FALSE;
    }

    static gboolean OnWindowState(GtkWidget* widget, GdkEventWindowState* event, gpointer data) {
        auto win = Lookup(data);
        if (win) {
            auto state = event->new_window_state;
            Self()->DeliverShowState(win->hwnd, gtk_widget_get_visible(widget),
                                     (state & GDK_WINDOW_STATE_ICONIFIED) != 0,
                                     (state & GDK_WINDOW_STATE_MAXIMIZED) != 0);
        }
        return FALSE;
    }

    static gboolean OnFocus(GtkWidget*, GdkEventFocus* event, gpointer data) {
        auto win = Lookup(data);
        GtkPlatform* self = Self();
        if (!win) {
            return FALSE;
        }
        bool in = event->in != 0;
        if (!in) {
            self->DeactivatePopupsExcept(nullptr);
        }
        self->DeliverActivation(win->hwnd, in);
        self->DeliverFocus(win->hwnd, in);
        return FALSE;
    }

    static gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer data) {
        if (auto win = Lookup(data)) {
            Self()->DeliverCloseRequest(win->hwnd);
        }
        return TRUE;  // the toolkit decides whether the window goes
    }

    std::thread::id gtkThread_;
};

}  // namespace

std::unique_ptr<Platform> CreateGtkPlatform() {
    static bool initialised = [] {
        // Pop-ups are placed in screen coordinates, which only X11 allows.
        gdk_set_allowed_backends("x11,*");
        return gtk_init_check(nullptr, nullptr) != FALSE;
    }();
    if (!initialised) {
        return nullptr;
    }
    return std::make_unique<GtkPlatform>();
}

void* GetGtkWindowWidget(HWND hwnd) {
    auto* platform = dynamic_cast<GtkPlatform*>(&Platform::Current());
    return platform ? platform->WidgetOf(hwnd) : nullptr;
}

}  // namespace Quorl
