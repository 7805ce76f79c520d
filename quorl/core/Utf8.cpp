#include "quorl/core/Utf8.h"

#include <cstdint>

namespace Quorl {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsScalarValue(char32_t c) {
    return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
}

void AppendUtf8(std::string& out, char32_t c) {
    if (!IsScalarValue(c)) {
        c = kReplacement;
    }
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// Decodes one sequence at text[pos]; returns its length, or 0 when it is malformed.
size_t DecodeOne(std::string_view text, size_t pos, char32_t& out) {
    const auto lead = static_cast<uint8_t>(text[pos]);
    size_t length;
    char32_t value;
    char32_t minimum;
    if (lead < 0x80) {
        out = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, value = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, value = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, value = lead & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (text.size() - pos < length) {
        return 0;
    }
    for (size_t i = 1; i < length; ++i) {
        const auto next = static_cast<uint8_t>(text[pos + i]);
        if ((next & 0xC0) != 0x80) {
            return 0;
        }
        value = (value << 6) | (next & 0x3F);
    }
    if (value < minimum || !IsScalarValue(value)) {
        return 0;
    }
    out = value;
    return length;
}

}  // namespace

std::string WideToUtf8(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        AppendUtf8(out, static_cast<char32_t>(static_cast<std::make_unsigned_t<wchar_t>>(c)));
    }
    return out;
}

std::wstring Utf8ToWide(std::string_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (size_t pos = 0; pos < text.size();) {
        char32_t c;
        const size_t length = DecodeOne(text, pos, c);
        if (length == 0) {
            out.push_back(static_cast<wchar_t>(kReplacement));
            ++pos;
        } else {
            out.push_back(static_cast<wchar_t>(c));
            pos += length;
        }
    }
    return out;
}

bool IsValidUtf8(std::string_view text) {
    for (size_t pos = 0; pos < text.size();) {
        char32_t c;
        const size_t length = DecodeOne(text, pos, c);
        if (length == 0) {
            return false;
        }
        pos += length;
    }
    return true;
}

}  // namespace Quorl
