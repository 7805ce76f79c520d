#include "app/device/DeviceCommands.h"

#include <gtest/gtest.h>

#include "app/device/DeviceTrace.h"
#include "app/device/FakeHid_test.h"
#include "app/store/DeviceDataDB.h"

namespace {

class CommandsTest : public ::testing::Test {
protected:
    CommandsTest() : hid(nullptr, &clock), commands(hid, db) {
        SetDeviceTraceHook([this](std::string_view text) { traces.emplace_back(text); });
    }
    ~CommandsTest() override { SetDeviceTraceHook({}); }
    void Attach(int mode) {
        hid.SetSelectedType(101);
        hid.AddEntry(FakeEntry(&device, 101, mode));
        hid.SetOpened();
    }
    FakeSleeper clock;
    HidDeviceManager hid;
    DeviceDataDB db;  // not opened: every value reads as 0
    DeviceCommands commands;
    FakeDeviceScript device;
    std::vector<std::string> traces;
};

TEST_F(CommandsTest, ButtonFunctionsWithAMacroInTwoPackets) {
    Attach(0);
    device.gets = {Answer(65, {{0, 0x52}, {1, 0x61}, {2, 1}, {3, 4}}),
                   Answer(65, {{0, 0x52}, {1, 0x62}, {5, 1}, {6, 2}, {10, 9}}),
                   Answer(65, {{0, 0x52}, {1, 0x65}, {3, 1}, {6, 58}, {7, 0x01}}),
                   Answer(65, {{0, 0x52}, {1, 0x65}, {3, 0}, {6, 4}, {7, 0xAB}})};
    DeviceButtonFunctions read;
    ASSERT_TRUE(commands.ReadButtonFunctions(read));
    EXPECT_EQ(read.entries[0].kind, 1);
    EXPECT_EQ(read.entries[0].function, (std::array<uint8_t, 6>{1, 2, 0, 0, 0, 9}));
    EXPECT_EQ(read.entries[1].kind, 4);
    ASSERT_EQ(read.macros.size(), 1u);
    EXPECT_EQ(read.macros[0].first, 1);
    ASSERT_EQ(read.macros[0].second.size(), 62u);
    EXPECT_EQ(read.macros[0].second[58], 0xAB);
    ASSERT_EQ(device.sent.size(), 4u);
    EXPECT_EQ(device.sent[2][4], 0);
    EXPECT_EQ(device.sent[3][4], 0xFF);  // the continuation request
    EXPECT_EQ(device.sent[3][5], 0xFF);
}

TEST_F(CommandsTest, EndlessContinuationIsCutOff) {
    Attach(0);
    device.gets.push_back(Answer(65, {{0, 0x52}, {1, 0x61}, {2, 4}}));
    for (int i = 0; i < 200; ++i) {
        device.gets.push_back(Answer(65, {{0, 0x52}, {1, 0x65}, {3, 1}, {6, 58}}));
    }
    DeviceButtonFunctions read;
    read.entries[5].kind = 9;
    EXPECT_FALSE(commands.ReadButtonFunctions(read));
    EXPECT_EQ(read.entries[5].kind, 9);  // a failed read changes nothing
    EXPECT_EQ(device.sent.size(), 1u + DeviceCommands::kMaxMacroPackets);
    ASSERT_FALSE(traces.empty());
    EXPECT_EQ(traces.back().rfind("0x52 0x65: ", 0), 0u);
}

TEST_F(CommandsTest, MalformedAnswersFailTheRead) {
    Attach(0);
    device.gets = {Answer(65, {{0, 0x52}, {1, 0x61}, {2, 4}}),
                   Answer(65, {{0, 0x52}, {1, 0x65}, {6, 200}})};
    DeviceButtonFunctions read;
    EXPECT_FALSE(commands.ReadButtonFunctions(read));
    DeviceReports::DeviceInfo info;
    info.battery_level = 42;
    device.gets = {Answer(21, {{0, 0x51}, {1, 0x07}, {11, 99}})};  // the answer of another command
    EXPECT_FALSE(commands.ReadDeviceInfo(info));
    // Cut short: what follows the answer in the buffer is the request's, not the device's.
    device.gets = {Bytes{0x51, 0x06, 1, 2, 3, 4, 5, 6, 7, 8, 9, 60}};
    EXPECT_FALSE(commands.ReadDeviceInfo(info));
    EXPECT_EQ(info.battery_level, 42);
}

TEST_F(CommandsTest, FirmwareVersion) {
    Attach(0);
    device.gets = {Answer(21, {{0, 0x51}, {1, 0x04}, {2, 0}})};
    EXPECT_EQ(commands.ReadFirmwareVersion(false, 1033), L"0.0");
    device.gets = {
        Answer(21, {{0, 0x51}, {1, 0x04}, {2, 4}, {3, 'V'}, {4, '1'}, {5, '.'}, {6, 0xE9}})};
    EXPECT_EQ(commands.ReadFirmwareVersion(true, 1033), L"V1.\u00E9");
    EXPECT_EQ(device.sent.back()[2], 0xAA);
}

TEST_F(CommandsTest, WirelessLinkCheck) {
    Attach(1);
    device.inputs = {Answer(21, {{0, 0x54}, {1, 0xE2}}), Bytes{},
                     Answer(21, {{0, 0x54}, {1, 0xE4}, {2, 1}}),
                     Answer(21, {{0, 0x54}, {1, 0xE3}})};
    EXPECT_TRUE(commands.CheckWirelessLink());
    EXPECT_EQ(device.sent.back(), Answer(21, {{0, 0x51}, {1, 0x0C}, {2, 2}}));
    device.inputs = {Answer(21, {{0, 0x54}, {1, 0xE4}, {2, 2}}),
                     Answer(21, {{0, 0x54}, {1, 0xE3}})};
    EXPECT_FALSE(commands.CheckWirelessLink());
    EXPECT_EQ(device.inputs.size(), 1u);  // stopped at the refusal
    device.inputs.clear();
    device.readTimeouts.clear();
    EXPECT_FALSE(commands.CheckWirelessLink());
    EXPECT_EQ(device.readTimeouts.size(), 10u);
}

TEST_F(CommandsTest, SensorSettingsAreRetriedOnlyOnReceivers) {
    Attach(1);
    device.sendResults = {-1, -1, 21};
    EXPECT_TRUE(commands.SendSensorSettings(1));
    EXPECT_EQ(device.sent.size(), 3u);
    device.sendResults = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    EXPECT_FALSE(commands.SendSensorSettings(1));
    EXPECT_EQ(device.sent.size(), 13u);
    EXPECT_EQ(traces.back(), "0x51 0x42: send failed");
}

TEST_F(CommandsTest, ReadExchangeUsesTheAckWaitOnReceivers) {
    Attach(1);
    device.inputs = {Answer(21, {{0, 0x54}, {1, 0xE4}, {2, 1}})};
    device.gets = {Answer(21, {{0, 0x51}, {1, 0x12}, {2, 1}, {3, 8}, {4, 3}})};
    DeviceReports::LightingInfo info;
    ASSERT_TRUE(commands.ReadLightingInfo(info));
    EXPECT_EQ(info.mode_count, 8);
    EXPECT_EQ(info.current_mode, 3);
    // No 66 ms pause: the acknowledged exchange sends at once.
    EXPECT_TRUE(clock.sleeps.empty());
    device.inputs = {Answer(21, {{0, 0x54}, {1, 0xE4}, {2, 1}})};
    device.gets = {Bytes{0x51, 0x12, 1, 8}};  // the current mode is missing
    EXPECT_FALSE(commands.ReadLightingInfo(info));
    EXPECT_EQ(info.current_mode, 3);
}

TEST_F(CommandsTest, LightingBrightnessAndSpeedGoTwice) {
    Attach(0);
    EXPECT_TRUE(commands.SendLightingBrightness(2, 60));
    EXPECT_TRUE(commands.SendLightingSpeed(2, 3));
    ASSERT_EQ(device.sent.size(), 4u);
    EXPECT_EQ(device.sent[0], device.sent[1]);
    EXPECT_EQ(device.sent[2][1], 0x27);
    EXPECT_EQ(device.sent[3][4], 3);
}

}  // namespace
