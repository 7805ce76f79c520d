#include "quorl/core/CString.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <vector>

#include "quorl/core/Utf8.h"

namespace Quorl {

namespace {

// Rewrites a format text so that the C library reads it the toolkit's way: a bare %s or %c
// becomes %ls or %lc, and %hs, %hc, %S and %C name narrow arguments.
std::wstring ToLibraryFormat(const wchar_t* format) {
    std::wstring out;
    for (const wchar_t* p = format; *p;) {
        if (*p != L'%') {
            out += *p++;
            continue;
        }
        out += *p++;
        if (*p == L'%') {
            out += *p++;
            continue;
        }
        // Flags, width, precision; then the length modifier and the conversion.
        while (*p && std::wcschr(L"-+ #0123456789.*'", *p)) {
            out += *p++;
        }
        std::wstring length;
        while (*p && std::wcschr(L"hlLqjzt", *p)) {
            length += *p++;
        }
        const wchar_t conversion = *p;
        if (!conversion) {
            break;
        }
        ++p;
        if (conversion == L's' || conversion == L'c') {
            out += (length == L"h") ? L"" : L"l";
            out += conversion;
        } else if (conversion == L'S' || conversion == L'C') {
            out += static_cast<wchar_t>(std::towlower(conversion));
        } else {
            out += length;
            out += conversion;
        }
    }
    return out;
}

bool InSet(wchar_t ch, const wchar_t* chars) {
    return chars && std::wcschr(chars, ch) != nullptr && ch != 0;
}

}  // namespace

CString::CString(const wchar_t* text, int length) {
    if (text && length > 0) {
        assign(text, static_cast<size_t>(length));
    }
}

CString CString::FromUtf8(std::string_view utf8) {
    return CString(Utf8ToWide(utf8));
}

std::string CString::ToUtf8() const {
    return WideToUtf8(*this);
}

wchar_t CString::GetAt(int index) const {
    return (index >= 0 && index < GetLength()) ? (*this)[static_cast<size_t>(index)] : 0;
}

void CString::SetAt(int index, wchar_t ch) {
    if (index >= 0 && index < GetLength()) {
        (*this)[static_cast<size_t>(index)] = ch;
    }
}

void CString::FormatV(const wchar_t* format, va_list args) {
    clear();
    if (!format) {
        return;
    }
    const std::wstring libraryFormat = ToLibraryFormat(format);
    std::vector<wchar_t> buffer(256);
    for (;;) {
        va_list copy;
        va_copy(copy, args);
        const int written =
            std::vswprintf(buffer.data(), buffer.size(), libraryFormat.c_str(), copy);
        va_end(copy);
        if (written >= 0) {
            assign(buffer.data(), static_cast<size_t>(written));
            return;
        }
        // vswprintf reports overflow and encoding errors alike; give up at a sane size.
        if (buffer.size() >= (1u << 24)) {
            return;
        }
        buffer.resize(buffer.size() * 4);
    }
}

void CString::Format(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::AppendFormat(const wchar_t* format, ...) {
    CString tail;
    va_list args;
    va_start(args, format);
    tail.FormatV(format, args);
    va_end(args);
    append(tail);
}

CString CString::Formatted(const wchar_t* format, ...) {
    CString result;
    va_list args;
    va_start(args, format);
    result.FormatV(format, args);
    va_end(args);
    return result;
}

int CString::Find(wchar_t ch, int start) const {
    if (start < 0 || start >= GetLength()) {
        return -1;
    }
    const size_t at = find(ch, static_cast<size_t>(start));
    return at == npos ? -1 : static_cast<int>(at);
}

int CString::Find(const wchar_t* sub, int start) const {
    if (!sub || start < 0 || start > GetLength()) {
        return -1;
    }
    const size_t at = find(sub, static_cast<size_t>(start));
    return at == npos ? -1 : static_cast<int>(at);
}

int CString::ReverseFind(wchar_t ch) const {
    const size_t at = rfind(ch);
    return at == npos ? -1 : static_cast<int>(at);
}

int CString::FindOneOf(const wchar_t* chars) const {
    if (!chars || !*chars) {
        return -1;
    }
    const size_t at = find_first_of(chars);
    return at == npos ? -1 : static_cast<int>(at);
}

CString CString::Left(int count) const {
    return CString(substr(0, static_cast<size_t>(std::clamp(count, 0, GetLength()))));
}

CString CString::Mid(int first) const {
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const {
    first = std::clamp(first, 0, GetLength());
    count = std::clamp(count, 0, GetLength() - first);
    return CString(substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

CString CString::Right(int count) const {
    count = std::clamp(count, 0, GetLength());
    return CString(substr(static_cast<size_t>(GetLength() - count)));
}

int CString::Replace(wchar_t from, wchar_t to) {
    int count = 0;
    for (wchar_t& ch : *this) {
        if (ch == from) {
            ch = to;
            ++count;
        }
    }
    return count;
}

int CString::Replace(const wchar_t* from, const wchar_t* to) {
    if (!from || !*from) {
        return 0;
    }
    const std::wstring_view search(from);
    const std::wstring_view replacement(to ? to : L"");
    std::wstring out;
    int count = 0;
    size_t pos = 0;
    for (size_t at; (at = find(search, pos)) != npos; pos = at + search.size()) {
        out.append(*this, pos, at - pos);
        out.append(replacement);
        ++count;
    }
    if (count) {
        out.append(*this, pos);
        assign(std::move(out));
    }
    return count;
}

int CString::Remove(wchar_t ch) {
    const size_t before = size();
    erase(std::remove(begin(), end(), ch), end());
    return static_cast<int>(before - size());
}

int CString::Insert(int index, const wchar_t* text) {
    index = std::clamp(index, 0, GetLength());
    if (text) {
        insert(static_cast<size_t>(index), text);
    }
    return GetLength();
}

int CString::Delete(int index, int count) {
    if (index >= 0 && index < GetLength() && count > 0) {
        erase(static_cast<size_t>(index), static_cast<size_t>(count));
    }
    return GetLength();
}

CString& CString::MakeUpper() {
    for (wchar_t& ch : *this) {
        ch = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(ch)));
    }
    return *this;
}

CString& CString::MakeLower() {
    for (wchar_t& ch : *this) {
        ch = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(ch)));
    }
    return *this;
}

CString& CString::MakeReverse() {
    std::reverse(begin(), end());
    return *this;
}

CString& CString::Trim() {
    return TrimRight().TrimLeft();
}

CString& CString::TrimLeft() {
    size_t n = 0;
    while (n < size() && std::iswspace(static_cast<wint_t>((*this)[n]))) {
        ++n;
    }
    erase(0, n);
    return *this;
}

CString& CString::TrimRight() {
    size_t n = size();
    while (n > 0 && std::iswspace(static_cast<wint_t>((*this)[n - 1]))) {
        --n;
    }
    erase(n);
    return *this;
}

CString& CString::Trim(const wchar_t* chars) {
    return TrimRight(chars).TrimLeft(chars);
}

CString& CString::TrimLeft(const wchar_t* chars) {
    size_t n = 0;
    while (n < size() && InSet((*this)[n], chars)) {
        ++n;
    }
    erase(0, n);
    return *this;
}

CString& CString::TrimRight(const wchar_t* chars) {
    size_t n = size();
    while (n > 0 && InSet((*this)[n - 1], chars)) {
        --n;
    }
    erase(n);
    return *this;
}

int CString::Compare(const wchar_t* other) const {
    return compare(other ? other : L"");
}

int CString::CompareNoCase(const wchar_t* other) const {
    const wchar_t* a = c_str();
    const wchar_t* b = other ? other : L"";
    const size_t na = size(), nb = std::wcslen(b);
    for (size_t i = 0; i < na && i < nb; ++i) {
        const wint_t ca = std::towlower(static_cast<wint_t>(a[i]));
        const wint_t cb = std::towlower(static_cast<wint_t>(b[i]));
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
    }
    return na == nb ? 0 : (na < nb ? -1 : 1);
}

}  // namespace Quorl
