#include "app/xml/XmlDocument.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <random>

#include "app/lang/LanguageId.h"
#include "quorl/core/Utf8.h"
#include "tests/support/TempFolder.h"

namespace {

const wchar_t kDeclaration[] = L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

std::wstring W(const std::string& path) {
    return Quorl::Utf8ToWide(path);
}

// Loads raw bytes as a file.
bool LoadBytes(XmlDocument& document, const std::string& bytes) {
    TempFolder folder;
    WriteFileText(folder / "doc.xml", bytes);
    return document.LoadFile(W(folder / "doc.xml"));
}

std::wstring RootAttribute(const XmlDocument& source, const wchar_t* root, const wchar_t* name) {
    XmlDocument document = source;
    if (!document.FindElement(root)) {
        return L"<no root>";
    }
    return document.ReadAttribute(name);
}

TEST(XmlDocumentLoad, DetectsTheEncoding) {
    struct Case {
        const char* what;
        std::string bytes;
        std::wstring value;
        XmlByteOrderMark bom;
        const wchar_t* reportEntry;
    };
    const Case cases[] = {
        {"UTF-8 mark", "\xEF\xBB\xBF<a v=\"\xD0\x96\"/>", L"\u0416", XmlByteOrderMark::Utf8,
         L"bom"},
        {"UTF-16LE mark", std::string("\xFF\xFE<\0a\0 \0v\0=\0\"\0\x16\x04\"\0/\0>\0", 22),
         L"\u0416", XmlByteOrderMark::Utf16LE, L"bom"},
        {"UTF-16BE mark, swapped", std::string("\xFE\xFF\0<\0a\0 \0v\0=\0\"\x04\x16\0\"\0/\0>", 22),
         L"\u0416", XmlByteOrderMark::Utf16BE, L"endian_swap"},
        {"UTF-16LE surrogate pair",
         std::string("\xFF\xFE<\0a\0 \0v\0=\0\"\0\x3D\xD8\x00\xDE\"\0/\0>\0", 24), L"\U0001F600",
         XmlByteOrderMark::Utf16LE, L"bom"},
        {"declared Windows-1251",
         "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\r\n<a v=\"\xCF\xF0\xE8\"/>",
         L"\u041F\u0440\u0438", XmlByteOrderMark::None, L"converted_from"},
        {"first byte '<' is UTF-8 even when invalid", "<a v=\"caf\xE9\"/>", L"caf\uFFFD",
         XmlByteOrderMark::None, L"read"},
        {"valid UTF-8 without a hint", "  <a v=\"\xD0\x96\"/>", L"\u0416", XmlByteOrderMark::None,
         L"utf8_detection"},
        {"invalid UTF-8 without a hint is the ANSI code page", " <a v=\"caf\xE9\"/>", L"caf\u00E9",
         XmlByteOrderMark::None, L"converted_from"},
        {"NUL bytes dropped", std::string("<a v=\"x\0y\"/>\0", 13), L"xy", XmlByteOrderMark::None,
         L"nulls_removed"},
        {"NUL units dropped", std::string("\xFF\xFE<\0a\0 \0v\0=\0\"\0\0\0x\0\"\0/\0>\0", 24), L"x",
         XmlByteOrderMark::Utf16LE, L"nulls_removed"},
    };
    const int savedLanguage = CurrentLanguageId();
    SetCurrentLanguageId(kLanguageEnglish);
    for (const Case& c : cases) {
        XmlDocument document;
        EXPECT_TRUE(LoadBytes(document, c.bytes)) << c.what << document.Report().Text();
        EXPECT_EQ(RootAttribute(document, L"a", L"v"), c.value) << c.what;
        EXPECT_EQ(document.ByteOrderMark(), c.bom) << c.what;
        EXPECT_TRUE(document.Report().Contains(c.reportEntry))
            << c.what << ": " << Quorl::WideToUtf8(document.Report().Text());
    }
    // The same bytes read in Russian are Windows-1251.
    SetCurrentLanguageId(kLanguageRussian);
    XmlDocument russian;
    ASSERT_TRUE(LoadBytes(russian, " <a v=\"\xCF\xF0\xE8\"/>"));
    EXPECT_EQ(RootAttribute(russian, L"a", L"v"), L"\u041F\u0440\u0438");
    SetCurrentLanguageId(savedLanguage);
}

TEST(XmlDocumentLoad, OnlyWellFormedDocumentsLoad) {
    struct Case {
        const char* text;
        bool wellFormed;
        const wchar_t* problem;
    };
    const Case cases[] = {
        {"<?xml version=\"1.0\"?>\r\n<!-- c --><!DOCTYPE r [<!ELEMENT r ANY>]><r><![CDATA[<x>]]>"
         "<?pi <y>?></r>",
         true, nullptr},
        {"<a/><b/>", false, L"root_has_sibling"},
        {"<a><b></a>", false, L"unended_start_tag"},
        {"<a>", false, L"unended_start_tag"},
        {"<a></b></a>", false, L"lone_end_tag"},
        {"", false, L"no_root_element"},
        {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n", false, L"no_root_element"},
        {"<a><!-- never closed </a>", false, L"unterminated_tag_syntax"},
        {"<a><b x=\"1", false, L"unterminated_tag_syntax"},
        {"<a><![CDATA[ x </a>", false, L"unterminated_tag_syntax"},
        {"<a><!-x--></a>", false, L"comment_tag_syntax"},
        {"<a><![CDAT[x]]></a>", false, L"cdata_section_syntax"},
        {"<a><!Doctype x></a>", false, L"doctype_tag_syntax"},
        {"<a><!ELEMENT x></a>", false, L"exclamation_tag_syntax"},
        {"<a>< b/></a>", false, L"first_tag_syntax"},
        {"<a x=\"1\" <b/></a>", false, L"unterminated_tag_syntax"},
        {"<", false, L"unterminated_tag_syntax"},
        {"\x01\x02\xFF\xFE\xFD\x80 binary", false, L"no_root_element"},
    };
    for (const Case& c : cases) {
        XmlDocument document;
        EXPECT_EQ(LoadBytes(document, c.text), c.wellFormed) << c.text;
        if (c.problem != nullptr) {
            EXPECT_TRUE(document.Report().Contains(c.problem))
                << c.text << ": " << Quorl::WideToUtf8(document.Report().Text());
        }
    }
}

TEST(XmlDocumentLoad, ParsingGoesOnPastProblems) {
    XmlDocument document;
    EXPECT_FALSE(document.SetDocumentText(L"<a><b></a><c/>"));
    ASSERT_TRUE(document.FindElement(L"a"));
    ASSERT_TRUE(document.EnterElement());
    EXPECT_TRUE(document.FindElement(L"b"));
    // The end tag of a closed the unended b, so c is a second top-level element.
    ASSERT_TRUE(document.LeaveElement());
    EXPECT_TRUE(document.FindElement(L"c"));
    EXPECT_TRUE(document.Report().Contains(L"root_has_sibling"));
}

TEST(XmlDocumentLoad, FileProblemsAreReported) {
    TempFolder folder;
    XmlDocument document;
    EXPECT_FALSE(document.LoadFile(W(folder / "missing.xml")));
    EXPECT_TRUE(document.Report().Contains(L"file_error"));
    EXPECT_FALSE(document.FindElement(L"a"));

    EXPECT_FALSE(document.LoadFile(W(folder.Path())));  // a folder
    EXPECT_TRUE(document.Report().Contains(L"file_error"));

    // Larger than any file the program reads: refused without holding it.
    const std::string huge = folder / "huge.xml";
    WriteFileText(huge, "<a>");
    ASSERT_EQ(truncate(huge.c_str(), XmlDocument::kMaxFileBytes + 1), 0);
    EXPECT_FALSE(document.LoadFile(W(huge)));
    EXPECT_TRUE(document.Report().Contains(L"truncation_error"));
    EXPECT_TRUE(document.DocumentText().empty());
}

TEST(XmlDocumentLoad, RandomInputNeverBreaksTheIndex) {
    // Fragments of markup in random order: whatever parsing recognises must lie inside the
    // text and start at a '<'; reading every attribute must stay inside it too.
    const std::vector<std::wstring> pieces = {
        L"<a",  L"<b x=\"1\"", L">",   L"/>", L"</a>", L"</b>",      L"<!--",
        L"-->", L"<![CDATA[",  L"]]>", L"<?", L"?>",   L"<!DOCTYPE", L"[",
        L"]",   L"\"",         L"'",   L"=",  L" ",    L"&amp;",     L"&#x",
        L";",   L"\r\n",       L"<",   L"x"};
    std::mt19937 random(7);
    for (int round = 0; round < 400; ++round) {
        std::wstring text;
        const int count = static_cast<int>(random() % 40);
        for (int k = 0; k < count; ++k) {
            text += pieces[random() % pieces.size()];
        }
        XmlDocument document;
        document.SetDocumentText(text);
        // Walk everything the index holds.
        int visited = 0;
        std::vector<int> stack;
        while (visited < 1000) {
            if (document.FindElement(L"a") || document.FindElement(L"b")) {
                ++visited;
                EXPECT_FALSE(document.CurrentElementName().empty()) << Quorl::WideToUtf8(text);
                document.ReadAttribute(L"x");
                document.EnterElement();
            } else if (!document.LeaveElement()) {
                break;
            }
        }
        ASSERT_LT(visited, 1000) << Quorl::WideToUtf8(text);
        EXPECT_EQ(document.DocumentText(), text);
    }
}

TEST(XmlDocumentCursor, FindElementOnlyMovesForward) {
    XmlDocument document;
    ASSERT_TRUE(document.SetDocumentText(
        L"<list><item n=\"1\"/><!-- <item n=\"x\"/> --><other/><item n=\"2\"><item n=\"deep\"/>"
        L"</item><![CDATA[<item n=\"y\"/>]]><item n=\"3\"/></list>"));
    EXPECT_FALSE(document.EnterElement());  // no current element yet
    EXPECT_FALSE(document.FindElement(L"List"));
    ASSERT_TRUE(document.FindElement(L"list"));
    ASSERT_TRUE(document.EnterElement());
    std::wstring seen;
    while (document.FindElement(L"item")) {
        seen += document.ReadAttribute(L"n");
    }
    EXPECT_EQ(seen, L"123");
    EXPECT_EQ(document.ReadAttribute(L"n"), L"3");  // the failed search did not move
    EXPECT_FALSE(document.FindElement(L"other"));   // behind the cursor: never found again

    ASSERT_TRUE(document.LeaveElement());
    EXPECT_EQ(document.CurrentElementName(), L"list");
    ASSERT_TRUE(document.EnterElement());  // back at the remembered child
    EXPECT_EQ(document.ReadAttribute(L"n"), L"3");
    ASSERT_TRUE(document.LeaveElement());
    EXPECT_FALSE(document.LeaveElement());  // already at the top level
    EXPECT_EQ(document.CurrentElementName(), L"list");
}

TEST(XmlDocumentCursor, ReadAttributeDecodesValues) {
    XmlDocument document;
    ASSERT_TRUE(document.SetDocumentText(
        L"<a plain=\"x\" ref=\"a&lt;b\" all=\"&lt;&gt;&amp;&apos;&quot;\" "
        L"num=\"&#65;&#x42;&#x1F600;\""
        L" single='it\"s' loose=\"a & b &bogus; &#xZZ; &#0;\" Case=\"upper\" empty=\"\"/>"));
    ASSERT_TRUE(document.FindElement(L"a"));
    EXPECT_EQ(document.ReadAttribute(L"plain"), L"x");
    EXPECT_EQ(document.ReadAttribute(L"ref"), L"a<b");
    EXPECT_EQ(document.ReadAttribute(L"all"), L"<>&'\"");
    EXPECT_EQ(document.ReadAttribute(L"num"), L"AB\U0001F600");
    EXPECT_EQ(document.ReadAttribute(L"single"), L"it\"s");
    EXPECT_EQ(document.ReadAttribute(L"loose"), L"a & b &bogus; &#xZZ; &#0;");
    EXPECT_EQ(document.ReadAttribute(L"case"), L"");
    EXPECT_EQ(document.ReadAttribute(L"Case"), L"upper");
    EXPECT_EQ(document.ReadAttribute(L"missing"), L"");
    EXPECT_EQ(document.ReadAttribute(L"empty"), L"");
}

TEST(XmlDocumentWrite, WritesOneElementPerLineWithCrLf) {
    XmlDocument document;
    EXPECT_FALSE(document.SetDocumentText(kDeclaration));
    ASSERT_TRUE(document.AppendElement(L"macro"));
    ASSERT_TRUE(document.EnterElement());
    ASSERT_TRUE(document.AppendElement(L"macroinfo"));
    EXPECT_EQ(document.DocumentText(),
              std::wstring(kDeclaration) + L"<macro>\r\n<macroinfo/>\r\n</macro>\r\n");
    EXPECT_TRUE(document.IsWellFormed());

    ASSERT_TRUE(document.WriteAttribute(L"macro_name", L"say \"hi\" <&> 'x'"));
    ASSERT_TRUE(document.WriteAttribute(L"play_times", L"1"));
    ASSERT_TRUE(document.WriteAttribute(L"macro_name", L"short"));  // replaced in place
    ASSERT_TRUE(document.AppendElement(L"macroitems"));
    ASSERT_TRUE(document.EnterElement());
    ASSERT_TRUE(document.AppendElement(L"item"));
    ASSERT_TRUE(document.WriteAttribute(L"desc", L"a\"b"));
    ASSERT_TRUE(document.AppendElement(L"item"));
    EXPECT_EQ(document.DocumentText(), std::wstring(kDeclaration) +
                                           L"<macro>\r\n"
                                           L"<macroinfo macro_name=\"short\" play_times=\"1\"/>\r\n"
                                           L"<macroitems>\r\n"
                                           L"<item desc=\"a&quot;b\"/>\r\n"
                                           L"<item/>\r\n"
                                           L"</macroitems>\r\n"
                                           L"</macro>\r\n");
    EXPECT_FALSE(document.AppendElement(L""));
    EXPECT_FALSE(document.AppendElement(L"two words"));
    EXPECT_FALSE(document.WriteAttribute(L"bad=name", L"x"));
}

TEST(XmlDocumentWrite, EditsKeepTheRestOfAHandWrittenFile) {
    XmlDocument document;
    ASSERT_TRUE(document.SetDocumentText(
        L"<!-- kept -->\n<r a='1' >\n  <x/>  tail\n  <y b=old/>\n<z/></r>\n"));
    ASSERT_TRUE(document.FindElement(L"r"));
    ASSERT_TRUE(document.WriteAttribute(L"a", L"2"));
    ASSERT_TRUE(document.WriteAttribute(L"n", L"3"));
    ASSERT_TRUE(document.EnterElement());
    ASSERT_TRUE(document.FindElement(L"x"));
    ASSERT_TRUE(document.AppendElement(L"after_x"));  // text follows x: directly behind it
    ASSERT_TRUE(document.FindElement(L"y"));
    ASSERT_TRUE(document.WriteAttribute(L"b", L"new"));
    ASSERT_TRUE(document.AppendElement(L"after_y"));  // behind y and its white space
    ASSERT_TRUE(document.EnterElement());
    ASSERT_TRUE(document.AppendElement(L"inner"));  // rewrites the empty after_y
    EXPECT_EQ(document.DocumentText(),
              L"<!-- kept -->\n<r a='2' n=\"3\" >\n  <x/><after_x/>\r\n  tail\n  <y b=\"new\"/>\n"
              L"<after_y>\r\n<inner/>\r\n</after_y>\r\n<z/></r>\n");
    EXPECT_TRUE(document.IsWellFormed());

    // The index followed every edit: a fresh parse finds the same.
    ASSERT_TRUE(document.LeaveElement());
    ASSERT_TRUE(document.FindElement(L"z"));
    XmlDocument reparsed;
    ASSERT_TRUE(reparsed.SetDocumentText(document.DocumentText()));
    ASSERT_TRUE(reparsed.FindElement(L"r"));
    ASSERT_TRUE(reparsed.EnterElement());
    for (const wchar_t* name : {L"x", L"after_x", L"y", L"after_y", L"z"}) {
        EXPECT_TRUE(reparsed.FindElement(name)) << Quorl::WideToUtf8(name);
    }
}

TEST(XmlDocumentWrite, AppendsAtTheTopLevelAndWithoutCurrentElement) {
    XmlDocument document;
    EXPECT_FALSE(document.WriteAttribute(L"a", L"1"));
    ASSERT_TRUE(document.SetDocumentText(L"<r><a/></r>"));
    ASSERT_TRUE(document.FindElement(L"r"));
    ASSERT_TRUE(document.EnterElement());
    ASSERT_TRUE(document.AppendElement(L"last"));  // no current element: before </r>
    ASSERT_TRUE(document.LeaveElement());
    ASSERT_TRUE(document.LeaveElement() == false);
    EXPECT_EQ(document.DocumentText(), L"<r><a/><last/>\r\n</r>");
}

// The shapes the macro and profile files have; numbers travel as decimal text.
void WriteMacroFile(XmlDocument& document) {
    document.SetDocumentText(kDeclaration);
    document.AppendElement(L"macro");
    document.EnterElement();
    document.AppendElement(L"macroinfo");
    document.WriteAttribute(L"macro_name", L"\u041C\u0430\u043A\u0440\u043E & \"1\"");
    document.WriteAttribute(L"macro_type", L"2");
    document.WriteAttribute(L"play_times", L"5");
    document.WriteAttribute(L"delay_type", L"1");
    document.WriteAttribute(L"delay_time", L"20");
    document.AppendElement(L"macroitems");
    document.EnterElement();
    for (int i = 0; i < 4; ++i) {
        document.AppendElement(L"item");
        document.WriteAttribute(L"desc", i % 2 == 0 ? L"A" : L"<LB>");
        document.WriteAttribute(L"index", std::to_wstring(i));
        document.WriteAttribute(L"type", std::to_wstring(i % 2 + 1));
        document.WriteAttribute(L"value", std::to_wstring(4 + i));
        document.WriteAttribute(L"timestamp", std::to_wstring(100 * i));
    }
}

TEST(XmlDocumentRoundTrip, MacroFile) {
    TempFolder folder;
    const std::wstring path = W(folder / "macro.xml");
    XmlDocument writer;
    WriteMacroFile(writer);
    ASSERT_TRUE(writer.IsWellFormed());
    ASSERT_TRUE(writer.SaveFile(path));
    const std::string bytes = ReadFileText(folder / "macro.xml");
    EXPECT_EQ(bytes, Quorl::WideToUtf8(writer.DocumentText()));  // UTF-8, no mark
    EXPECT_TRUE(bytes.ends_with("</macro>\r\n"));

    XmlDocument reader;
    ASSERT_TRUE(reader.LoadFile(path)) << Quorl::WideToUtf8(reader.Report().Text());
    ASSERT_TRUE(reader.FindElement(L"macro"));
    ASSERT_TRUE(reader.EnterElement());
    ASSERT_TRUE(reader.FindElement(L"macroinfo"));
    EXPECT_EQ(reader.ReadAttribute(L"macro_name"), L"\u041C\u0430\u043A\u0440\u043E & \"1\"");
    EXPECT_EQ(reader.ReadAttribute(L"delay_time"), L"20");
    ASSERT_TRUE(reader.FindElement(L"macroitems"));
    ASSERT_TRUE(reader.EnterElement());
    int count = 0;
    while (reader.FindElement(L"item")) {
        EXPECT_EQ(reader.ReadAttribute(L"index"), std::to_wstring(count));
        EXPECT_EQ(reader.ReadAttribute(L"desc"), count % 2 == 0 ? L"A" : L"<LB>");
        EXPECT_EQ(reader.ReadAttribute(L"timestamp"), std::to_wstring(100 * count));
        ++count;
    }
    EXPECT_EQ(count, 4);
}

TEST(XmlDocumentRoundTrip, ProfileFile) {
    XmlDocument writer;
    writer.SetDocumentText(kDeclaration);
    writer.AppendElement(L"profile");
    writer.EnterElement();
    writer.AppendElement(L"profileinfo");
    writer.WriteAttribute(L"name", L"Profile 2");
    writer.EnterElement();
    writer.AppendElement(L"keyitems");
    writer.EnterElement();
    writer.AppendElement(L"item");
    writer.WriteAttribute(L"key_code", L"3");
    writer.WriteAttribute(L"macro_type", L"2");
    writer.WriteAttribute(L"macro_value", L"4");
    writer.WriteAttribute(L"macro_value2", L"3");
    writer.WriteAttribute(L"macro_value3", L"0");
    writer.WriteAttribute(L"macro_desc", L"Shift+ Ctrl + A");
    writer.LeaveElement();
    writer.AppendElement(L"Mouse_DPI");
    writer.WriteAttribute(L"dpi_index", L"1");
    writer.EnterElement();
    for (int i = 1; i <= 5; ++i) {
        writer.AppendElement(L"DPI" + std::to_wstring(i));
        writer.WriteAttribute(L"value", std::to_wstring(400 * i));
        writer.WriteAttribute(L"color", std::to_wstring(255 << i));
    }
    writer.LeaveElement();
    writer.AppendElement(L"Mouse");
    writer.EnterElement();
    for (const wchar_t* name : {L"button_respondtime", L"report_rate", L"e-sports_flag"}) {
        writer.AppendElement(name);
        writer.WriteAttribute(L"value", L"8");
    }
    TempFolder folder;
    ASSERT_TRUE(writer.SaveFile(W(folder / "profile.xml")));

    XmlDocument reader;
    ASSERT_TRUE(reader.LoadFile(W(folder / "profile.xml")));
    ASSERT_TRUE(reader.FindElement(L"profile") && reader.EnterElement());
    ASSERT_TRUE(reader.FindElement(L"profileinfo"));
    EXPECT_EQ(reader.ReadAttribute(L"name"), L"Profile 2");
    ASSERT_TRUE(reader.EnterElement() && reader.FindElement(L"keyitems") && reader.EnterElement());
    ASSERT_TRUE(reader.FindElement(L"item"));
    EXPECT_EQ(reader.ReadAttribute(L"macro_desc"), L"Shift+ Ctrl + A");
    EXPECT_FALSE(reader.FindElement(L"item"));
    ASSERT_TRUE(reader.LeaveElement());
    EXPECT_FALSE(reader.FindElement(L"Lightitems"));  // absent: the cursor stays on keyitems
    ASSERT_TRUE(reader.FindElement(L"Mouse_DPI") && reader.EnterElement());
    for (int i = 1; i <= 5; ++i) {
        ASSERT_TRUE(reader.FindElement(L"DPI" + std::to_wstring(i)));
        EXPECT_EQ(reader.ReadAttribute(L"value"), std::to_wstring(400 * i));
    }
    ASSERT_TRUE(reader.LeaveElement() && reader.FindElement(L"Mouse") && reader.EnterElement());
    ASSERT_TRUE(reader.FindElement(L"e-sports_flag"));
    EXPECT_EQ(reader.ReadAttribute(L"value"), L"8");
}

TEST(XmlDocumentSave, KeepsTheMarkOrTheDeclaredEncoding) {
    TempFolder folder;
    {
        XmlDocument document;
        ASSERT_TRUE(LoadBytes(document, std::string("\xFE\xFF\0<\0a\0/\0>", 10)));
        ASSERT_TRUE(document.FindElement(L"a"));
        ASSERT_TRUE(document.WriteAttribute(L"v", L"\u0416"));
        ASSERT_TRUE(document.SaveFile(W(folder / "be.xml")));
        EXPECT_EQ(ReadFileText(folder / "be.xml"),
                  std::string("\xFE\xFF\0<\0a\0 \0v\0=\0\"\x04\x16\0\"\0/\0>", 22));
    }
    {
        XmlDocument document;
        document.SetDocumentText(L"<?xml version=\"1.0\" encoding=\"windows-1251\"?><a/>");
        ASSERT_TRUE(document.FindElement(L"a"));
        ASSERT_TRUE(document.WriteAttribute(L"v", L"\u041F\u4E2D"));
        ASSERT_TRUE(document.SaveFile(W(folder / "1251.xml")));
        EXPECT_EQ(ReadFileText(folder / "1251.xml"),
                  "<?xml version=\"1.0\" encoding=\"windows-1251\"?><a v=\"\xCF?\"/>");
        EXPECT_TRUE(document.Report().Contains(L"conversion_loss"));
    }
    XmlDocument document;
    EXPECT_FALSE(document.SaveFile(W(folder / "no/such/folder/x.xml")));
    EXPECT_TRUE(document.Report().Contains(L"file_error"));
}

TEST(XmlDocumentReport, StopsGrowingPastItsLimit) {
    XmlDocument document;
    std::wstring text;
    for (int i = 0; i < 500; ++i) {
        text += L"</lone>";
    }
    document.SetDocumentText(text);
    EXPECT_GT(document.Report().Text().size(), 999u);
    EXPECT_LT(document.Report().Text().size(), 1100u);
}

}  // namespace
