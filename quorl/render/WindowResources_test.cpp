#include "quorl/render/WindowResources.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "quorl/render/FontLibrary.h"
#include "quorl/render/Manager.h"
#include "tests/support/TempFolder.h"

namespace Quorl {
namespace {

// A program folder with a skin folder holding test images made here.
class SkinFolder : public ::testing::Test {
protected:
    void SetUp() override {
        skins_ = m_folder / "skins/theme1";
        std::filesystem::create_directories(skins_ + "/icon");
        Manager::SetProgramFolder(CString::FromUtf8(m_folder.Path()));
    }
    void TearDown() override { Manager::SetProgramFolder(L""); }

    void WritePng(const std::string& name, int w, int h) {
        Bitmap b(w, h);
        b.Clear(0xFF336699);
        ASSERT_TRUE(b.SavePng(CString::FromUtf8(skins_ + "/" + name)));
    }

    TempFolder m_folder;
    std::string skins_;
};

TEST_F(SkinFolder, SkinPathsFollowTheProgramFolder) {
    EXPECT_EQ(Manager::GetTheme(), L"theme1/");
    EXPECT_EQ(Manager::GetSkinFolder(), CString::FromUtf8(m_folder.Path() + "/skins/theme1/"));
    EXPECT_EQ(Manager::GetSkinPath(L"icon\\tab_home.png"),
              CString::FromUtf8(m_folder.Path() + "/skins/theme1/icon/tab_home.png"));
    EXPECT_EQ(Manager::GetSkinPath(L"/abs/x.png"), L"/abs/x.png");
    EXPECT_EQ(Manager::GetFontName(), L"Arial");
    EXPECT_EQ(Manager::GetFontWidth(), 14);
    EXPECT_EQ(Manager::GetSelectColor().GetValue(), 0xFF3E556Du);
}

TEST_F(SkinFolder, OneEntryPerImageAndTheFirstStateCountWins) {
    WritePng("img_button.png", 42, 12);  // 42 is no multiple of 4: 2 pixels are lost
    WindowResources res;
    ImgResInfo* four = res.AddImgResInfo(L"img_button.png", 4);
    ASSERT_NE(four, nullptr);
    EXPECT_EQ(four->frameWidth, 10);
    EXPECT_EQ(four->frameHeight, 12);
    EXPECT_EQ(four->stateCount, 4);
    ASSERT_NE(four->GetImage(), nullptr);
    EXPECT_EQ(four->GetImage()->Width(), 42);
    ImgResInfo* two = res.AddImgResInfo(L"img_button.png", 2);
    EXPECT_EQ(two, four);
    EXPECT_EQ(two->frameWidth, 10);
    EXPECT_EQ(res.GetImgResInfoCount(), 1);

    WritePng("icon/tab_home.png", 9, 9);
    ImgResInfo* icon = res.AddImgResInfo(L"icon\\tab_home.png", 1);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->frameWidth, 9);

    // Another window has a cache of its own.
    WindowResources other;
    EXPECT_NE(other.AddImgResInfo(L"img_button.png", 2), four);
    EXPECT_EQ(other.AddImgResInfo(L"img_button.png", 4)->frameWidth, 21);

    res.ClearImgResInfo();
    EXPECT_EQ(res.GetImgResInfoCount(), 0);
}

TEST_F(SkinFolder, BadImagesAndStateCountsCacheNothing) {
    WritePng("small.png", 3, 3);
    WriteFileText(skins_ + "/broken.png", "\x89PNG\r\n\x1a\n garbage");
    WindowResources res;
    EXPECT_EQ(res.AddImgResInfo(L"missing.png", 4), nullptr);
    EXPECT_EQ(res.AddImgResInfo(L"broken.png", 1), nullptr);
    EXPECT_EQ(res.AddImgResInfo(L"small.png", 0), nullptr);
    EXPECT_EQ(res.AddImgResInfo(L"small.png", -2), nullptr);
    EXPECT_EQ(res.AddImgResInfo(L"small.png", 4), nullptr);  // more states than pixels
    EXPECT_EQ(res.AddImgResInfo(nullptr, 4), nullptr);
    EXPECT_EQ(res.AddImgResInfo(L"", 4), nullptr);
    EXPECT_EQ(res.GetImgResInfoCount(), 0);
    ImgResInfo* ok = res.AddImgResInfo(L"small.png", 3);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->frameWidth, 1);
}

TEST_F(SkinFolder, ResourceEntriesByModule) {
    WindowResources res;
    ImgResInfo* v = res.AddImgResInfo(102, L"PNG", 3, FALSE);
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->frameWidth * 3, v->GetImage()->Width());
    EXPECT_EQ(res.AddImgResInfo(102, L"png", 2, FALSE), v);
    EXPECT_NE(res.AddImgResInfo(101, L"PNG", 3, FALSE), nullptr);
    EXPECT_EQ(res.AddImgResInfo(777, L"PNG", 3, FALSE), nullptr);
    // No application module is set.
    EXPECT_EQ(res.AddImgResInfo(102, L"PNG", 3, TRUE), nullptr);
    EXPECT_EQ(res.GetImgResInfoCount(), 2);
}

TEST_F(SkinFolder, FontRegistry) {
    FontLibrary& library = FontLibrary::Instance();
    const int before = library.GetRegisteredFileCount();
    {
        WindowResources window;
        EXPECT_TRUE(window.AddGDITempFont(112, L"TTF"));
        EXPECT_TRUE(window.AddGDITempFont(111, L"ttf"));
        EXPECT_FALSE(window.AddGDITempFont(109, L"OTF"));  // carried by name only
        EXPECT_FALSE(window.AddGDITempFont(5, L"TTF"));
        EXPECT_EQ(library.GetRegisteredFileCount(), before + 2);

        // A second window shares the files; closing it leaves the first window's fonts.
        {
            WindowResources second;
            EXPECT_TRUE(second.AddGDITempFont(112, L"TTF"));
            EXPECT_EQ(library.GetRegisteredFileCount(), before + 2);
        }
        EXPECT_EQ(library.GetRegisteredFileCount(), before + 2);

        EXPECT_TRUE(window.AddTempFont(L"bubble", 106u));
        FontFamily* bubble = window.FindTempFont(L"bubble");
        ASSERT_NE(bubble, nullptr);
        EXPECT_EQ(bubble->GetFamilyName().Left(9), L"Open Sans");

        EXPECT_TRUE(window.AddTempFont(
            L"mono", L"/usr/share/fonts/truetype/liberation/LiberationMono-Regular.ttf"));
        EXPECT_EQ(window.FindTempFont(L"mono")->GetFamilyName(), L"Liberation Mono");
        WriteFileText(m_folder / "junk.ttf", "not a font");
        EXPECT_FALSE(window.AddTempFont(L"junk", CString::FromUtf8(m_folder / "junk.ttf")));
        EXPECT_FALSE(window.AddTempFont(L"gone", L"/no/such/font.ttf"));
        EXPECT_EQ(window.FindTempFont(L"junk"), nullptr);

        FontFamily* installed = window.FindTempFont(L"Open Sans Light");
        ASSERT_NE(installed, nullptr);
        EXPECT_EQ(window.FindTempFont(L"Open Sans Light"), installed);  // cached
        EXPECT_NE(window.FindTempFont(L"Arial"), nullptr);              // through its metric twin
        EXPECT_EQ(window.FindTempFont(L"No Such Face Anywhere"), nullptr);
        EXPECT_EQ(window.FindTempFont(nullptr), nullptr);

        window.ClearTempFont();
        EXPECT_EQ(window.FindTempFont(L"bubble"), nullptr);
        EXPECT_EQ(library.GetRegisteredFileCount(), before);
        EXPECT_TRUE(window.AddGDITempFont(112, L"TTF"));  // registers again after a clear
    }
    EXPECT_EQ(library.GetRegisteredFileCount(), before);
}

}  // namespace
}  // namespace Quorl
