#include "app/pages/MacroFile.h"

#include "app/pages/MacroRecords.h"
#include "app/pages/PagesStore_test.h"

namespace {

class MacroFileTest : public PagesStoreTest {
protected:
    // "Go": press A, wait 30 ms, release A.
    int AddSample() {
        MacroInfo info;
        info.name = L"Go <fast> & \"far\"";
        info.play_type = 0;
        info.play_times = 3;
        info.delay_type = 2;
        info.delay_time = 25;
        const int id = db_.AddMacroWithSettings(info);
        const MacroEvent events[] = {
            {0, id, 2, 0, 65, 100, L"↓  A"},
            {0, id, 1, 1, 30, 101, L" -   30 ms"},
            {0, id, 3, 2, 65, 100, L"↑  A"},
        };
        for (const MacroEvent& event : events) {
            db_.AddMacroEvent(event);
        }
        return id;
    }
    std::string Export(int id, const std::string& name) {
        const PageResult result = ExportMacroFile(db_, id, Path(name));
        EXPECT_TRUE(result.ok) << Quorl::WideToUtf8(result.message);
        return ReadFileText(folder_ / name);
    }
};

TEST_F(MacroFileTest, ExportWritesTheMacroFileFormat) {
    const int id = AddSample();
    EXPECT_EQ(Export(id, "go.xml"),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
              "<macro>\r\n"
              "<macroinfo macro_name=\"Go &lt;fast&gt; &amp; &quot;far&quot;\" macro_type=\"0\" "
              "play_times=\"3\" delay_type=\"2\" delay_time=\"25\"/>\r\n"
              "<macroitems>\r\n"
              "<item desc=\"↓  A\" index=\"0\" type=\"2\" value=\"65\" timestamp=\"100\"/>\r\n"
              "<item desc=\" -   30 ms\" index=\"1\" type=\"1\" value=\"30\" "
              "timestamp=\"101\"/>\r\n"
              "<item desc=\"↑  A\" index=\"2\" type=\"3\" value=\"65\" timestamp=\"100\"/>\r\n"
              "</macroitems>\r\n"
              "</macro>\r\n");
}

TEST_F(MacroFileTest, ExportAppendsTheExtensionOnlyWhenMissing) {
    const int id = AddSample();
    struct Case {
        const char* given;
        const char* written;
    };
    for (const Case c : {Case{"a", "a.xml"}, Case{"b.XML", "b.XML"}, Case{"c.Xml", "c.Xml"},
                         Case{"d.xml.txt", "d.xml.txt.xml"}}) {
        const PageResult result = ExportMacroFile(db_, id, Path(c.given));
        ASSERT_TRUE(result.ok);
        EXPECT_EQ(result.path, Path(c.written));
        EXPECT_TRUE(std::filesystem::exists(folder_ / c.written)) << c.written;
    }
    EXPECT_FALSE(ExportMacroFile(db_, 999, Path("none")).ok);
    const PageResult unwritable = ExportMacroFile(db_, id, Path("no/such/folder/m.xml"));
    EXPECT_FALSE(unwritable.ok);
    EXPECT_TRUE(unwritable.storeFailed);
}

TEST_F(MacroFileTest, ImportedMacroExportsTheSameFile) {
    const int id = AddSample();
    const std::string first = Export(id, "first.xml");
    ASSERT_TRUE(db_.DeleteMacro(id));

    const PageResult imported = ImportMacroFile(db_, Path("first.xml"));
    ASSERT_TRUE(imported.ok) << Quorl::WideToUtf8(imported.message);
    EXPECT_EQ(Export(imported.value, "second.xml"), first);

    // A second import of the same file gets a name of its own.
    const PageResult again = ImportMacroFile(db_, Path("first.xml"));
    ASSERT_TRUE(again.ok);
    MacroInfo macro;
    ASSERT_TRUE(db_.GetMacro(again.value, macro));
    EXPECT_EQ(macro.name, L"Go <fast> & \"far\" 2");
}

TEST_F(MacroFileTest, ItemsAreStoredInIndexOrder) {
    WriteFileText(folder_ / "order.xml",
                  "<macro><macroinfo macro_name=\"O\" macro_type=\"1\" play_times=\"1\" "
                  "delay_type=\"1\" delay_time=\"0\"/><macroitems>"
                  "<item desc=\"b\" index=\"7\" type=\"3\" value=\"66\" timestamp=\"2\"/>"
                  "<item desc=\"a\" index=\"3\" type=\"2\" value=\"66\" timestamp=\"2\"/>"
                  "</macroitems></macro>");
    const PageResult result = ImportMacroFile(db_, Path("order.xml"));
    ASSERT_TRUE(result.ok) << Quorl::WideToUtf8(result.message);
    MacroValues macro;
    ASSERT_TRUE(ReadMacro(db_, result.value, macro));
    ASSERT_EQ(macro.items.size(), 2u);
    EXPECT_EQ(macro.items[0]->desc, L"a");
    EXPECT_EQ(macro.items[0]->record_index, 0);
    EXPECT_EQ(macro.items[1]->desc, L"b");
    EXPECT_EQ(macro.items[1]->record_index, 1);
    EXPECT_EQ(macro.info.play_type, 1);
}

TEST_F(MacroFileTest, BadFilesAreRefusedAndStoreNothing) {
    const std::string info =
        "<macroinfo macro_name=\"M\" macro_type=\"0\" play_times=\"1\" delay_type=\"1\" "
        "delay_time=\"0\"/>";
    std::string manyItems = "<macro>" + info + "<macroitems>";
    for (int i = 0; i <= kMaxMacroItems; ++i) {
        manyItems +=
            "<item desc=\"x\" index=\"" + std::to_string(i) + "\" type=\"1\" value=\"5\"/>";
    }
    manyItems += "</macroitems></macro>";
    struct Case {
        const char* name;
        std::string text;
        const wchar_t* mentions;
    };
    const Case cases[] = {
        {"text", "just text", L"not a well-formed XML"},
        {"unclosed", "<macro>" + info, L"not a well-formed XML"},
        {"root", "<profile>" + info + "</profile>", L"no \"macro\" root"},
        {"info", "<macro><macroitems/></macro>", L"no \"macroinfo\""},
        {"name", "<macro><macroinfo play_times=\"1\"/></macro>", L"macro_name"},
        {"times", "<macro><macroinfo macro_name=\"M\" play_times=\"0\"/></macro>",
         L"\"play_times\" must be 1-255"},
        {"delay",
         "<macro><macroinfo macro_name=\"M\" play_times=\"1\" delay_time=\"10001\"/>"
         "</macro>",
         L"0-10000"},
        {"mode", "<macro><macroinfo macro_name=\"M\" play_times=\"1\" macro_type=\"x\"/></macro>",
         L"not a number"},
        {"type", "<macro>" + info + "<macroitems><item type=\"12\"/></macroitems></macro>",
         L"item 1: \"type\" must be 0-11"},
        {"key",
         "<macro>" + info +
             "<macroitems><item type=\"2\" value=\"300\"/></macroitems>"
             "</macro>",
         L"0-255"},
        {"many", manyItems, L"at most 200"},
    };
    const std::string before = Snapshot();
    for (const Case& c : cases) {
        const std::string file = folder_ / (std::string(c.name) + ".xml");
        WriteFileText(file, c.text);
        const PageResult result = ImportMacroFile(db_, Quorl::Utf8ToWide(file));
        EXPECT_FALSE(result.ok) << c.name;
        EXPECT_FALSE(result.storeFailed) << c.name;
        EXPECT_NE(result.message.find(c.mentions), std::wstring::npos)
            << c.name << ": " << Quorl::WideToUtf8(result.message);
    }
    EXPECT_FALSE(ImportMacroFile(db_, Path("missing.xml")).ok);
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(MacroFileTest, AStoreFailureHalfWayLeavesNoMacroBehind) {
    WriteFileText(folder_ / "fails.xml",
                  "<macro><macroinfo macro_name=\"F\" play_times=\"1\"/><macroitems>"
                  "<item type=\"1\" value=\"10\"/><item type=\"1\" value=\"999\"/>"
                  "</macroitems></macro>");
    ASSERT_EQ(db_.Execute("CREATE TRIGGER refuse BEFORE INSERT ON t_macrorecord "
                          "WHEN NEW.value = 999 BEGIN SELECT RAISE(ABORT, 'refused'); END"),
              0);
    const std::string before = Snapshot();
    const PageResult result = ImportMacroFile(db_, Path("fails.xml"));
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.storeFailed);
    EXPECT_EQ(Snapshot(), before);
}

}  // namespace
