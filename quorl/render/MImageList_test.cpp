#include "quorl/render/MImageList.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "quorl/render/Manager.h"
#include "quorl/render/RenderTestSupport.h"
#include "tests/support/TempFolder.h"

namespace Quorl {
namespace {

class ImageListTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string skins = folder_ / "skins/theme1/icon";
        std::filesystem::create_directories(skins);
        const ARGB colours[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF};
        ASSERT_TRUE(MakeStrip(colours, 3, 8, 8).SavePng(CString::FromUtf8(skins + "/rgb.png")));
        ASSERT_TRUE(MakeStrip(colours, 1, 6, 4).SavePng(CString::FromUtf8(skins + "/red.png")));
        Manager::SetProgramFolder(CString::FromUtf8(folder_.Path()));
    }
    void TearDown() override { Manager::SetProgramFolder(L""); }

    TempFolder folder_;
};

TEST_F(ImageListTest, AddFindAndDraw) {
    MImageList list;
    EXPECT_EQ(list.GetIconSize(), CSize());
    EXPECT_EQ(list.AddImage(L"icon\\rgb.png", 7, 3), 0);
    EXPECT_EQ(list.AddImage(L"icon/missing.png", 8, 1), -1);
    EXPECT_EQ(list.AddImage(L"icon/red.png", 9, 0), -1);
    EXPECT_EQ(list.AddImage(L"icon/red.png", 9, 7), -1);  // more frames than pixels
    EXPECT_EQ(list.InsertImage(-5, L"icon/red.png", 9, 1), 0);
    EXPECT_EQ(list.GetImageCount(), 2);
    EXPECT_EQ(list.GetImagePath(1), L"icon\\rgb.png");
    EXPECT_EQ(list.GetImagePathByID(9), L"icon/red.png");
    EXPECT_EQ(list.GetImagePathByID(42), L"");
    EXPECT_EQ(list.GetItemImageData(5).image, nullptr);
    const _M_IAMGELIST rgb = list.GetImageDataByID(7);
    EXPECT_EQ(rgb.frameWidth, 8);
    EXPECT_EQ(rgb.frameHeight, 8);
    EXPECT_EQ(rgb.frameCount, 3);
    EXPECT_EQ(list.GetIconSize(), CSize(6, 4));  // natural size of the first entry

    Bitmap b(40, 20);
    Canvas c(b);
    list.DrawItemIcon(c, CRect(0, 0, 20, 20), 1);      // frame 0 stretched
    list.DrawItemIcon(c, CRect(20, 0, 40, 20), 1, 2);  // frame 2
    EXPECT_EQ(b.GetPixel(19, 19), 0xFFFF0000u);
    EXPECT_EQ(b.GetPixel(20, 0), 0xFF0000FFu);
    list.DrawItemIcon(c, CRect(0, 0, 20, 20), 1, 3);  // no such frame
    list.DrawItemIcon(c, CRect(0, 0, 20, 20), 9);     // no such entry
    EXPECT_EQ(b.GetPixel(19, 19), 0xFFFF0000u);

    list.SetDrawImgSize(10, 10);
    EXPECT_EQ(list.GetIconSize(), CSize(10, 10));
    c.ClearRect(b.Bounds());
    list.DrawItemIcon(c, CRect(0, 0, 40, 20), 1, 1);  // centred at the draw size
    EXPECT_EQ(InkBounds(b), CRect(15, 5, 25, 15));
    EXPECT_EQ(b.GetPixel(20, 10), 0xFF00FF00u);

    list.DelAllImages();
    EXPECT_EQ(list.GetImageCount(), 0);
}

}  // namespace
}  // namespace Quorl
