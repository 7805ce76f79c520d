#pragma once

#include "quorl/core/BaseTypes.h"
#include "quorl/core/CString.h"

namespace Quorl {

enum FontStyle : int {
    FontStyleRegular = 0,
    FontStyleBold = 1,
    FontStyleItalic = 2,
    FontStyleBoldItalic = 3,
    FontStyleUnderline = 4,
    FontStyleStrikeout = 8,
};

// A font family known to the text renderer by name: an installed face or one of the
// application fonts the toolkit registers (see PaintManager's font registry).
class FontFamily {
public:
    FontFamily() = default;
    explicit FontFamily(const CString& name) : m_name(name) {}
    const CString& GetFamilyName() const { return m_name; }
    bool IsValid() const { return !m_name.IsEmpty(); }

private:
    CString m_name;
};

// A face name, a pixel height and a style.
class Font {
public:
    Font() = default;
    Font(const CString& face, int pixelSize, int style = FontStyleRegular)
        : m_face(face), m_size(pixelSize), m_style(style) {}
    Font(const FontFamily& family, int pixelSize, int style = FontStyleRegular)
        : Font(family.GetFamilyName(), pixelSize, style) {}

    const CString& GetFace() const { return m_face; }
    int GetSize() const { return m_size; }
    int GetStyle() const { return m_style; }
    bool IsBold() const { return m_style & FontStyleBold; }
    bool IsItalic() const { return m_style & FontStyleItalic; }
    bool IsUnderline() const { return m_style & FontStyleUnderline; }
    bool IsStrikeout() const { return m_style & FontStyleStrikeout; }

    friend bool operator==(const Font& a, const Font& b) {
        return a.m_face == b.m_face && a.m_size == b.m_size && a.m_style == b.m_style;
    }

private:
    CString m_face = L"Arial";
    int m_size = 14;
    int m_style = FontStyleRegular;
};

}  // namespace Quorl
