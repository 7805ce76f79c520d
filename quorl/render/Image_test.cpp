#include "quorl/render/Image.h"

#include <gtest/gtest.h>

#include "quorl/render/GifFrames.h"
#include "quorl/render/RenderTestSupport.h"
#include "tests/support/TempFolder.h"

namespace Quorl {
namespace {

// Two 1 x 1 frames, black then white, shown 100 and 200 ms.
const std::uint8_t kTwoFrameGif[] = {
    'G',  'I',  'F',  '8',  '9',  'a', 1,   0, 1, 0,    0x80, 0,    0,    0,    0,
    0,    0xFF, 0xFF, 0xFF,                     // global colours
    0x21, 0xF9, 4,    0,    10,   0,   0,   0,  // 100 ms
    0x2C, 0,    0,    0,    0,    1,   0,   1, 0, 0,    2,    2,    0x44, 0x01, 0,  // pixel index 0
    0x21, 0xF9, 4,    0,    20,   0,   0,   0,                                      // 200 ms
    0x2C, 0,    0,    0,    0,    1,   0,   1, 0, 0x80, 0xFF, 0xFF, 0xFF, 0,    0,
    0,    2,    2,    0x44, 0x01, 0,   0x3B};

TEST(Image, PngRoundTripAndBadFiles) {
    TempFolder folder;
    Bitmap b(5, 3);
    b.Clear(0xFF112233);
    b.SetPixel(4, 2, 0x80FF0000);
    const std::string png = folder.Path() + "/a.png";
    ASSERT_TRUE(b.SavePng(CString::FromUtf8(png)));
    auto image = Image::FromFile(CString::FromUtf8(png));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Size(), CSize(5, 3));
    EXPECT_EQ(image->GetFrameCount(), 1);
    EXPECT_EQ(image->GetBitmap().GetPixel(0, 0), 0xFF112233u);
    EXPECT_EQ(image->GetBitmap().GetPixel(4, 2) >> 24, 0x80u);

    const std::string bytes = ReadFileText(png);
    WriteFileText(folder.Path() + "/cut.png", bytes.substr(0, bytes.size() / 2));
    WriteFileText(folder.Path() + "/junk.png", "not an image at all");
    WriteFileText(folder.Path() + "/empty.png", "");
    for (const char* name : {"cut.png", "junk.png", "empty.png", "missing.png"}) {
        EXPECT_FALSE(Image::FromFile(CString::FromUtf8(folder.Path() + "/" + name))) << name;
    }
    EXPECT_FALSE(Image::FromFile(L""));
    EXPECT_FALSE(Image::FromMemory(nullptr, 10));
    EXPECT_FALSE(Image::FromBitmap(Bitmap()));
}

TEST(Image, GifFramesAndDelays) {
    auto gif = Image::FromMemory(kTwoFrameGif, sizeof kTwoFrameGif);
    ASSERT_TRUE(gif);
    ASSERT_EQ(gif->GetFrameCount(), 2);
    EXPECT_EQ(gif->GetFrameDelay(0), 100);
    EXPECT_EQ(gif->GetFrameDelay(1), 200);
    EXPECT_EQ(gif->GetFrame(0).GetPixel(0, 0), 0xFF000000u);
    EXPECT_EQ(gif->GetFrame(1).GetPixel(0, 0), 0xFFFFFFFFu);
    EXPECT_TRUE(gif->SelectActiveFrame(1));
    EXPECT_FALSE(gif->SelectActiveFrame(2));
    EXPECT_EQ(gif->GetActiveFrame(), 1);

    // Cut inside the second image: only the first image is complete.
    EXPECT_EQ(ReadGifFrameDelays(kTwoFrameGif, sizeof kTwoFrameGif - 6).size(), 1u);
    EXPECT_TRUE(ReadGifFrameDelays(kTwoFrameGif, 12).empty());
}

}  // namespace
}  // namespace Quorl
