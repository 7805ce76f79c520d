#pragma once

#include <string>

#include "quorl/platform/NativeEdit.h"

namespace Quorl {

// The headless native edit: it keeps the state a real entry would show and lets tests type
// into it. It follows the same rules for the limit, digits only, read-only and swallowed
// characters as the real one.
class HeadlessEdit : public NativeEdit {
public:
    HeadlessEdit(const NativeEditStyle& style, NativeEditListener* listener);

    void SetRect(const CRect& rect) override { rect_ = rect; }
    CRect GetRect() const override { return rect_; }
    void Show(bool show) override;
    bool IsVisible() const override { return visible_; }
    void Focus() override;
    bool HasFocus() const override { return focused_; }
    void SetText(const std::wstring& text) override;
    std::wstring GetText() const override { return text_; }
    void SetSelection(int start, int end) override;
    void SetFont(const std::wstring& face, int pixelSize, bool bold, bool italic) override;
    void SetColours(DWORD text, DWORD background) override;
    void SetLimit(int characters) override { limit_ = characters < 0 ? 0 : characters; }
    int GetLimit() const override { return limit_; }
    void SetPasswordChar(wchar_t ch) override { passwordChar_ = ch; }
    void SetReadOnly(bool readOnly) override { readOnly_ = readOnly; }
    void SetDigitsOnly(bool digitsOnly) override { digitsOnly_ = digitsOnly; }
    void SetAcceptChars(bool accept) override { acceptChars_ = accept; }
    void SetEnabled(bool enabled) override { enabled_ = enabled; }

    // ---- for tests ----
    // Types the characters at the caret, replacing the selection, as a user would.
    void Type(const std::wstring& chars);
    void PressEnter();
    void PressEscape();
    void LoseFocus();
    // What the entry shows (password characters instead of the text).
    std::wstring DisplayedText() const;
    int SelectionStart() const { return selStart_; }
    int SelectionEnd() const { return selEnd_; }
    std::wstring FontFace() const { return fontFace_; }
    int FontSize() const { return fontSize_; }
    DWORD TextColour() const { return textColour_; }
    DWORD BackgroundColour() const { return backColour_; }
    bool IsMultiLine() const { return style_.multiLine; }

private:
    NativeEditStyle style_;
    NativeEditListener* listener_;
    CRect rect_;
    std::wstring text_;
    int selStart_ = 0;
    int selEnd_ = 0;
    bool visible_ = false;
    bool focused_ = false;
    std::wstring fontFace_;
    int fontSize_ = 0;
    DWORD textColour_ = kDefaultColour;
    DWORD backColour_ = kDefaultColour;
    int limit_ = 0;
    wchar_t passwordChar_ = 0;
    bool readOnly_ = false;
    bool digitsOnly_ = false;
    bool acceptChars_ = true;
    bool enabled_ = true;
};

}  // namespace Quorl
