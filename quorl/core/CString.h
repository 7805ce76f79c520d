#pragma once

#include <cstdarg>
#include <string>
#include <string_view>

namespace Quorl {

// The toolkit's text: a wide string with value semantics. It is a std::wstring, so it passes
// wherever one is expected, and it converts to const wchar_t* for the C-style interfaces.
// Positions and counts are in wchar_t; searches answer -1 when nothing is found; Left, Mid and
// Right clamp their arguments instead of failing.
class CString : public std::wstring {
public:
    CString() = default;
    CString(const wchar_t* text) : std::wstring(text ? text : L"") {}
    CString(const wchar_t* text, int length);
    CString(wchar_t ch, int repeat = 1) : std::wstring(repeat > 0 ? repeat : 0, ch) {}
    CString(const std::wstring& text) : std::wstring(text) {}
    CString(std::wstring&& text) : std::wstring(std::move(text)) {}
    explicit CString(std::wstring_view text) : std::wstring(text) {}

    static CString FromUtf8(std::string_view utf8);
    std::string ToUtf8() const;

    operator const wchar_t*() const { return c_str(); }
    const wchar_t* GetString() const { return c_str(); }

    int GetLength() const { return static_cast<int>(size()); }
    bool IsEmpty() const { return empty(); }
    void Empty() { clear(); }
    // Out-of-range positions read as 0 and write nothing.
    wchar_t GetAt(int index) const;
    void SetAt(int index, wchar_t ch);

    // printf-style formatting with the toolkit's conventions: %s and %c take wide arguments
    // (%hs and %hc narrow ones), as in every format text of the program.
    void Format(const wchar_t* format, ...);
    void AppendFormat(const wchar_t* format, ...);
    void FormatV(const wchar_t* format, va_list args);
    static CString Formatted(const wchar_t* format, ...);

    int Find(wchar_t ch, int start = 0) const;
    int Find(const wchar_t* sub, int start = 0) const;
    int ReverseFind(wchar_t ch) const;
    int FindOneOf(const wchar_t* chars) const;

    CString Left(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Right(int count) const;

    // Both answer the number of replacements; an empty search text replaces nothing.
    int Replace(wchar_t from, wchar_t to);
    int Replace(const wchar_t* from, const wchar_t* to);
    int Remove(wchar_t ch);
    int Insert(int index, const wchar_t* text);
    int Delete(int index, int count = 1);

    CString& MakeUpper();
    CString& MakeLower();
    CString& MakeReverse();
    CString& Trim();
    CString& TrimLeft();
    CString& TrimRight();
    CString& Trim(const wchar_t* chars);
    CString& TrimLeft(const wchar_t* chars);
    CString& TrimRight(const wchar_t* chars);

    // <0, 0 or >0, ordinal; the no-case form folds letters through towlower.
    int Compare(const wchar_t* other) const;
    int CompareNoCase(const wchar_t* other) const;

    CString& operator+=(const wchar_t* text) {
        append(text ? text : L"");
        return *this;
    }
    CString& operator+=(const std::wstring& text) {
        append(text);
        return *this;
    }
    CString& operator+=(wchar_t ch) {
        push_back(ch);
        return *this;
    }
};

inline CString operator+(const CString& a, const CString& b) {
    CString r(a);
    return r += b;
}
inline CString operator+(const CString& a, const wchar_t* b) {
    CString r(a);
    return r += b;
}
inline CString operator+(const wchar_t* a, const CString& b) {
    CString r(a);
    return r += b;
}
inline CString operator+(const CString& a, wchar_t b) {
    CString r(a);
    return r += b;
}

}  // namespace Quorl
