#include "app/xml/XmlTextCodec.h"

#include <gtest/gtest.h>

#include "app/lang/LanguageId.h"

namespace {

TEST(XmlTextCodec, DeclaredEncodingOfXmlAndHtmlHeads) {
    struct Case {
        const char* head;
        const char* encoding;
    };
    const Case cases[] = {
        {"<?xml version=\"1.0\" encoding=\"windows-1251\"?><a/>", "windows-1251"},
        {"<?xml version='1.0' encoding = 'ISO-8859-5' ?>", "ISO-8859-5"},
        {"<?xml version=\"1.0\"?><a encoding=\"koi8-r\"/>", ""},
        {"<?xml-stylesheet href=\"a\"?><?xml version=\"1.0\" encoding=\"cp1252\"?>", "cp1252"},
        {"<html><head><META CHARSET=\"koi8-r\"></head>", "koi8-r"},
        {"<html><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">",
         "windows-1251"},
        {"<html><meta name=\"x\"><meta charset=utf-8>", "utf-8"},
        {"plain text", ""},
        {"<?xml version=\"1.0\" encoding=\"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DeclaredEncoding(c.head), c.encoding) << c.head;
    }
}

TEST(XmlTextCodec, IconvConvertsBothWaysAndCountsWhatItCannotHold) {
    std::wstring text;
    size_t lost = 0;
    ASSERT_TRUE(DecodeWithIconv("\xCF\xF0\xE8\xE2\xE5\xF2", "WINDOWS-1251", text, lost));
    EXPECT_EQ(text, L"\u041F\u0440\u0438\u0432\u0435\u0442");
    EXPECT_EQ(lost, 0u);

    // 0x81 has no character in Windows-1252.
    ASSERT_TRUE(
        DecodeWithIconv("a\x81"
                        "b",
                        "WINDOWS-1252", text, lost));
    EXPECT_EQ(text, L"a\uFFFDb");
    EXPECT_EQ(lost, 1u);

    std::string bytes;
    lost = 0;
    ASSERT_TRUE(EncodeWithIconv(L"\u041F\u4E2D!", "WINDOWS-1251", bytes, lost));
    EXPECT_EQ(bytes, "\xCF?!");
    EXPECT_EQ(lost, 1u);

    EXPECT_FALSE(DecodeWithIconv("x", "NO-SUCH-ENCODING", text, lost));
}

TEST(XmlTextCodec, AnsiCodePageFollowsTheInterfaceLanguage) {
    const int saved = CurrentLanguageId();
    SetCurrentLanguageId(kLanguageRussian);
    EXPECT_EQ(SystemAnsiEncoding(), "WINDOWS-1251");
    SetCurrentLanguageId(kLanguageEnglish);
    EXPECT_EQ(SystemAnsiEncoding(), "WINDOWS-1252");
    SetCurrentLanguageId(saved);
}

}  // namespace
