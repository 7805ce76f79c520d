#include "quorl/core/Utf8.h"

#include <gtest/gtest.h>

namespace Quorl {
namespace {

TEST(Utf8, RoundTripsEveryPlane) {
    const std::wstring text =
        L"Profile \u041f\u0440\u043e\u0444\u0438\u043b\u044c \u914d\u7f6e \U0001F5B1";
    const std::string bytes = WideToUtf8(text);
    EXPECT_EQ(bytes,
              "Profile \xD0\x9F\xD1\x80\xD0\xBE\xD1\x84\xD0\xB8\xD0\xBB\xD1\x8C "
              "\xE9\x85\x8D\xE7\xBD\xAE \xF0\x9F\x96\xB1");
    EXPECT_EQ(Utf8ToWide(bytes), text);
    EXPECT_TRUE(IsValidUtf8(bytes));
}

TEST(Utf8, MalformedInputBecomesReplacementCharacters) {
    struct Case {
        const char* name;
        std::string bytes;
        std::wstring expected;
    };
    const Case cases[] = {
        {"stray continuation", "a\x80z", L"a\uFFFDz"},
        {"truncated at end", "ab\xE9\x85", L"ab\uFFFD\uFFFD"},
        {"overlong slash", "\xC0\xAF", L"\uFFFD\uFFFD"},
        {"encoded surrogate", "\xED\xA0\x80", L"\uFFFD\uFFFD\uFFFD"},
        {"above U+10FFFF", "\xF4\x90\x80\x80", L"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"invalid lead", "\xFF", L"\uFFFD"},
        {"embedded NUL kept", std::string("a\0b", 3), std::wstring(L"a\0b", 3)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf8ToWide(c.bytes), c.expected) << c.name;
    }
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));
}

TEST(Utf8, UnencodableWideValuesBecomeReplacement) {
    const std::wstring text = {L'x', static_cast<wchar_t>(0xD800), static_cast<wchar_t>(0x110000)};
    EXPECT_EQ(WideToUtf8(text), "x\xEF\xBF\xBD\xEF\xBF\xBD");
}

}  // namespace
}  // namespace Quorl
