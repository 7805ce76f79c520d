#include "app/devicedesc/AttributeNumbers.h"

#include <limits>

namespace {

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n';
}

int DigitValue(wchar_t c, int base) {
    int value = -1;
    if (c >= L'0' && c <= L'9') {
        value = c - L'0';
    } else if (c >= L'a' && c <= L'f') {
        value = c - L'a' + 10;
    } else if (c >= L'A' && c <= L'F') {
        value = c - L'A' + 10;
    }
    return value < base ? value : -1;
}

// Skips blanks and a sign; returns whether the number is negative.
bool SkipPrefix(std::wstring_view text, size_t& i) {
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        negative = text[i] == L'-';
        ++i;
    }
    return negative;
}

// Digits from i on, saturating at limit.
uint64_t Digits(std::wstring_view text, size_t i, int base, uint64_t limit) {
    uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit = DigitValue(text[i], base);
        if (digit < 0) {
            break;
        }
        value = value * base + digit;
        if (value > limit) {
            value = limit;
        }
    }
    return value;
}

}  // namespace

int32_t ParseDecimalAttribute(std::wstring_view text) {
    size_t i = 0;
    const bool negative = SkipPrefix(text, i);
    const uint64_t limit = negative ? uint64_t{1} << 31 : std::numeric_limits<int32_t>::max();
    const uint64_t value = Digits(text, i, 10, limit);
    return negative ? static_cast<int32_t>(-static_cast<int64_t>(value))
                    : static_cast<int32_t>(value);
}

uint32_t ParseHexAttribute(std::wstring_view text) {
    size_t i = 0;
    const bool negative = SkipPrefix(text, i);
    if (i + 1 < text.size() && text[i] == L'0' && (text[i + 1] == L'x' || text[i + 1] == L'X')) {
        i += 2;
    }
    const uint64_t value = Digits(text, i, 16, std::numeric_limits<uint32_t>::max());
    return negative ? static_cast<uint32_t>(-static_cast<int64_t>(value))
                    : static_cast<uint32_t>(value);
}
