#include "app/device/MacroTransfer.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/device/DeviceCommands.h"
#include "app/device/DeviceTrace.h"
#include "app/device/FakeHid_test.h"
#include "app/device/MacroFlash.h"
#include "app/store/DeviceDataDB.h"
#include "quorl/core/Utf8.h"
#include "tests/support/TempFolder.h"

namespace {

class MacroTransferTest : public ::testing::Test {
protected:
    MacroTransferTest()
        : hid(nullptr, &clock),
          commands(hid, db),
          flash(folder / "data/macro_flash.dat"),
          macros(commands, db, flash, clock) {
        SetDeviceTraceHook([](std::string_view) {});
        macros.SetLanguage([this] { return language; },
                           [](int id) {
                               return id == 112   ? std::wstring(L"Scroll Up")
                                      : id == 113 ? std::wstring(L"Scroll Down")
                                      : id == 351 ? std::wstring(L"Own")
                                                  : std::wstring();
                           });
    }
    ~MacroTransferTest() override { SetDeviceTraceHook({}); }
    void SetUp() override {
        std::filesystem::create_directories(folder / "db");
        ASSERT_TRUE(db.OpenDeviceDatabase(Quorl::Utf8ToWide(folder.Path() + "/"), L"Veyra"));
        ProfileInfo p;
        p.name = L"Profile 1";
        ASSERT_EQ(db.AddProfile(p), 1);
        hid.SetSelectedType(101);
        hid.AddEntry(FakeEntry(&device, 101, 0));
        hid.SetOpened();
    }
    // A macro of n key-down events.
    int AddMacro(const std::wstring& name, int items) {
        MacroInfo m;
        m.name = name;
        int id = db.AddMacroWithSettings(m);
        std::vector<MacroEvent> events;
        for (int i = 0; i < items; ++i) {
            events.push_back({0, id, 2, i, 65, 0, L""});
        }
        db.AddMacroEvents(events);
        return id;
    }
    std::string FlashFile() { return ReadFileText(folder / "data/macro_flash.dat"); }

    TempFolder folder;
    FakeSleeper clock;
    HidDeviceManager hid;
    DeviceDataDB db;
    DeviceCommands commands;
    MacroFlash flash;
    MacroTransfer macros;
    FakeDeviceScript device;
    int language = 1033;
};

TEST_F(MacroTransferTest, ShortMacrosGoInOneReportLongerOnesInPacketsOf58) {
    struct Case {
        int items;
        int32_t position;
        std::vector<std::pair<int, int>> reports;  // command, data bytes
        int sentItems;
    };
    const Case cases[] = {
        {13, 0, {{0x54, 58}}, 13},   {14, 0, {{0x55, 58}, {0x55, 4}}, 14},
        {11, 200, {{0x54, 54}}, 12},  // 200 + 50 + 4 = 254: a zero item goes in between
        {11, 456, {{0x54, 54}}, 12},  // the same place on the next 256-byte page
        {11, 201, {{0x54, 50}}, 11},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.items * 1000 + c.position);
        device.sent.clear();
        flash.SetPosition(c.position);
        int id = AddMacro(L"M", c.items);
        ASSERT_TRUE(macros.SendMacro(5, id));
        ASSERT_EQ(device.sent.size(), c.reports.size());
        std::vector<uint8_t> form;
        for (size_t i = 0; i < c.reports.size(); ++i) {
            const Bytes& r = device.sent[i];
            ASSERT_EQ(r.size(), 65u);
            EXPECT_EQ(r[0], 0x52);
            EXPECT_EQ(r[1], c.reports[i].first);
            EXPECT_EQ(r[2], 5);
            if (r[1] == 0x54) {
                EXPECT_EQ(r[3], 0);
                EXPECT_EQ(r[4], c.reports[i].second);
                form.assign(r.begin() + 5, r.begin() + 5 + r[4]);
            } else {
                EXPECT_EQ(r[3], i + 1 < c.reports.size() ? 1 : 0);
                EXPECT_EQ(r[4] | (r[5] << 8), static_cast<int>(58 * i));
                EXPECT_EQ(r[6], c.reports[i].second);
                form.insert(form.end(), r.begin() + 7, r.begin() + 7 + r[6]);
            }
        }
        ASSERT_EQ(form.size(), 6u + 4u * c.sentItems);
        EXPECT_EQ(form[0], 1);
        EXPECT_EQ(form[5], c.sentItems);
        EXPECT_EQ(form[6 + 1], 0x81);
        if (c.sentItems > c.items) {
            EXPECT_EQ(std::vector<uint8_t>(form.end() - 4, form.end()), std::vector<uint8_t>(4, 0));
        }
        EXPECT_EQ(flash.PendingButton(), 5);
        flash.Reset();
    }
}

TEST_F(MacroTransferTest, APendingMacroCountsAfterThreeSecondsOrWhenAnotherButtonGetsOne) {
    const int id = AddMacro(L"M", 2);  // 14 bytes: 18 with its gap
    ASSERT_TRUE(macros.SendMacro(1, id));
    clock.now += 2999;
    macros.CountPendingIfDue();
    EXPECT_EQ(flash.Position(), 0);
    ASSERT_TRUE(macros.SendMacro(1, id));  // overwritten in place
    EXPECT_EQ(flash.Position(), 0);
    clock.now += 10;
    ASSERT_TRUE(macros.SendMacro(2, id));  // counts the first at once
    EXPECT_EQ(flash.Position(), 18);
    EXPECT_EQ(FlashFile(), std::string("FFOT\x12\0\0\0", 8));
    clock.now += 3000;
    macros.CountPendingIfDue();
    EXPECT_EQ(flash.Position(), 36);
    EXPECT_EQ(flash.PendingButton(), -1);

    // A transfer that fails half-way is not pending and moves nothing.
    device.sendResults = {65, -1};
    EXPECT_FALSE(macros.SendMacro(3, AddMacro(L"Long", 20)));
    EXPECT_EQ(flash.PendingButton(), -1);
    EXPECT_EQ(flash.Position(), 36);
}

TEST_F(MacroTransferTest, TheFlashFileGivesThePositionOnlyWhenItIsWhole) {
    const std::string path = folder / "data/macro_flash.dat";
    std::filesystem::create_directories(folder / "data");
    const std::pair<std::string, int32_t> cases[] = {
        {std::string("FFOT\x10\x01\0\0", 8), 0x110},
        {std::string("FFOT\xFF\xFF\xFF\xFF", 8), -1},
        {std::string("FFOT\x10\x01\0", 7), 0},
        {std::string("FOOT\x10\x01\0\0", 8), 0},
    };
    for (const auto& [contents, position] : cases) {
        WriteFileText(path, contents);
        flash.SetPosition(77);
        WriteFileText(path, contents);
        flash.Load();
        EXPECT_EQ(flash.Position(), position);
    }
    std::filesystem::remove(path);
    flash.SetPosition(77);
    std::filesystem::remove(path);
    flash.Load();
    EXPECT_EQ(flash.Position(), 0);

    // A folder in the file's place cannot be read or written: the position stays in memory.
    std::filesystem::create_directories(path);
    flash.SetPosition(90);
    flash.Load();
    EXPECT_EQ(flash.Position(), 90);
    flash.CountPending();
}

Bytes NameAnswer(const std::string& name) {
    Bytes a(65, 0);
    a[0] = 0x52;
    a[1] = 0x63;
    a[3] = static_cast<uint8_t>(name.size());
    std::copy(name.begin(), name.end(), a.begin() + 4);
    return a;
}

TEST_F(MacroTransferTest, NamesTravelInTheCodePageOfTheLanguage) {
    language = 1049;
    const int id = AddMacro(L"\u041C\u0430\u043A\u0440\u043E\u0441", 1);  // "Макрос"
    ASSERT_TRUE(macros.SendMacroName(2, id));
    ASSERT_EQ(device.sent.size(), 1u);
    const Bytes& r = device.sent[0];
    EXPECT_EQ(r[1], 0x53);
    EXPECT_EQ(r[2], 2);
    ASSERT_EQ(r[3], 6);
    EXPECT_EQ(r[4], 0xCC);  // М in Windows-1251
    device.gets = {Bytes(r.begin(), r.end())};
    device.gets[0]->at(1) = 0x63;
    EXPECT_EQ(macros.ReadMacroName(2), L"\u041C\u0430\u043A\u0440\u043E\u0441");

    // A name too long for the report is cut at 61 bytes.
    language = 1033;
    ASSERT_TRUE(macros.SendMacroName(2, AddMacro(std::wstring(70, L'x'), 1)));
    EXPECT_EQ(device.sent.back()[3], 61);

    // Another language's default word becomes this language's (text 351).
    language = 2052;
    device.gets = {NameAnswer("Custom 4")};
    EXPECT_EQ(macros.ReadMacroName(2), L"Own 4");
    device.gets = {std::nullopt};
    EXPECT_EQ(macros.ReadMacroName(2), L"");
}

TEST_F(MacroTransferTest, AMacroFromTheMouseBecomesEventsWithTimeStamps) {
    clock.now = 5000;
    // play 5000 times (only 12 bits come back), delay 0x0102; key A down, 20 ms, up; wheel
    // up as button 2; wheel down; an empty item; an item the program does not know.
    const Bytes form = {1,   0x88, 0x13, 0x02, 0x01, 7, 0, 0x81, 4, 0, 0, 0x0F,
                        20,  0,    0,    0x01, 4,    0, 0, 0x05, 2, 0, 0, 0x05,
                        255, 0,    0,    0,    0,    0, 0, 0x77, 1, 1};
    device.gets = {NameAnswer("Combo")};
    const int id = macros.DecodeDeviceMacro(1, 6, form.data(), form.size());
    ASSERT_GT(id, 0);
    MacroInfo m;
    ASSERT_TRUE(db.GetMacro(id, m));
    EXPECT_EQ(m.name, L"Combo");
    EXPECT_EQ(m.play_times, 904);
    EXPECT_EQ(m.play_type, 0);
    EXPECT_EQ(m.delay_type, 2);
    EXPECT_EQ(m.delay_time, 0x0102);
    MacroEventList events;
    ASSERT_EQ(db.ListMacroEvents(id, events), 6);
    struct Expected {
        int type, value, stamp;
        std::wstring desc;
    };
    const Expected expected[] = {
        {2, 65, 5000, L"\u2193  A"}, {1, 20, 5001, L" -   20 ms"}, {3, 65, 5000, L"\u2191  A"},
        {5, 2, 5003, L"Scroll Up"},  {4, 1, 5003, L"Scroll Down"}, {0, 0, 5005, L""},
    };
    for (size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(events[i]->record_index, static_cast<int>(i));
        EXPECT_EQ(events[i]->type, expected[i].type);
        EXPECT_EQ(events[i]->value, expected[i].value);
        EXPECT_EQ(events[i]->delay_time, expected[i].stamp);
        EXPECT_EQ(events[i]->desc, expected[i].desc);
    }
    ButtonAssignment a;
    ASSERT_TRUE(db.GetButtonAssignment(1, 6, a));
    EXPECT_EQ(a.macro_type, 4);
    EXPECT_EQ(a.macro_value, id);
    EXPECT_EQ(a.macro_desc, L"Combo");
    EXPECT_EQ(flash.Position(), 6 + 28 + 4);

    // Sent back, the wheel items keep their bytes.
    std::vector<uint8_t> again = EncodeMacro(m, events);
    EXPECT_EQ(std::vector<uint8_t>(again.begin() + 18, again.begin() + 26),
              (std::vector<uint8_t>{0, 0x05, 2, 0, 0, 0x05, 255, 0}));

    // The same name again is the stored macro, not a new one.
    device.gets = {NameAnswer("Combo")};
    EXPECT_EQ(macros.DecodeDeviceMacro(1, 7, form.data(), form.size()), id);
    MacroList all;
    EXPECT_EQ(db.ListMacros(all), 1);
}

TEST_F(MacroTransferTest, ShortOrOverclaimingMacroDataIsReadOnlyAsFarAsItGoes) {
    const Bytes header = {1, 0, 0, 0};
    EXPECT_EQ(macros.DecodeDeviceMacro(1, 2, header.data(), header.size()), 0);
    MacroList all;
    EXPECT_EQ(db.ListMacros(all), 0);
    EXPECT_TRUE(device.sent.empty());  // not even the name was asked for

    // The count says 200 items, two arrived.
    const Bytes form = {1, 1, 0, 0, 0, 200, 0, 0x81, 4, 0, 0, 0x01, 4, 0};
    device.gets = {NameAnswer("")};
    const int id = macros.DecodeDeviceMacro(1, 2, form.data(), form.size());
    ASSERT_GT(id, 0);
    MacroEventList events;
    EXPECT_EQ(db.ListMacroEvents(id, events), 2);
}

}  // namespace
