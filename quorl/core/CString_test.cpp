#include "quorl/core/CString.h"

#include <gtest/gtest.h>

#include <cstring>

namespace Quorl {
namespace {

TEST(CString, ConvertsToAndFromStandardStrings) {
    CString s = L"abc";
    const std::wstring w = s;
    const wchar_t* p = s;
    EXPECT_EQ(w, L"abc");
    EXPECT_EQ(std::wcscmp(p, L"abc"), 0);
    CString fromNull(static_cast<const wchar_t*>(nullptr));
    EXPECT_TRUE(fromNull.IsEmpty());
    EXPECT_TRUE(s == L"abc");
    EXPECT_EQ(s + L"d" + s, CString(L"abcdabc"));
    CString copy = s;
    copy.SetAt(0, L'X');
    EXPECT_EQ(s, L"abc");  // value semantics
}

TEST(CString, FormatTakesWideStringsForPercentS) {
    CString s;
    s.Format(L"%s: v%s.%s", L"Firmware", L"1", L"02");
    EXPECT_EQ(s, L"Firmware: v1.02");
    s.Format(L" -   %d ms", 10);
    EXPECT_EQ(s, L" -   10 ms");
    s.Format(L"%x|%c|%hs|%5.1f|%%|%04d", 0x1a2, L'Ж', "narrow", 2.25, 7);
    EXPECT_EQ(s, L"1a2|Ж|narrow|  2.2|%|0007");
    s.AppendFormat(L"+%ls", L"wide");
    EXPECT_EQ(s, L"1a2|Ж|narrow|  2.2|%|0007+wide");
    const std::wstring longText(5000, L'z');
    s.Format(L"[%s]", longText.c_str());
    EXPECT_EQ(s.GetLength(), 5002);
}

TEST(CString, SearchAndSlicesClampTheirArguments) {
    const CString s = L"a.b.c";
    EXPECT_EQ(s.Find(L'.'), 1);
    EXPECT_EQ(s.Find(L'.', 2), 3);
    EXPECT_EQ(s.Find(L'.', 99), -1);
    EXPECT_EQ(s.Find(L'.', -1), -1);
    EXPECT_EQ(s.Find(L"b.c"), 2);
    EXPECT_EQ(s.Find(L"x"), -1);
    EXPECT_EQ(s.ReverseFind(L'.'), 3);
    EXPECT_EQ(s.ReverseFind(L'x'), -1);
    EXPECT_EQ(s.Left(3), L"a.b");
    EXPECT_EQ(s.Left(-1), L"");
    EXPECT_EQ(s.Left(50), L"a.b.c");
    EXPECT_EQ(s.Mid(2), L"b.c");
    EXPECT_EQ(s.Mid(2, 1), L"b");
    EXPECT_EQ(s.Mid(9, 1), L"");
    EXPECT_EQ(s.Right(2), L".c");
    EXPECT_EQ(s.Right(40), L"a.b.c");
    EXPECT_EQ(s.GetAt(9), L'\0');
}

TEST(CString, EditingOperations) {
    CString s = L"Custom Copy Copy";
    EXPECT_EQ(s.Replace(L"Copy", L"Копировать"), 2);
    EXPECT_EQ(s, L"Custom Копировать Копировать");
    EXPECT_EQ(s.Replace(L"", L"x"), 0);
    EXPECT_EQ(s.Replace(L' ', L'_'), 2);
    EXPECT_EQ(s.Remove(L'_'), 2);
    CString t = L"  \tMiXed \n";
    t.Trim();
    EXPECT_EQ(t, L"MiXed");
    EXPECT_EQ(CString(t).MakeUpper(), L"MIXED");
    EXPECT_EQ(CString(t).MakeLower(), L"mixed");
    EXPECT_EQ(CString(L"xxabxx").Trim(L"x"), L"ab");
    EXPECT_EQ(t.CompareNoCase(L"mixed"), 0);
    EXPECT_LT(t.CompareNoCase(L"mixedz"), 0);
    EXPECT_NE(t.Compare(L"mixed"), 0);
    t.Insert(0, L">");
    t.Delete(1, 2);
    EXPECT_EQ(t, L">Xed");
}

TEST(CString, Utf8AtTheEdges) {
    const CString s = CString::FromUtf8("Профиль 1");
    EXPECT_EQ(s, L"Профиль 1");
    EXPECT_EQ(s.ToUtf8(), "Профиль 1");
}

}  // namespace
}  // namespace Quorl
