#pragma once

#include <string>

#include "quorl/core/BaseTypes.h"
#include "quorl/core/Geometry.h"

namespace Quorl {

enum class EditAlign { Left, Center, Right };

struct NativeEditStyle {
    bool multiLine = false;
    EditAlign align = EditAlign::Left;
};

// Told about what the user does in a native edit; called on the UI thread.
class NativeEditListener {
public:
    virtual ~NativeEditListener() = default;
    virtual void OnEditChanged() {}
    virtual void OnEditKillFocus() {}
    // Enter in a single-line edit (in a multi-line one Enter starts a new line).
    virtual void OnEditEnter() {}
    virtual void OnEditEscape() {}
};

// A native text entry placed over a region of its host window: real input methods, selection
// and clipboard. Colours are COLORREF (0x00BBGGRR); kDefaultColour keeps the platform's.
class NativeEdit {
public:
    static constexpr DWORD kDefaultColour = 0xFFFFFFFF;

    virtual ~NativeEdit() = default;

    // Client coordinates of the host window.
    virtual void SetRect(const CRect& rect) = 0;
    virtual CRect GetRect() const = 0;
    virtual void Show(bool show) = 0;
    virtual bool IsVisible() const = 0;
    virtual void Focus() = 0;
    virtual bool HasFocus() const = 0;

    // Changes made here notify OnEditChanged as typing does.
    virtual void SetText(const std::wstring& text) = 0;
    virtual std::wstring GetText() const = 0;
    // start..end in characters, end -1 = to the end of the text.
    virtual void SetSelection(int start, int end) = 0;

    virtual void SetFont(const std::wstring& face, int pixelSize, bool bold, bool italic) = 0;
    virtual void SetColours(DWORD text, DWORD background) = 0;
    // Most characters the user can enter; 0 = no limit. A longer text set by code is cut.
    virtual void SetLimit(int characters) = 0;
    virtual int GetLimit() const = 0;
    // Shows this character for every one typed; 0 shows the text.
    virtual void SetPasswordChar(wchar_t ch) = 0;
    virtual void SetReadOnly(bool readOnly) = 0;
    virtual void SetDigitsOnly(bool digitsOnly) = 0;
    // When false every typed character is swallowed (keys still move the caret).
    virtual void SetAcceptChars(bool accept) = 0;
    virtual void SetEnabled(bool enabled) = 0;
};

}  // namespace Quorl
