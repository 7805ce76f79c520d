#include "quorl/core/Color.h"

#include <gtest/gtest.h>

namespace Quorl {
namespace {

TEST(Color, ConversionsSwapRedAndBlue) {
    // ARGB 0xFE050505 style text colours and the COLORREF 0x604E3A background of the edits.
    EXPECT_EQ(ArgbToColorref(0xFF112233), 0x00332211u);
    EXPECT_EQ(ColorrefToArgb(0x604E3A), 0xFE3A4E60u);
    EXPECT_EQ(ColorrefToArgb(0x604E3A, 255), 0xFF3A4E60u);
    EXPECT_EQ(RGB(0x3A, 0x4E, 0x60), 0x604E3Au);
    EXPECT_EQ(GetRValue(0x604E3A), 0x3A);
    EXPECT_EQ(GetBValue(0x604E3A), 0x60);

    const Color c(0x80, 0x11, 0x22, 0x33);
    EXPECT_EQ(c.GetValue(), 0x80112233u);
    EXPECT_EQ(c.GetA(), 0x80);
    EXPECT_EQ(c.GetB(), 0x33);
    EXPECT_EQ(c.ToCOLORREF(), 0x332211u);
    Color d;
    d.SetFromCOLORREF(0x332211);
    EXPECT_EQ(d.GetValue(), 0xFF112233u);
    EXPECT_EQ(Color::FromCOLORREF(0x332211, 254).GetValue(), 0xFE112233u);
}

}  // namespace
}  // namespace Quorl
