#include "app/pages/ProfileFile.h"

#include "app/pages/ButtonSettings.h"
#include "app/pages/LightingSettings.h"
#include "app/pages/PagesStore_test.h"
#include "app/pages/PerformanceSettings.h"

namespace {

std::wstring FakeText(int id) {
    return L"T" + std::to_wstring(id);
}

class ProfileFileTest : public PagesStoreTest {
protected:
    std::string Export(int profile, const std::string& name, ProfileFileOptions options = {}) {
        const PageResult result = ExportProfileFile(db_, profile, Path(name), options);
        EXPECT_TRUE(result.ok) << Quorl::WideToUtf8(result.message);
        return ReadFileText(folder_ / name);
    }
    PageResult Import(const std::string& name, int profile, ProfileFileOptions options = {}) {
        return ImportProfileFile(db_, Path(name), profile, options);
    }
    // A profile that differs from the defaults in every section.
    void Customise(int profile) {
        const int macro = db_.AddMacro(L"Burst");
        ASSERT_TRUE(SetLeftButtonLock(db_, profile, false).ok);
        ASSERT_TRUE(SetButtonFunction(db_, profile, 0, FixedFunction(1, 3), FakeText).ok);
        ASSERT_TRUE(SetButtonFunction(db_, profile, 2, KeyFunction(4, 3), FakeText).ok);
        ASSERT_TRUE(SetButtonFunction(db_, profile, 3, MacroFunction(macro), FakeText).ok);
        ASSERT_TRUE(SetButtonFunction(db_, profile, 4, FireMouseFunction(2, 30, 5), FakeText).ok);
        ASSERT_TRUE(SetLightingMode(db_, profile, 2).ok);
        ASSERT_TRUE(SetLightBrightness(db_, profile, 77).ok);
        ASSERT_TRUE(SetLightColour(db_, profile, 1, 2, 3).ok);
        ASSERT_TRUE(SetDpiLevelCount(db_, profile, 5).ok);
        ASSERT_TRUE(SetDpiLevelValue(db_, profile, 5, 8800).ok);
        ASSERT_TRUE(db_.SetConfigValue(profile, L"dpi_group4_rgb", L"1193046"));
        ASSERT_TRUE(SetReportRate(db_, profile, 500).ok);
        ASSERT_TRUE(SetDebounce(db_, profile, 12).ok);
        ASSERT_TRUE(SetESports(db_, profile, true).ok);
        ASSERT_TRUE(SetLiftOff(db_, profile, 2).ok);
    }
};

TEST_F(ProfileFileTest, ExportWritesTheProfileFileFormat) {
    ASSERT_TRUE(SetButtonFunction(db_, 1, 3, FixedFunction(1, 3), FakeText).ok);
    EXPECT_EQ(Export(1, "p.xml", {.withLighting = false}),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
              "<profile>\r\n"
              "<profileinfo name=\"Profile 1\">\r\n"
              "<keyitems>\r\n"
              "<item key_code=\"3\" macro_type=\"1\" macro_value=\"3\" macro_value2=\"0\" "
              "macro_value3=\"0\" macro_desc=\"T107\"/>\r\n"
              "</keyitems>\r\n"
              "<Mouse_DPI dpi_flag=\"4\" dpi_index=\"1\" dpi_count=\"4\">\r\n"
              "<DPI1 value=\"1000\" color=\"255\"/>\r\n"
              "<DPI2 value=\"1600\" color=\"65280\"/>\r\n"
              "<DPI3 value=\"3200\" color=\"16711680\"/>\r\n"
              "<DPI4 value=\"5000\" color=\"8388736\"/>\r\n"
              "<DPI5 value=\"12000\" color=\"16777215\"/>\r\n"
              "</Mouse_DPI>\r\n"
              "<Mouse>\r\n"
              "<button_respondtime value=\"8\"/>\r\n"
              "<report_rate value=\"3\"/>\r\n"
              "<sensor_flag value=\"53\"/>\r\n"
              "<liftoff_height value=\"1\"/>\r\n"
              "<scroll_flag value=\"1\"/>\r\n"
              "<e-sports_flag value=\"1\"/>\r\n"
              "<leftbtn_lock value=\"1\"/>\r\n"
              "</Mouse>\r\n"
              "</profileinfo>\r\n"
              "</profile>\r\n");

    const std::string lit = Export(1, "lit.xml");
    EXPECT_NE(lit.find("</keyitems>\r\n<Lightitems lightmode=\"3\">\r\n"
                       "<item light_mode=\"0\" brightness=\"255\" speed=\"128\" direction=\"0\" "
                       "colorful=\"1\" colorindex=\"0\" color_value=\"255\"/>\r\n"),
              std::string::npos)
        << lit;
    EXPECT_NE(lit.find("color_value=\"255\"/>\r\n</Lightitems>\r\n<Mouse_DPI"), std::string::npos);
}

TEST_F(ProfileFileTest, ExportedImportedIntoAnotherProfileAndExportedAgainIsTheSameFile) {
    Customise(1);
    const std::string first = Export(1, "first.xml");

    const PageResult result = Import("first.xml", 3, {.applyName = true});
    ASSERT_TRUE(result.ok) << Quorl::WideToUtf8(result.message);
    EXPECT_EQ(Export(3, "second.xml"), first);
}

TEST_F(ProfileFileTest, ImportKeepsTheProfileNameUnlessAsked) {
    Customise(1);
    const std::string first = Export(1, "first.xml");
    ASSERT_TRUE(Import("first.xml", 2).ok);
    std::wstring name;
    ASSERT_TRUE(db_.GetProfileName(2, name));
    EXPECT_EQ(name, L"Profile 2");

    std::string expected = first;
    expected.replace(expected.find("Profile 1"), 9, "Profile 2");
    EXPECT_EQ(Export(2, "second.xml"), expected);
}

TEST_F(ProfileFileTest, ImportSkipsMacrosAndLightModesTheStoreLacks) {
    ASSERT_TRUE(SetButtonFunction(db_, 2, 3, FixedFunction(1, 3), FakeText).ok);
    ASSERT_TRUE(EnsureLightModes(db_, 2));
    ASSERT_EQ(db_.Execute("DELETE FROM t_light_data WHERE profile = 2 AND mode = 6"), 0);
    WriteFileText(folder_ / "partial.xml",
                  "<profile><profileinfo name=\"x\"><keyitems>"
                  "<item key_code=\"3\" macro_type=\"4\" macro_value=\"999\" macro_desc=\"M\"/>"
                  "</keyitems><Lightitems lightmode=\"4\">"
                  "<item light_mode=\"6\" brightness=\"7\"/>"
                  "<item light_mode=\"4\" brightness=\"9\" speed=\"8\" color_value=\"65280\"/>"
                  "</Lightitems></profileinfo></profile>");
    const PageResult result = Import("partial.xml", 2);
    ASSERT_TRUE(result.ok) << Quorl::WideToUtf8(result.message);

    ButtonAssignmentList buttons;
    // The old record is gone and the one bound to a missing macro was not stored.
    EXPECT_EQ(db_.ListButtonAssignments(2, buttons), 0);
    EXPECT_EQ(db_.CountLightModes(2), 6);
    EXPECT_EQ(db_.GetActiveLightMode(2), 4);
    LightModeSettings light;
    ASSERT_TRUE(db_.GetLightMode(2, 4, light));
    EXPECT_EQ(light.brightness, 9);
    EXPECT_EQ(light.speed, 8);
    EXPECT_EQ(light.color_value, 65280);
    EXPECT_EQ(light.config_func, 3);           // kept
    EXPECT_EQ(light.reserved, 284);            // kept
    EXPECT_EQ(Config(2, L"dpi_count"), L"4");  // no Mouse_DPI: untouched
}

TEST_F(ProfileFileTest, OnlyTheActiveProfileIsSentAndWriteFailuresAreReported) {
    Export(1, "p.xml");
    PageResult result = Import("p.xml", 1);
    ASSERT_TRUE(result.ok);
    ASSERT_EQ(Codes(result), std::vector<int>{5});
    EXPECT_EQ(result.tasks[0].profile, 1);
    result = Import("p.xml", 4);
    ASSERT_TRUE(result.ok);
    EXPECT_TRUE(result.tasks.empty());

    const PageResult unwritable = ExportProfileFile(db_, 1, Path("no/such/folder/p"));
    EXPECT_FALSE(unwritable.ok);
    EXPECT_TRUE(unwritable.storeFailed);
    EXPECT_NE(unwritable.message.find(L"p.xml"), std::wstring::npos);
}

TEST_F(ProfileFileTest, WithoutLightingTheLightItemsAreNeitherWrittenNorReadAndButtonsGo) {
    const std::string file = Export(1, "dark.xml", {.withLighting = false});
    EXPECT_EQ(file.find("Lightitems"), std::string::npos);
    WriteFileText(folder_ / "lit.xml",
                  "<profile><profileinfo><Lightitems lightmode=\"5\"/></profileinfo></profile>");
    ASSERT_TRUE(SetButtonFunction(db_, 1, 3, FixedFunction(1, 3), FakeText).ok);
    ASSERT_TRUE(Import("lit.xml", 1, {.withLighting = false}).ok);
    EXPECT_EQ(db_.CountLightModes(1), 0);
    ButtonAssignmentList buttons;
    EXPECT_EQ(db_.ListButtonAssignments(1, buttons), 0);  // no keyitems: all defaults
}

TEST_F(ProfileFileTest, BadFilesAreRefusedAndStoreNothing) {
    ASSERT_TRUE(SetButtonFunction(db_, 1, 3, FixedFunction(1, 3), FakeText).ok);
    auto profile = [](const std::string& inner) {
        return "<profile><profileinfo name=\"n\">" + inner + "</profileinfo></profile>";
    };
    const std::string dpi = "dpi_flag=\"4\" dpi_index=\"1\" dpi_count=\"4\"";
    struct Case {
        const char* name;
        std::string text;
        const wchar_t* mentions;
    };
    const Case cases[] = {
        {"text", "no xml here", L"not a well-formed XML"},
        {"root", "<macro><profileinfo/></macro>", L"no \"profile\" root"},
        {"info", "<profile><keyitems/></profile>", L"no \"profileinfo\""},
        {"count", profile("<Mouse_DPI dpi_flag=\"4\" dpi_index=\"1\" dpi_count=\"6\"/>"),
         L"\"dpi_count\" must be 1-5"},
        {"index", profile("<Mouse_DPI dpi_flag=\"4\" dpi_count=\"4\"/>"),
         L"\"dpi_index\" is missing"},
        {"dpi", profile("<Mouse_DPI " + dpi + "><DPI3 value=\"70000\" color=\"1\"/></Mouse_DPI>"),
         L"DPI3: \"value\" must be 0-65535"},
        {"colour",
         profile("<Mouse_DPI " + dpi +
                 "><DPI1 value=\"800\" color=\"16777216\"/>"
                 "</Mouse_DPI>"),
         L"\"color\""},
        {"rate", profile("<Mouse><report_rate value=\"9\"/></Mouse>"),
         L"report_rate: \"value\" must be 0-3"},
        {"number", profile("<Mouse><sensor_flag value=\"5x\"/></Mouse>"), L"not a number"},
        {"kind", profile("<keyitems><item key_code=\"1\" macro_value=\"3\"/></keyitems>"),
         L"keyitems item 1: \"macro_type\" is missing"},
        {"kind0",
         profile("<keyitems><item key_code=\"1\" macro_type=\"1\"/><item "
                 "key_code=\"2\" macro_type=\"0\"/></keyitems>"),
         L"keyitems item 2: \"macro_type\" must be 1-9"},
        {"light",
         profile("<Lightitems lightmode=\"2\"><item light_mode=\"2\" "
                 "brightness=\"256\"/></Lightitems>"),
         L"brightness"},
        {"mode", profile("<Lightitems lightmode=\"7\"/>"), L"0-6"},
    };
    const std::string before = Snapshot();
    for (const Case& c : cases) {
        const std::string file = folder_ / (std::string(c.name) + ".xml");
        WriteFileText(file, c.text);
        const PageResult result = ImportProfileFile(db_, Quorl::Utf8ToWide(file), 1);
        EXPECT_FALSE(result.ok) << c.name;
        EXPECT_FALSE(result.storeFailed) << c.name;
        EXPECT_NE(result.message.find(c.mentions), std::wstring::npos)
            << c.name << ": " << Quorl::WideToUtf8(result.message);
    }
    EXPECT_FALSE(Import("missing.xml", 1).ok);
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(ProfileFileTest, AStoreFailureHalfWayUndoesTheWholeImport) {
    Customise(1);
    Export(1, "p.xml");
    ASSERT_TRUE(ResetAllButtons(db_, 1).ok);
    ASSERT_TRUE(SetButtonFunction(db_, 1, 5, FixedFunction(1, 5), FakeText).ok);
    ASSERT_EQ(db_.Execute("CREATE TRIGGER refuse BEFORE UPDATE ON t_configdata "
                          "WHEN NEW.key = 'leftbtn_lock' BEGIN SELECT RAISE(ABORT, 'no'); END"),
              0);
    const std::string before = Snapshot();
    const PageResult result = Import("p.xml", 1);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.storeFailed);
    EXPECT_EQ(Snapshot(), before);  // the buttons deleted first are back
}

}  // namespace
