// Checks the built skin folder: every image the program and the toolkit load, decoded by
// gdk-pixbuf, with the frame layout the controls expect.
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "tests/support/TempFolder.h"

namespace {

struct Margins {
    int left = 0, top = 0, right = 0, bottom = 0;
};

struct SkinImage {
    const char* name;
    int frames;
    int frameWidth;
    int frameHeight;
    Margins nine;  // non-zero for images drawn as nine-part frames
};

constexpr Margins kNone{};
constexpr Margins Corner(int c) {
    return {c, c, c, c};
}

// Every skin file by the path the code asks for, with its frame count and frame size at
// scale 1.0. Model pictures are checked against the device descriptions further below.
const SkinImage kSkin[] = {
    // Frame of the main window and the dialogs.
    {"logo/logo.png", 1, 200, 32, kNone},
    {"logo.png", 1, 260, 40, kNone},
    {"logo/logo_loading.png", 1, 240, 50, kNone},
    {"sysbtn_close.png", 4, 20, 20, kNone},
    {"sysbtn_min.png", 4, 20, 20, kNone},
    {"sysbtn_maximize.png", 4, 20, 20, kNone},
    {"sysbtn_restore.png", 4, 20, 20, kNone},
    {"img_sys_close.png", 4, 20, 20, kNone},
    {"bk_prompt.png", 1, 430, 230, Corner(30)},
    {"img_area.png", 4, 100, 27, kNone},
    {"icon/icon_battery_bkg.png", 1, 49, 28, kNone},
    {"icon/icon_batteryvalue.png", 1, 41, 28, kNone},
    {"icon/icon_charge.png", 1, 12, 20, kNone},
    {"icon/icon_arrow_up.png", 4, 14, 12, kNone},
    {"icon/tab_home.png", 3, 56, 56, kNone},
    {"icon/tab_key.png", 3, 56, 56, kNone},
    {"icon/tab_dpi.png", 3, 56, 56, kNone},
    {"icon/tab_macro.png", 3, 56, 56, kNone},
    {"icon/tab_light.png", 3, 56, 56, kNone},
    {"icon/tab_set.png", 3, 56, 56, kNone},
    {"icon/tab_systemset.png", 3, 56, 56, kNone},
    // Page decoration.
    {"img_area_bkg.png", 1, 1120, 655, Corner(10)},
    {"img_area_caption.png", 1, 1120, 44, kNone},
    {"img_area_content.png", 1, 520, 260, Corner(10)},
    {"img_area2.png", 1, 520, 260, Corner(10)},
    // Buttons and toggles.
    {"img_button.png", 4, 100, 30, Corner(8)},
    {"img_button2.png", 4, 100, 30, Corner(10)},
    {"img_help.png", 4, 20, 20, kNone},
    {"btn_reset.png", 4, 20, 20, kNone},
    {"btn_more.png", 4, 20, 20, kNone},
    {"btn_checkbox.png", 8, 16, 16, kNone},
    {"btn_radiobox.png", 8, 16, 16, kNone},
    {"img_switch_btn_on.png", 4, 44, 22, kNone},
    {"img_switch_btn_off.png", 4, 44, 22, kNone},
    {"img_recorditem_up.png", 4, 30, 24, kNone},
    {"img_recorditem_down.png", 4, 30, 24, kNone},
    // Combo boxes, lists and scroll bars.
    {"img_combobox.png", 4, 140, 30, {6, 6, 32, 6}},
    {"img_combobox2.png", 4, 140, 30, {6, 6, 32, 6}},
    {"img_combobox_device.png", 4, 200, 30, {6, 6, 32, 6}},
    {"img_combobox_bkg.png", 1, 40, 40, Corner(6)},
    {"img_scroll_v.png", 3, 8, 60, {0, 6, 0, 6}},
    {"img_scroll_h.png", 3, 60, 8, {6, 0, 6, 0}},
    // Edits (corner 10 in MEdit, 6 in the number fields) and their step buttons.
    {"img_edit.png", 4, 120, 30, Corner(6)},
    {"img_btn_addvalue.png", 4, 15, 15, kNone},
    {"img_btn_subtract.png", 4, 15, 15, kNone},
    {"img_btn_value_up.png", 4, 10, 10, kNone},
    {"img_btn_value_down.png", 4, 10, 10, kNone},
    {"img_spin_up.png", 4, 12, 10, kNone},
    {"img_spin_down.png", 4, 12, 10, kNone},
    {"img_btn_dpi_add.png", 4, 16, 16, kNone},
    {"img_btn_dpi_subtract.png", 4, 16, 16, kNone},
    // Sliders, colour pickers and the tooltip bubble.
    {"img_dpi_bar.png", 4, 16, 13, kNone},
    {"img_slider_bar.png", 4, 10, 20, kNone},
    {"img_palette_thumb.png", 4, 12, 12, kNone},
    {"img_tip_bk.png", 1, 48, 32, Corner(6)},
    {"img_tip_arrow_left.png", 1, 8, 14, kNone},
    {"img_tip_arrow_right.png", 1, 8, 14, kNone},
    {"img_tip_arrow_top.png", 1, 14, 8, kNone},
    // Pop-up menus and the window shadow.
    {"img_menu_bkg.png", 1, 40, 40, Corner(6)},
    {"img_menu_hover.png", 1, 40, 25, {6, 0, 6, 0}},
    {"img_menu_separator.png", 1, 40, 1, kNone},
    {"img_shadow.png", 1, 64, 64, Corner(24)},
    // Button map and macro lists.
    {"img_key_bkg.png", 4, 106, 26, kNone},
    {"icon/icon_record.png", 6, 16, 16, kNone},
    {"icon/icon_rec.png", 4, 16, 16, kNone},
    {"icon/icon_stop_rec.png", 4, 16, 16, kNone},
    // Tray icon and busy animations.
    {"Pellmire.ico", 1, 48, 48, kNone},
    {"loading.gif", 1, 100, 100, kNone},
    {"loading/loading.gif", 1, 100, 100, kNone},
};

std::string SkinFolder() {
    const char* program = std::getenv("TALVANE_PROGRAM_DIR");
    return std::string(program != nullptr ? program : "program") + "/skins/theme1/";
}

struct PixbufDeleter {
    void operator()(GdkPixbuf* p) const { g_object_unref(p); }
};
using Pixbuf = std::unique_ptr<GdkPixbuf, PixbufDeleter>;

Pixbuf Load(const std::string& path, std::string* error) {
    GError* failure = nullptr;
    GdkPixbuf* pixbuf = gdk_pixbuf_new_from_file(path.c_str(), &failure);
    if (failure != nullptr) {
        *error = failure->message;
        g_error_free(failure);
    }
    return Pixbuf(pixbuf);
}

// RGBA of one pixel; images without alpha are opaque.
uint32_t Pixel(GdkPixbuf* p, int x, int y) {
    const guchar* row = gdk_pixbuf_read_pixels(p) + y * gdk_pixbuf_get_rowstride(p);
    const int channels = gdk_pixbuf_get_n_channels(p);
    const guchar* px = row + x * channels;
    const uint32_t alpha = gdk_pixbuf_get_has_alpha(p) ? px[3] : 255;
    return (uint32_t{px[0]} << 24) | (uint32_t{px[1]} << 16) | (uint32_t{px[2]} << 8) | alpha;
}

uint8_t Alpha(GdkPixbuf* p, int x, int y) {
    return Pixel(p, x, y) & 0xFF;
}

bool ColumnHasAlpha(GdkPixbuf* p, int x) {
    for (int y = 0; y < gdk_pixbuf_get_height(p); ++y) {
        if (Alpha(p, x, y) != 0) {
            return true;
        }
    }
    return false;
}

TEST(SkinImages, EveryNamedImageDecodesWithItsFrameLayout) {
    for (const SkinImage& image : kSkin) {
        SCOPED_TRACE(image.name);
        const std::string path = SkinFolder() + image.name;
        ASSERT_TRUE(std::filesystem::is_regular_file(path)) << path;
        std::string error;
        Pixbuf pixbuf = Load(path, &error);
        ASSERT_TRUE(pixbuf) << error;
        const int width = gdk_pixbuf_get_width(pixbuf.get());
        EXPECT_EQ(width % image.frames, 0) << "width " << width;
        ASSERT_EQ(width, image.frames * image.frameWidth);
        ASSERT_EQ(gdk_pixbuf_get_height(pixbuf.get()), image.frameHeight);
        // Every frame is drawn, and every state looks different from the others.
        std::set<std::vector<uint32_t>> looks;
        for (int frame = 0; frame < image.frames; ++frame) {
            bool drawn = false;
            std::vector<uint32_t> look;
            for (int x = frame * image.frameWidth; x < (frame + 1) * image.frameWidth; ++x) {
                drawn = drawn || ColumnHasAlpha(pixbuf.get(), x);
                for (int y = 0; y < image.frameHeight; ++y) {
                    look.push_back(Pixel(pixbuf.get(), x, y));
                }
            }
            EXPECT_TRUE(drawn) << "frame " << frame << " is empty";
            EXPECT_TRUE(looks.insert(look).second) << "frame " << frame << " repeats another";
        }
    }
}

TEST(SkinImages, FolderHoldsNothingButTheNamedImagesAndModelPictures) {
    std::set<std::string> named;
    for (const SkinImage& image : kSkin) {
        named.insert(image.name);
    }
    const std::string folder = SkinFolder();
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file()) {
            continue;
        }
        const std::string relative = entry.path().string().substr(folder.size());
        EXPECT_TRUE(named.count(relative) == 1 || relative.rfind("device/", 0) == 0) << relative;
    }
}

// Frames drawn as nine-part images: between the margins every row and every column repeats,
// so stretching keeps the corners and edges as drawn and moves nothing else.
TEST(SkinImages, NinePartImagesKeepTheirCornersWithinTheMargins) {
    for (const SkinImage& image : kSkin) {
        const Margins& m = image.nine;
        if (m.left + m.top + m.right + m.bottom == 0) {
            continue;
        }
        SCOPED_TRACE(image.name);
        std::string error;
        Pixbuf pixbuf = Load(SkinFolder() + image.name, &error);
        ASSERT_TRUE(pixbuf) << error;
        GdkPixbuf* p = pixbuf.get();
        const int w = image.frameWidth, h = image.frameHeight;
        ASSERT_EQ(gdk_pixbuf_get_width(p), image.frames * w);
        ASSERT_EQ(gdk_pixbuf_get_height(p), h);
        for (int frame = 0; frame < image.frames; ++frame) {
            const int x0 = frame * w;
            int differing = 0;
            // Three-part strips (the scroll bars) stretch along one direction only.
            const bool stretchesAcross = m.left + m.right > 0;
            const bool stretchesDown = m.top + m.bottom > 0;
            for (int x = m.left + 1; stretchesAcross && x < w - m.right; ++x) {
                for (int y = 0; y < h; ++y) {
                    differing += Pixel(p, x0 + x, y) != Pixel(p, x0 + m.left, y);
                }
            }
            // The combo boxes keep their arrow in the right margin, drawn at full height.
            const int rowEnd = m.left == m.right ? w : w - m.right;
            for (int y = m.top + 1; stretchesDown && y < h - m.bottom; ++y) {
                for (int x = 0; x < rowEnd; ++x) {
                    differing += Pixel(p, x0 + x, y) != Pixel(p, x0 + x, m.top);
                }
            }
            EXPECT_EQ(differing, 0) << "frame " << frame;
        }
    }
}

// The gauge shows segment k as the slice of width m = (width - 6) / 4 from x = 5 + k (m + 2).
TEST(SkinImages, BatteryLevelImageHasOneSegmentInEachSliceAndNoneInTheGaps) {
    std::string error;
    Pixbuf level = Load(SkinFolder() + "icon/icon_batteryvalue.png", &error);
    ASSERT_TRUE(level) << error;
    const int width = gdk_pixbuf_get_width(level.get());
    const int m = (width - 6) / 4;
    ASSERT_GT(m, 2);
    for (int k = 0; k < 4; ++k) {
        const int start = 5 + k * (m + 2);
        int drawnColumns = 0;
        for (int x = start; x < std::min(start + m, width); ++x) {
            drawnColumns += ColumnHasAlpha(level.get(), x);
        }
        EXPECT_GE(drawnColumns, m - 2) << "segment " << k;
        if (k < 3) {
            for (int x = start + m; x < start + m + 2; ++x) {
                EXPECT_FALSE(ColumnHasAlpha(level.get(), x)) << "gap column " << x;
            }
        }
    }
    for (int x = 0; x < 5; ++x) {
        EXPECT_FALSE(ColumnHasAlpha(level.get(), x)) << "column " << x << " before segment 0";
    }
}

uint16_t Le16(const std::string& s, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(s[at]) | static_cast<uint8_t>(s[at + 1])
                                                                   << 8);
}

uint32_t Le32(const std::string& s, size_t at) {
    return Le16(s, at) | static_cast<uint32_t>(Le16(s, at + 2)) << 16;
}

TEST(SkinImages, TrayIconHoldsSixteenThirtyTwoAndFortyEightPixelImages) {
    const std::string ico = ReadFileText(SkinFolder() + "Pellmire.ico");
    ASSERT_GE(ico.size(), 6u);
    EXPECT_EQ(Le16(ico, 0), 0);
    EXPECT_EQ(Le16(ico, 2), 1);  // icon, not cursor
    const int count = Le16(ico, 4);
    ASSERT_GE(ico.size(), 6u + 16u * count);
    std::set<int> sizes;
    for (int i = 0; i < count; ++i) {
        const size_t entry = 6 + 16 * i;
        const int w = static_cast<uint8_t>(ico[entry]);
        const int h = static_cast<uint8_t>(ico[entry + 1]);
        EXPECT_EQ(w, h);
        sizes.insert(w);
        // Each image: a 32-bit bitmap header with the doubled height of colour plus mask,
        // the colour rows and the 1-bit mask rows, all inside the file.
        const uint32_t bytes = Le32(ico, entry + 8);
        const uint32_t offset = Le32(ico, entry + 12);
        ASSERT_LE(size_t{offset} + bytes, ico.size());
        const uint32_t mask = h * ((w + 31) / 32 * 4);
        EXPECT_EQ(bytes, 40u + w * h * 4u + mask) << "image " << w;
        EXPECT_EQ(Le32(ico, offset), 40u);
        EXPECT_EQ(static_cast<int>(Le32(ico, offset + 4)), w);
        EXPECT_EQ(static_cast<int>(Le32(ico, offset + 8)), 2 * h);
        EXPECT_EQ(Le16(ico, offset + 14), 32);
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 32, 48}));
}

TEST(SkinImages, BusyAnimationsAreAnimatedAndLoop) {
    for (const char* name : {"loading.gif", "loading/loading.gif"}) {
        SCOPED_TRACE(name);
        const std::string path = SkinFolder() + name;
        GError* failure = nullptr;
        GdkPixbufAnimation* animation = gdk_pixbuf_animation_new_from_file(path.c_str(), &failure);
        ASSERT_NE(animation, nullptr) << (failure != nullptr ? failure->message : "");
        EXPECT_FALSE(gdk_pixbuf_animation_is_static_image(animation));
        // Step through a little more than one turn: the frames must come round again.
        G_GNUC_BEGIN_IGNORE_DEPRECATIONS
        GTimeVal time{0, 0};
        GdkPixbufAnimationIter* iter = gdk_pixbuf_animation_get_iter(animation, &time);
        std::vector<std::string> seen;
        for (int step = 0; step < 30; ++step) {
            GdkPixbuf* frame = gdk_pixbuf_animation_iter_get_pixbuf(iter);
            const size_t bytes = gdk_pixbuf_get_byte_length(frame);
            seen.emplace_back(reinterpret_cast<const char*>(gdk_pixbuf_read_pixels(frame)), bytes);
            const int delay = gdk_pixbuf_animation_iter_get_delay_time(iter);
            ASSERT_GT(delay, 0) << "the animation stops at step " << step;
            g_time_val_add(&time, delay * 1000L);
            gdk_pixbuf_animation_iter_advance(iter, &time);
        }
        G_GNUC_END_IGNORE_DEPRECATIONS
        const std::set<std::string> distinct(seen.begin(), seen.end());
        EXPECT_GE(distinct.size(), 8u);
        EXPECT_EQ(seen[0], seen[distinct.size()]) << "the first frame does not come round";
        g_object_unref(iter);
        g_object_unref(animation);
    }
}

// Model pictures: each description file names its pictures; the buttons of the small
// picture lie under the anchor points. The button map sits at (r - 580, 130) and the small
// picture at (r - w - 155, 120), so a map point (x, y) is the picture point
// (x - (425 - w), y + 10).
TEST(SkinImages, ModelPicturesShowTheButtonsUnderTheirAnchorPoints) {
    const char* source = std::getenv("TALVANE_SOURCE_DIR");
    ASSERT_NE(source, nullptr);
    const std::filesystem::path descriptions = std::filesystem::path(source) / "data" / "device";
    if (!std::filesystem::is_directory(descriptions)) {
        GTEST_SKIP() << "no device descriptions in " << descriptions;
    }
    const std::regex pictures(
        R"re(home_img="([^"]+)"\s+mouse_img="([^"]+)"\s+cap_img="([^"]+)")re");
    const std::regex key(R"re(<key\b[^>]*\bdirection="(\d+)"[^>]*\brect="(\d+)#(\d+)#(\d+)")re");
    int models = 0;
    for (const auto& entry : std::filesystem::directory_iterator(descriptions)) {
        if (entry.path().extension() != ".xml") {
            continue;
        }
        SCOPED_TRACE(entry.path().filename().string());
        ++models;
        const std::string text = ReadFileText(entry.path().string());
        std::smatch names;
        ASSERT_TRUE(std::regex_search(text, names, pictures));
        std::string error;
        for (int i = 1; i <= 3; ++i) {
            EXPECT_TRUE(Load(SkinFolder() + "device/" + names[i].str(), &error)) << error;
        }
        Pixbuf mouse = Load(SkinFolder() + "device/" + names[2].str(), &error);
        ASSERT_TRUE(mouse) << error;
        const int w = gdk_pixbuf_get_width(mouse.get());
        const int h = gdk_pixbuf_get_height(mouse.get());
        int keys = 0;
        for (auto it = std::sregex_iterator(text.begin(), text.end(), key);
             it != std::sregex_iterator(); ++it, ++keys) {
            const int direction = std::stoi((*it)[1]);
            const int a = std::stoi((*it)[2]), b = std::stoi((*it)[3]), c = std::stoi((*it)[4]);
            const int x = (direction == 1 ? a : b) - (425 - w);
            const int y = c + 10;
            SCOPED_TRACE("dot at picture point " + std::to_string(x) + ", " + std::to_string(y));
            ASSERT_TRUE(x >= 0 && x < w && y >= 0 && y < h);
            EXPECT_EQ(Alpha(mouse.get(), x, y), 255);
        }
        EXPECT_GT(keys, 0);
    }
    EXPECT_GT(models, 0);
}

}  // namespace
