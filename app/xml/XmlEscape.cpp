#include "app/xml/XmlEscape.h"

#include <array>

namespace {

struct NamedReference {
    std::wstring_view name;  // between '&' and ';'
    wchar_t character;
};

constexpr std::array<NamedReference, 5> kNamedReferences{{
    {L"lt", L'<'},
    {L"gt", L'>'},
    {L"amp", L'&'},
    {L"apos", L'\''},
    {L"quot", L'"'},
}};

// A numeric reference body ("#65", "#x41") as a code point, or -1.
long NumericReference(std::wstring_view body) {
    if (body.size() < 2 || body[0] != L'#') {
        return -1;
    }
    size_t i = 1;
    int base = 10;
    if (body[1] == L'x' || body[1] == L'X') {
        base = 16;
        i = 2;
    }
    if (i >= body.size()) {
        return -1;
    }
    long value = 0;
    for (; i < body.size(); ++i) {
        const wchar_t c = body[i];
        int digit;
        if (c >= L'0' && c <= L'9') {
            digit = c - L'0';
        } else if (base == 16 && c >= L'a' && c <= L'f') {
            digit = c - L'a' + 10;
        } else if (base == 16 && c >= L'A' && c <= L'F') {
            digit = c - L'A' + 10;
        } else {
            return -1;
        }
        value = value * base + digit;
        if (value > 0x10FFFF) {
            return -1;
        }
    }
    if (value == 0 || (value >= 0xD800 && value <= 0xDFFF)) {
        return -1;
    }
    return value;
}

}  // namespace

std::wstring EscapeXmlAttribute(std::wstring_view value) {
    std::wstring out;
    out.reserve(value.size() + 8);
    for (const wchar_t c : value) {
        switch (c) {
            case L'<':
                out += L"&lt;";
                break;
            case L'&':
                out += L"&amp;";
                break;
            case L'>':
                out += L"&gt;";
                break;
            case L'\'':
                out += L"&apos;";
                break;
            case L'"':
                out += L"&quot;";
                break;
            default:
                out += c;
                break;
        }
    }
    return out;
}

std::wstring DecodeXmlAttribute(std::wstring_view value) {
    std::wstring out;
    out.reserve(value.size());
    size_t i = 0;
    while (i < value.size()) {
        const wchar_t c = value[i];
        if (c != L'&') {
            out += c;
            ++i;
            continue;
        }
        // References are short; a far-away ';' belongs to something else.
        const size_t semicolon = value.find(L';', i + 1);
        if (semicolon != std::wstring_view::npos && semicolon - i <= 12) {
            const std::wstring_view body = value.substr(i + 1, semicolon - i - 1);
            bool decoded = false;
            for (const NamedReference& reference : kNamedReferences) {
                if (body == reference.name) {
                    out += reference.character;
                    decoded = true;
                    break;
                }
            }
            if (!decoded) {
                const long codePoint = NumericReference(body);
                if (codePoint > 0) {
                    out += static_cast<wchar_t>(codePoint);
                    decoded = true;
                }
            }
            if (decoded) {
                i = semicolon + 1;
                continue;
            }
        }
        out += c;
        ++i;
    }
    return out;
}
