#include "quorl/platform/GtkEdit.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>

#include "quorl/core/Utf8.h"

namespace Quorl {

namespace {

constexpr const char* kRectKey = "quorl-edit-rect";

// Overlay children are placed where their edit says, not where GTK would put them.
gboolean PlaceChild(GtkOverlay*, GtkWidget* child, GdkRectangle* allocation, gpointer) {
    auto* rect = static_cast<CRect*>(g_object_get_data(G_OBJECT(child), kRectKey));
    if (!rect) {
        return FALSE;
    }
    allocation->x = rect->left;
    allocation->y = rect->top;
    allocation->width = std::max(1, rect->Width());
    allocation->height = std::max(1, rect->Height());
    return TRUE;
}

std::string CssColour(DWORD colorref) {
    char text[16];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", colorref & 0xFF, (colorref >> 8) & 0xFF,
                  (colorref >> 16) & 0xFF);
    return text;
}

std::string CssQuoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
        }
        if (c != '\n') {
            out += c;
        }
    }
    return out + "\"";
}

class GtkNativeEdit : public NativeEdit {
public:
    GtkNativeEdit(GtkOverlay* overlay, const NativeEditStyle& style, NativeEditListener* listener)
        : style_(style), listener_(listener) {
        static std::atomic<int> counter{0};
        name_ = "quorl-edit-" + std::to_string(++counter);
        if (style.multiLine) {
            text_ = gtk_text_view_new();
            gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(text_), GTK_WRAP_WORD_CHAR);
            gtk_text_view_set_justification(GTK_TEXT_VIEW(text_),
                                            style.align == EditAlign::Center  ? GTK_JUSTIFY_CENTER
                                            : style.align == EditAlign::Right ? GTK_JUSTIFY_RIGHT
                                                                              : GTK_JUSTIFY_LEFT);
            outer_ = gtk_scrolled_window_new(nullptr, nullptr);
            gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(outer_), GTK_POLICY_NEVER,
                                           GTK_POLICY_AUTOMATIC);
            gtk_container_add(GTK_CONTAINER(outer_), text_);
            GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(text_));
            g_signal_connect(buffer, "changed", G_CALLBACK(OnChanged), this);
            g_signal_connect(buffer, "insert-text", G_CALLBACK(OnBufferInsert), this);
        } else {
            text_ = gtk_entry_new();
            outer_ = text_;
            gtk_entry_set_has_frame(GTK_ENTRY(text_), FALSE);
            gtk_entry_set_alignment(GTK_ENTRY(text_), style.align == EditAlign::Center  ? 0.5f
                                                      : style.align == EditAlign::Right ? 1.0f
                                                                                        : 0.0f);
            g_signal_connect(text_, "changed", G_CALLBACK(OnChanged), this);
            g_signal_connect(text_, "insert-text", G_CALLBACK(OnEntryInsert), this);
            g_signal_connect(text_, "activate", G_CALLBACK(OnActivate), this);
        }
        gtk_widget_set_name(text_, name_.c_str());
        g_signal_connect(text_, "focus-out-event", G_CALLBACK(OnFocusOut), this);
        g_signal_connect(text_, "key-press-event", G_CALLBACK(OnKeyPress), this);
        g_signal_connect(outer_, "destroy", G_CALLBACK(OnDestroyed), this);
        g_object_set_data_full(G_OBJECT(outer_), kRectKey, new CRect(),
                               [](gpointer p) { delete static_cast<CRect*>(p); });
        css_ = gtk_css_provider_new();
        gtk_style_context_add_provider(gtk_widget_get_style_context(text_),
                                       GTK_STYLE_PROVIDER(css_),
                                       GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
        ApplyStyle();
        if (!g_object_get_data(G_OBJECT(overlay), "quorl-placer")) {
            g_signal_connect(overlay, "get-child-position", G_CALLBACK(PlaceChild), nullptr);
            g_object_set_data(G_OBJECT(overlay), "quorl-placer", GINT_TO_POINTER(1));
        }
        gtk_widget_show_all(outer_);
        gtk_widget_hide(outer_);
        gtk_widget_set_no_show_all(outer_, TRUE);
        gtk_overlay_add_overlay(overlay, outer_);
    }

    ~GtkNativeEdit() override {
        if (outer_) {
            g_signal_handlers_disconnect_matched(outer_, G_SIGNAL_MATCH_DATA, 0, 0, nullptr,
                                                 nullptr, this);
            g_signal_handlers_disconnect_matched(text_, G_SIGNAL_MATCH_DATA, 0, 0, nullptr, nullptr,
                                                 this);
            if (style_.multiLine) {
                g_signal_handlers_disconnect_matched(gtk_text_view_get_buffer(GTK_TEXT_VIEW(text_)),
                                                     G_SIGNAL_MATCH_DATA, 0, 0, nullptr, nullptr,
                                                     this);
            }
            gtk_widget_destroy(outer_);
        }
        g_object_unref(css_);
    }

    void SetRect(const CRect& rect) override {
        rect_ = rect;
        if (!outer_) {
            return;
        }
        *static_cast<CRect*>(g_object_get_data(G_OBJECT(outer_), kRectKey)) = rect;
        gtk_widget_set_size_request(outer_, std::max(1, rect.Width()), std::max(1, rect.Height()));
        gtk_widget_queue_resize(outer_);
    }
    CRect GetRect() const override { return rect_; }

    void Show(bool show) override {
        if (outer_) {
            gtk_widget_set_visible(outer_, show);
        }
    }
    bool IsVisible() const override { return outer_ && gtk_widget_get_visible(outer_); }

    void Focus() override {
        if (outer_ && gtk_widget_get_visible(outer_)) {
            gtk_widget_grab_focus(text_);
        }
    }
    bool HasFocus() const override {
        if (!outer_) {
            return false;
        }
        GtkWidget* toplevel = gtk_widget_get_toplevel(text_);
        return gtk_widget_has_focus(text_) && GTK_IS_WINDOW(toplevel) &&
               gtk_window_is_active(GTK_WINDOW(toplevel));
    }

    void SetText(const std::wstring& text) override {
        if (!outer_) {
            return;
        }
        std::wstring cut = limit_ > 0 && static_cast<int>(text.size()) > limit_
                               ? text.substr(0, static_cast<std::size_t>(limit_))
                               : text;
        std::string utf8 = WideToUtf8(cut);
        fromCode_ = true;
        if (style_.multiLine) {
            gtk_text_buffer_set_text(gtk_text_view_get_buffer(GTK_TEXT_VIEW(text_)), utf8.c_str(),
                                     -1);
        } else {
            gtk_entry_set_text(GTK_ENTRY(text_), utf8.c_str());
        }
        fromCode_ = false;
    }

    std::wstring GetText() const override {
        if (!outer_) {
            return {};
        }
        if (style_.multiLine) {
            GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(text_));
            GtkTextIter start, end;
            gtk_text_buffer_get_bounds(buffer, &start, &end);
            gchar* text = gtk_text_buffer_get_text(buffer, &start, &end, FALSE);
            std::wstring result = Utf8ToWide(text);
            g_free(text);
            return result;
        }
        return Utf8ToWide(gtk_entry_get_text(GTK_ENTRY(text_)));
    }

    void SetSelection(int start, int end) override {
        if (!outer_) {
            return;
        }
        if (style_.multiLine) {
            GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(text_));
            GtkTextIter from, to;
            gtk_text_buffer_get_iter_at_offset(buffer, &from, start);
            gtk_text_buffer_get_iter_at_offset(buffer, &to, end);
            gtk_text_buffer_select_range(buffer, &to, &from);
        } else {
            gtk_editable_select_region(GTK_EDITABLE(text_), start, end);
        }
    }

    void SetFont(const std::wstring& face, int pixelSize, bool bold, bool italic) override {
        face_ = WideToUtf8(face);
        size_ = pixelSize;
        bold_ = bold;
        italic_ = italic;
        ApplyStyle();
    }

    void SetColours(DWORD text, DWORD background) override {
        textColour_ = text;
        backColour_ = background;
        ApplyStyle();
    }

    void SetLimit(int characters) override {
        limit_ = std::max(0, characters);
        if (outer_ && !style_.multiLine) {
            gtk_entry_set_max_length(GTK_ENTRY(text_), limit_);
        }
    }
    int GetLimit() const override { return limit_; }

    void SetPasswordChar(wchar_t ch) override {
        if (outer_ && !style_.multiLine) {
            gtk_entry_set_visibility(GTK_ENTRY(text_), ch == 0);
            if (ch != 0) {
                gtk_entry_set_invisible_char(GTK_ENTRY(text_), static_cast<gunichar>(ch));
            }
        }
    }

    void SetReadOnly(bool readOnly) override {
        if (!outer_) {
            return;
        }
        if (style_.multiLine) {
            gtk_text_view_set_editable(GTK_TEXT_VIEW(text_), !readOnly);
        } else {
            gtk_editable_set_editable(GTK_EDITABLE(text_), !readOnly);
        }
    }

    void SetDigitsOnly(bool digitsOnly) override {
        digitsOnly_ = digitsOnly;
        if (outer_ && !style_.multiLine) {
            gtk_entry_set_input_purpose(GTK_ENTRY(text_), digitsOnly ? GTK_INPUT_PURPOSE_DIGITS
                                                                     : GTK_INPUT_PURPOSE_FREE_FORM);
        }
    }

    void SetAcceptChars(bool accept) override { acceptChars_ = accept; }

    void SetEnabled(bool enabled) override {
        if (outer_) {
            gtk_widget_set_sensitive(outer_, enabled);
        }
    }

private:
    void ApplyStyle() {
        std::string css = "#" + name_ + ", #" + name_ +
                          " text { border: none; box-shadow: none; border-radius: 0; padding: 0; "
                          "margin: 0; min-height: 0; outline: none;";
        if (!face_.empty()) {
            css += " font-family: " + CssQuoted(face_) + ";";
        }
        if (size_ > 0) {
            css += " font-size: " + std::to_string(size_) + "px;";
        }
        css += bold_ ? " font-weight: bold;" : " font-weight: normal;";
        css += italic_ ? " font-style: italic;" : " font-style: normal;";
        if (textColour_ != kDefaultColour) {
            css += " color: " + CssColour(textColour_) +
                   "; caret-color: " + CssColour(textColour_) + ";";
        }
        if (backColour_ != kDefaultColour) {
            css += " background: " + CssColour(backColour_) + ";";
        }
        css += " }";
        gtk_css_provider_load_from_data(css_, css.c_str(), -1, nullptr);
    }

    // What typing may add: nothing while characters are swallowed, digits only when asked,
    // and no more than the limit (the entry limits itself; the text view does not).
    std::string Filter(const gchar* text, gint length, int currentLength) const {
        std::string input(text, length < 0 ? std::strlen(text) : static_cast<std::size_t>(length));
        if (fromCode_) {
            return input;
        }
        if (!acceptChars_) {
            return {};
        }
        std::wstring wide = Utf8ToWide(input);
        std::wstring kept;
        for (wchar_t ch : wide) {
            if (digitsOnly_ && (ch < L'0' || ch > L'9')) {
                continue;
            }
            kept += ch;
        }
        if (style_.multiLine && limit_ > 0) {
            int room = std::max(0, limit_ - currentLength);
            if (static_cast<int>(kept.size()) > room) {
                kept.resize(static_cast<std::size_t>(room));
            }
        }
        return WideToUtf8(kept);
    }

    static void OnEntryInsert(GtkEditable* editable, const gchar* text, gint length, gint* position,
                              gpointer data) {
        auto* self = static_cast<GtkNativeEdit*>(data);
        std::string kept = self->Filter(text, length, 0);
        if (kept.size() == static_cast<std::size_t>(length < 0 ? std::strlen(text) : length)) {
            return;
        }
        g_signal_stop_emission_by_name(editable, "insert-text");
        if (!kept.empty()) {
            g_signal_handlers_block_by_func(editable, reinterpret_cast<gpointer>(OnEntryInsert),
                                            data);
            gtk_editable_insert_text(editable, kept.c_str(), static_cast<gint>(kept.size()),
                                     position);
            g_signal_handlers_unblock_by_func(editable, reinterpret_cast<gpointer>(OnEntryInsert),
                                              data);
        }
    }

    static void OnBufferInsert(GtkTextBuffer* buffer, GtkTextIter* location, const gchar* text,
                               gint length, gpointer data) {
        auto* self = static_cast<GtkNativeEdit*>(data);
        std::string kept = self->Filter(text, length, gtk_text_buffer_get_char_count(buffer));
        if (kept.size() == static_cast<std::size_t>(length < 0 ? std::strlen(text) : length)) {
            return;
        }
        g_signal_stop_emission_by_name(buffer, "insert-text");
        if (!kept.empty()) {
            g_signal_handlers_block_by_func(buffer, reinterpret_cast<gpointer>(OnBufferInsert),
                                            data);
            gtk_text_buffer_insert(buffer, location, kept.c_str(), static_cast<gint>(kept.size()));
            g_signal_handlers_unblock_by_func(buffer, reinterpret_cast<gpointer>(OnBufferInsert),
                                              data);
        }
    }

    static void OnChanged(gpointer, gpointer data) {
        auto* self = static_cast<GtkNativeEdit*>(data);
        if (self->listener_) {
            self->listener_->OnEditChanged();
        }
    }

    static void OnActivate(GtkEntry*, gpointer data) {
        auto* self = static_cast<GtkNativeEdit*>(data);
        if (self->listener_) {
            self->listener_->OnEditEnter();
        }
    }

    static gboolean OnKeyPress(GtkWidget*, GdkEventKey* event, gpointer data) {
        auto* self = static_cast<GtkNativeEdit*>(data);
        if (event->keyval == GDK_KEY_Escape) {
            if (self->listener_) {
                self->listener_->OnEditEscape();
            }
            return TRUE;
        }
        return FALSE;
    }

    static gboolean OnFocusOut(GtkWidget*, GdkEventFocus*, gpointer data) {
        auto* self = static_cast<GtkNativeEdit*>(data);
        if (self->listener_) {
            self->listener_->OnEditKillFocus();
        }
        return FALSE;
    }

    // The host window went first: the edit stays, inert.
    static void OnDestroyed(GtkWidget*, gpointer data) {
        auto* self = static_cast<GtkNativeEdit*>(data);
        self->outer_ = nullptr;
        self->text_ = nullptr;
    }

    NativeEditStyle style_;
    NativeEditListener* listener_;
    GtkWidget* outer_ = nullptr;
    GtkWidget* text_ = nullptr;
    GtkCssProvider* css_ = nullptr;
    std::string name_;
    CRect rect_;
    std::string face_;
    int size_ = 0;
    bool bold_ = false;
    bool italic_ = false;
    DWORD textColour_ = kDefaultColour;
    DWORD backColour_ = kDefaultColour;
    int limit_ = 0;
    bool digitsOnly_ = false;
    bool acceptChars_ = true;
    bool fromCode_ = false;
};

}  // namespace

std::unique_ptr<NativeEdit> CreateGtkEdit(void* overlay, const NativeEditStyle& style,
                                          NativeEditListener* listener) {
    if (!overlay || !GTK_IS_OVERLAY(overlay)) {
        return nullptr;
    }
    return std::make_unique<GtkNativeEdit>(GTK_OVERLAY(overlay), style, listener);
}

}  // namespace Quorl
