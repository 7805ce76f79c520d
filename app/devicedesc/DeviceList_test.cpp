#include "app/devicedesc/DeviceList.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "app/devicedesc/AttributeNumbers.h"
#include "quorl/core/Utf8.h"
#include "tests/support/TempFolder.h"

namespace {

std::wstring W(const std::string& path) {
    return Quorl::Utf8ToWide(path);
}

DeviceList LoadText(const std::string& text, bool* loaded = nullptr) {
    TempFolder folder;
    WriteFileText(folder / "config.xml", text);
    DeviceList list;
    list.devices.push_back({});  // whatever was there before is replaced
    const bool result = LoadDeviceList(W(folder / "config.xml"), list);
    if (loaded != nullptr) {
        *loaded = result;
    }
    return list;
}

const char kTwoModels[] =
    "<?xml version=\"1.0\"?>\n<config>\n<device>\n"
    "<mouse name=\"First\" device_type=\"101\" device_attr=\"One\">\n"
    "  <mode value=\"0\" desc=\"cable\" vid=\"3434\" pid=\"0xd032\" hid_interface=\"A&amp;B\"/>\n"
    "  <other/>\n"
    "  <mode value=\"2\" vid=\"0x3434\" pid=\"D034\"/>\n"
    "</mouse>\n"
    "<mouse name=\"Second\" device_type=\" 102x\" device_attr=\"Two\"/>\n"
    "</device>\n<software version=\"2.5.0\" build=\"7\"><notes/></software>\n</config>\n";

TEST(DeviceList, ReadsModelsAndModesInFileOrder) {
    bool loaded = false;
    const DeviceList list = LoadText(kTwoModels, &loaded);
    ASSERT_TRUE(loaded);
    ASSERT_EQ(list.devices.size(), 2u);
    EXPECT_EQ(list.devices[0].name, L"First");
    EXPECT_EQ(list.devices[1].device_type, 102);
    EXPECT_EQ(list.devices[1].device_attr, L"Two");
    EXPECT_TRUE(list.ShowsModelList());
    EXPECT_EQ(list.softwareVersion, L"2.5.0");

    ASSERT_EQ(list.modes.size(), 2u);
    EXPECT_EQ(list.modes[0].device_attr, L"One");
    EXPECT_EQ(list.modes[0].desc, L"cable");
    EXPECT_EQ(list.modes[0].hid_interface, L"A&B");
    EXPECT_EQ(list.modes[0].vid, list.modes[1].vid);  // "3434" and "0x3434"
    EXPECT_EQ(list.modes[0].vid, 0x3434u);
    EXPECT_EQ(list.modes[0].pid, 0xD032u);
    EXPECT_EQ(list.modes[1].mode, 2);
    EXPECT_EQ(list.modes[1].pid, 0xD034u);

    EXPECT_EQ(list.ModesOf(101).size(), 2u);
    EXPECT_TRUE(list.ModesOf(102).empty());  // listed, never found on the bus
    EXPECT_EQ(list.ModelName(102), L"Two");
    EXPECT_EQ(list.ModelName(5), L"");
    EXPECT_EQ(list.SelectDeviceType(102), 102);
    EXPECT_EQ(list.SelectDeviceType(999), 101);
}

TEST(DeviceList, OneModelHidesTheModelList) {
    const DeviceList list = LoadText(
        "<config><device><mouse name=\"Only\" device_type=\"101\" device_attr=\"Only\"/></device>"
        "</config>");
    ASSERT_EQ(list.devices.size(), 1u);
    EXPECT_FALSE(list.ShowsModelList());
    EXPECT_EQ(list.softwareVersion, L"");
}

TEST(DeviceList, BadFilesGiveEmptyLists) {
    const char* const cases[] = {
        "",
        "<config><device><mouse name=\"x\" device_type=\"1\"></device></config>",  // unended
        "<other><device><mouse name=\"x\" device_type=\"1\"/></device></other>",
        "<Config><device><mouse name=\"x\" device_type=\"1\"/></device></Config>",
        "\x89PNG\r\n\x1a\n\0\0\0binary",
    };
    for (const char* text : cases) {
        bool loaded = true;
        const DeviceList list = LoadText(text, &loaded);
        EXPECT_FALSE(loaded) << text;
        EXPECT_TRUE(list.devices.empty() && list.modes.empty()) << text;
        EXPECT_EQ(list.SelectDeviceType(101), 0);
        EXPECT_EQ(list.ModelName(0), L"");
    }
    DeviceList list;
    EXPECT_FALSE(LoadDeviceList(L"/nonexistent/config.xml", list));
}

TEST(DeviceList, SoftwareIsOnlyFoundAfterTheDeviceBlock) {
    const DeviceList list = LoadText(
        "<config><software version=\"1\"/><device><mouse device_type=\"1\"/></device></config>");
    EXPECT_EQ(list.devices.size(), 1u);
    EXPECT_EQ(list.softwareVersion, L"");
}

TEST(AttributeNumbers, DecimalAndHexadecimalRules) {
    struct Case {
        const wchar_t* text;
        int32_t decimal;
        uint32_t hex;
    };
    const Case cases[] = {
        {L"3434", 3434, 0x3434},
        {L"0x3434", 0, 0x3434},
        {L"0X3434", 0, 0x3434},
        {L"  -12xyz", -12, 0xFFFFFFEEu},
        {L"+7", 7, 7},
        {L"", 0, 0},
        {L"text", 0, 0},
        {L"D032", 0, 0xD032},
        {L"\t42 ", 42, 0x42},
        {L"99999999999", 2147483647, 0xFFFFFFFF},
        {L"-99999999999", -2147483647 - 1, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseDecimalAttribute(c.text), c.decimal) << Quorl::WideToUtf8(c.text);
        EXPECT_EQ(ParseHexAttribute(c.text), c.hex) << Quorl::WideToUtf8(c.text);
    }
}

// The shipped list must load through the program's own reader.
TEST(DeviceList, ShippedListLoads) {
    const char* source = std::getenv("TALVANE_SOURCE_DIR");
    ASSERT_NE(source, nullptr) << "run through ctest";
    DeviceList list;
    ASSERT_TRUE(LoadDeviceList(DeviceListPath(W(std::string(source) + "/data/")), list));
    ASSERT_EQ(list.devices.size(), 2u);
    EXPECT_TRUE(list.ShowsModelList());
    EXPECT_EQ(list.SelectDeviceType(101), 101);
    EXPECT_EQ(list.ModelName(101), L"Veyra");
    EXPECT_EQ(list.ModelName(102), L"VeyraLite");
    EXPECT_FALSE(list.softwareVersion.empty());
    for (const int32_t type : {101, 102}) {
        const DeviceEntryList modes = list.ModesOf(type);
        ASSERT_EQ(modes.size(), 3u);
        for (int32_t k = 0; k < 3; ++k) {
            EXPECT_EQ(modes[k].mode, k);
            EXPECT_EQ(modes[k].vid, 0x3434u);
            wchar_t ids[32];
            swprintf(ids, 32, L"VID_3434&PID_%04X", modes[k].pid);
            EXPECT_TRUE(modes[k].hid_interface.starts_with(ids));
            EXPECT_EQ(modes[k].hid_interface.ends_with(L"&MI_01"), k != 2);
        }
    }
    EXPECT_EQ(list.ModesOf(101)[0].pid, 0xD032u);
    EXPECT_EQ(list.ModesOf(102)[2].pid, 0xD044u);
}

}  // namespace
