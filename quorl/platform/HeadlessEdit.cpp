#include "quorl/platform/HeadlessEdit.h"

#include <algorithm>

namespace Quorl {

HeadlessEdit::HeadlessEdit(const NativeEditStyle& style, NativeEditListener* listener)
    : style_(style), listener_(listener) {}

void HeadlessEdit::Show(bool show) {
    visible_ = show;
    if (!show && focused_) {
        LoseFocus();
    }
}

void HeadlessEdit::Focus() {
    if (visible_ && enabled_) {
        focused_ = true;
    }
}

void HeadlessEdit::SetText(const std::wstring& text) {
    std::wstring cut = limit_ > 0 && static_cast<int>(text.size()) > limit_
                           ? text.substr(0, static_cast<std::size_t>(limit_))
                           : text;
    if (!style_.multiLine) {
        cut.erase(std::remove(cut.begin(), cut.end(), L'\n'), cut.end());
    }
    bool changed = cut != text_;
    text_ = cut;
    selStart_ = selEnd_ = static_cast<int>(text_.size());
    if (changed && listener_) {
        listener_->OnEditChanged();
    }
}

void HeadlessEdit::SetSelection(int start, int end) {
    int length = static_cast<int>(text_.size());
    selStart_ = std::clamp(start, 0, length);
    selEnd_ = end < 0 ? length : std::clamp(end, selStart_, length);
}

void HeadlessEdit::SetFont(const std::wstring& face, int pixelSize, bool, bool) {
    fontFace_ = face;
    fontSize_ = pixelSize;
}

void HeadlessEdit::SetColours(DWORD text, DWORD background) {
    textColour_ = text;
    backColour_ = background;
}

void HeadlessEdit::Type(const std::wstring& chars) {
    if (!visible_ || !focused_ || !enabled_ || readOnly_ || !acceptChars_) {
        return;
    }
    std::wstring accepted;
    for (wchar_t ch : chars) {
        if (digitsOnly_ && (ch < L'0' || ch > L'9')) {
            continue;
        }
        if (ch == L'\n' && !style_.multiLine) {
            continue;
        }
        accepted += ch;
    }
    int room = limit_ > 0 ? limit_ - (static_cast<int>(text_.size()) - (selEnd_ - selStart_))
                          : static_cast<int>(accepted.size());
    if (room < static_cast<int>(accepted.size())) {
        accepted.resize(static_cast<std::size_t>(std::max(room, 0)));
    }
    if (accepted.empty()) {
        return;
    }
    text_.replace(static_cast<std::size_t>(selStart_),
                  static_cast<std::size_t>(selEnd_ - selStart_), accepted);
    selStart_ = selEnd_ = selStart_ + static_cast<int>(accepted.size());
    if (listener_) {
        listener_->OnEditChanged();
    }
}

void HeadlessEdit::PressEnter() {
    if (!focused_) {
        return;
    }
    if (style_.multiLine) {
        Type(L"\n");
    } else if (listener_) {
        listener_->OnEditEnter();
    }
}

void HeadlessEdit::PressEscape() {
    if (focused_ && listener_) {
        listener_->OnEditEscape();
    }
}

void HeadlessEdit::LoseFocus() {
    if (!focused_) {
        return;
    }
    focused_ = false;
    if (listener_) {
        listener_->OnEditKillFocus();
    }
}

std::wstring HeadlessEdit::DisplayedText() const {
    if (passwordChar_ != 0) {
        return std::wstring(text_.size(), passwordChar_);
    }
    return text_;
}

}  // namespace Quorl
