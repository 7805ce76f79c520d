#include "app/devicedesc/DeviceDescription.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "app/startup/Paths.h"
#include "app/store/DeviceDataDB.h"
#include "quorl/core/Utf8.h"
#include "tests/support/TempFolder.h"

namespace {

std::wstring W(const std::string& path) {
    return Quorl::Utf8ToWide(path);
}

DescriptionReadResult LoadText(const std::string& text, DeviceDescription& description) {
    TempFolder folder;
    WriteFileText(folder / "device/M.xml", text);
    return LoadDeviceDescription(DeviceDescriptionPath(W(folder.Path() + "/"), L"M"), description);
}

const char kImages[] = "<image_file home_img=\"h.png\" mouse_img=\"m.png\" cap_img=\"c.png\"/>";
const char kKeys[] =
    "<mouse_key>"
    "<key name=\"180\" key_value=\"0\" direction=\"1\" rect=\"120#40#210\" func_desc=\"106\""
    " func_type=\"1\" func_value=\"1\"/>"
    "<key name=\"x\" key_value=\"7\" rect=\"15\" func_desc=\"151\" func_type=\"6\"/>"
    "</mouse_key>";

TEST(DeviceDescription, ReadsPicturesButtonsAndDefaults) {
    DeviceDescription description;
    const DescriptionReadResult result = LoadText(
        std::string("<mouse>") + kImages + "<menu/><firmware url=\"u\"/>" + kKeys + "</mouse>",
        description);
    ASSERT_TRUE(result.loaded && result.picturesFound && result.buttonsFound);
    EXPECT_TRUE(result.firmwareFound);
    EXPECT_EQ(description.pictures.homeImage, L"h.png");
    EXPECT_EQ(description.pictures.mouseImage, L"m.png");
    EXPECT_EQ(description.pictures.capImage, L"c.png");
    EXPECT_EQ(description.firmwareUrl, L"u");
    ASSERT_EQ(description.buttons.size(), 2u);
    const DeviceButton& first = description.buttons[0];
    EXPECT_EQ(first.nameId, 180);
    EXPECT_EQ(first.direction, 1);
    EXPECT_EQ(first.point1, (ButtonPoint{120, 210}));
    EXPECT_EQ(first.point2, (ButtonPoint{40, 210}));
    EXPECT_EQ(first.funcDescId, 106);
    const DeviceButton& second = description.buttons[1];
    EXPECT_EQ(second.nameId, 0);  // malformed numbers read as 0
    EXPECT_EQ(second.direction, 0);
    EXPECT_EQ(second.funcValue, 0);
    ASSERT_EQ(description.defaults.size(), 2u);
    EXPECT_EQ(description.defaults[1].keyIndex, 7);
    EXPECT_EQ(description.defaults[1].keyValue, 7);
    EXPECT_EQ(description.defaults[1].name, L"x");  // as written
    EXPECT_EQ(description.defaults[1].funcType, 6);
    EXPECT_EQ(description.defaults[1].funcDesc, L"151");
}

TEST(DeviceDescription, SplitsRectAtTheFirstTwoMarks) {
    struct Case {
        const wchar_t* rect;
        ButtonPoint point1;
        ButtonPoint point2;
    };
    const Case cases[] = {
        {L"120#40#210", {120, 210}, {40, 210}},
        {L"15", {0, 15}, {0, 15}},
        {L"7#15", {7, 15}, {0, 15}},
        {L"1#2#3#4", {1, 3}, {2, 3}},
        {L"", {0, 0}, {0, 0}},
        {L"#x#9", {0, 9}, {0, 9}},
    };
    for (const Case& c : cases) {
        ButtonPoint p1{-1, -1};
        ButtonPoint p2{-1, -1};
        SplitButtonRect(c.rect, p1, p2);
        EXPECT_EQ(p1, c.point1) << Quorl::WideToUtf8(c.rect);
        EXPECT_EQ(p2, c.point2) << Quorl::WideToUtf8(c.rect);
    }
}

TEST(DeviceDescription, ChildrenAreOnlyFoundInTheirOrder) {
    {  // menu and firmware swapped: firmware is passed over, the buttons stay
        DeviceDescription description;
        const DescriptionReadResult result = LoadText(
            std::string("<mouse>") + kImages + "<firmware url=\"u\"/><menu/>" + kKeys + "</mouse>",
            description);
        EXPECT_FALSE(result.firmwareFound);
        EXPECT_TRUE(result.buttonsFound);
        EXPECT_EQ(description.buttons.size(), 2u);
    }
    {  // mouse_key before image_file: the search for mouse_key starts after the pictures
        DeviceDescription description;
        const DescriptionReadResult result =
            LoadText(std::string("<mouse>") + kKeys + kImages + "</mouse>", description);
        EXPECT_TRUE(result.picturesFound);
        EXPECT_FALSE(result.buttonsFound);
        EXPECT_TRUE(description.buttons.empty());
    }
}

TEST(DeviceDescription, FailedReadsKeepThePreviousContents) {
    DeviceDescription description;
    ASSERT_TRUE(
        LoadText(std::string("<mouse>") + kImages + kKeys + "</mouse>", description).loaded);
    const char* const failures[] = {"", "<Mouse><mouse_key/></Mouse>", "<mouse><mouse_key>",
                                    "<mouse/><mouse/>"};
    for (const char* text : failures) {
        EXPECT_FALSE(LoadText(text, description).loaded) << text;
        EXPECT_EQ(description.buttons.size(), 2u) << text;
        EXPECT_EQ(description.pictures.homeImage, L"h.png") << text;
    }
    EXPECT_FALSE(LoadDeviceDescription(L"/nonexistent/device/M.xml", description).loaded);
    // A description without pictures keeps the old ones but replaces the buttons.
    const DescriptionReadResult result =
        LoadText("<mouse><mouse_key><key key_value=\"3\"/></mouse_key></mouse>", description);
    EXPECT_FALSE(result.picturesFound);
    EXPECT_EQ(description.pictures.mouseImage, L"m.png");
    ASSERT_EQ(description.buttons.size(), 1u);
    EXPECT_EQ(description.defaults.size(), 1u);
}

TEST(DeviceDescription, WindowPlacements) {
    EXPECT_EQ(ButtonListPlacement(1.0f, 8), (PlacementRect{115, 161, 220, 264}));
    EXPECT_EQ(ButtonListPlacement(1.5f, 7), (PlacementRect{122, 204, 330, 7 * 46}));
    EXPECT_EQ(HomePicturePlacement(1221, 780, 520, 400), (PlacementRect{350, 190, 520, 400}));
    EXPECT_EQ(HomePicturePlacement(1221, 780, 521, 401), (PlacementRect{350, 189, 521, 401}));
    EXPECT_EQ(SmallPicturePlacement(1221, 220, 340), (PlacementRect{846, 120, 220, 340}));
    EXPECT_EQ(DevicePictureName(L"veyra_home.png"), L"device/veyra_home.png");
}

TEST(DeviceDescription, ModelChangeReopensTheStore) {
    TempFolder folder;
    ScopedEnv data("XDG_DATA_HOME", folder.Path());
    ASSERT_TRUE(CreateFolderPath(GetDataFolder() + L"db"));
    ASSERT_TRUE(OpenModelDatabase(L"Veyra"));
    EXPECT_TRUE(DeviceDataDB::Instance().Path().ends_with("/db/Veyra_data.db"));
    ASSERT_TRUE(OpenModelDatabase(L"VeyraLite"));
    EXPECT_TRUE(DeviceDataDB::Instance().IsOpened());
    EXPECT_TRUE(DeviceDataDB::Instance().Path().ends_with("/db/VeyraLite_data.db"));
    DeviceDataDB::Instance().CloseDeviceDatabase();
}

// Both shipped descriptions load through the reader, and their buttons fit the button page.
TEST(DeviceDescription, ShippedDescriptionsLoad) {
    const char* source = std::getenv("TALVANE_SOURCE_DIR");
    ASSERT_NE(source, nullptr) << "run through ctest";
    const std::wstring folder = W(std::string(source) + "/data/");
    struct Model {
        const wchar_t* name;
        size_t buttons;
    };
    for (const Model model : {Model{L"Veyra", 8}, Model{L"VeyraLite", 8}}) {
        DeviceDescription description;
        const DescriptionReadResult result =
            LoadDeviceDescription(DeviceDescriptionPath(folder, model.name), description);
        ASSERT_TRUE(result.loaded && result.picturesFound && result.buttonsFound)
            << Quorl::WideToUtf8(model.name);
        EXPECT_FALSE(description.pictures.homeImage.empty());
        EXPECT_FALSE(description.pictures.mouseImage.empty());
        EXPECT_FALSE(description.pictures.capImage.empty());
        ASSERT_EQ(description.buttons.size(), model.buttons);
        std::set<int32_t> keys;
        for (const DeviceButton& button : description.buttons) {
            keys.insert(button.keyValue);
            EXPECT_GT(button.nameId, 0);
            EXPECT_GT(button.funcDescId, 0);
            EXPECT_TRUE(button.funcType == 1 || button.funcType == 6);
            EXPECT_EQ(button.point1.y, button.point2.y);
            // Labels are 106 pixels wide and must stay inside the visible 580 x 360 map.
            const int32_t labelLeft =
                button.direction == 1 ? button.point2.x + 1 : button.point1.x - 107;
            EXPECT_GE(labelLeft, 0);
            EXPECT_LE(labelLeft + 106, 580);
            EXPECT_GE(button.point1.y - 13, 0);
            EXPECT_LE(button.point1.y + 13, 360);
        }
        EXPECT_EQ(keys.size(), model.buttons);  // key values are unique
        for (const int32_t key : {0, 1, 2, 3, 7, 13, 14}) {
            EXPECT_TRUE(keys.count(key)) << key;
        }
    }
}

}  // namespace
