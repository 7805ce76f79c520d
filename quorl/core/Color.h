#pragma once

#include "quorl/core/BaseTypes.h"

namespace Quorl {

// Two colour conventions meet in the toolkit: toolkit drawing uses 32-bit ARGB (0xAARRGGBB,
// not premultiplied); window backgrounds, native text and stored colour values use COLORREF
// (0x00BBGGRR).
using ARGB = DWORD;
using COLORREF = DWORD;

constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b) {
    return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) |
           (static_cast<COLORREF>(b) << 16);
}
constexpr BYTE GetRValue(COLORREF c) {
    return static_cast<BYTE>(c & 0xFF);
}
constexpr BYTE GetGValue(COLORREF c) {
    return static_cast<BYTE>((c >> 8) & 0xFF);
}
constexpr BYTE GetBValue(COLORREF c) {
    return static_cast<BYTE>((c >> 16) & 0xFF);
}

// ARGB to COLORREF: red and blue swap, alpha is dropped.
constexpr COLORREF ArgbToColorref(ARGB argb) {
    return RGB(static_cast<BYTE>(argb >> 16), static_cast<BYTE>(argb >> 8),
               static_cast<BYTE>(argb));
}
// COLORREF to ARGB; window backgrounds use alpha 254 so that they never read as the
// transparent colour of layered drawing.
constexpr BYTE kWindowBackgroundAlpha = 254;
constexpr ARGB ColorrefToArgb(COLORREF c, BYTE alpha = kWindowBackgroundAlpha) {
    return (static_cast<ARGB>(alpha) << 24) | (static_cast<ARGB>(GetRValue(c)) << 16) |
           (static_cast<ARGB>(GetGValue(c)) << 8) | GetBValue(c);
}

class Color {
public:
    constexpr Color() = default;
    constexpr Color(ARGB argb) : m_argb(argb) {}
    constexpr Color(BYTE r, BYTE g, BYTE b) : Color(255, r, g, b) {}
    constexpr Color(BYTE a, BYTE r, BYTE g, BYTE b)
        : m_argb((static_cast<ARGB>(a) << 24) | (static_cast<ARGB>(r) << 16) |
                 (static_cast<ARGB>(g) << 8) | b) {}

    static constexpr Color FromCOLORREF(COLORREF c, BYTE alpha = 255) {
        return Color(ColorrefToArgb(c, alpha));
    }

    constexpr ARGB GetValue() const { return m_argb; }
    void SetValue(ARGB argb) { m_argb = argb; }
    // Alpha 255 with the COLORREF's red, green and blue.
    void SetFromCOLORREF(COLORREF c) { m_argb = ColorrefToArgb(c, 255); }
    constexpr COLORREF ToCOLORREF() const { return ArgbToColorref(m_argb); }

    constexpr BYTE GetA() const { return static_cast<BYTE>(m_argb >> 24); }
    constexpr BYTE GetR() const { return static_cast<BYTE>(m_argb >> 16); }
    constexpr BYTE GetG() const { return static_cast<BYTE>(m_argb >> 8); }
    constexpr BYTE GetB() const { return static_cast<BYTE>(m_argb); }
    constexpr BYTE GetAlpha() const { return GetA(); }
    constexpr BYTE GetRed() const { return GetR(); }
    constexpr BYTE GetGreen() const { return GetG(); }
    constexpr BYTE GetBlue() const { return GetB(); }

    friend constexpr bool operator==(Color a, Color b) { return a.m_argb == b.m_argb; }

private:
    ARGB m_argb = 0xFF000000;
};

}  // namespace Quorl
