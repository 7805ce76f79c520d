#include "app/device/HidDeviceManager.h"

#include <gtest/gtest.h>

#include "app/device/FakeHid_test.h"

namespace {

Bytes Report21(std::initializer_list<uint8_t> head) {
    Bytes b(21, 0);
    std::copy(head.begin(), head.end(), b.begin());
    return b;
}

class ManagerTest : public ::testing::Test {
protected:
    ManagerTest() : hid(nullptr, &clock) {}
    void Open(std::initializer_list<HidInterfaceEntry> entries, int selected = 101) {
        hid.SetSelectedType(selected);
        for (const auto& e : entries) {
            hid.AddEntry(e);
        }
        hid.SetOpened();
    }
    FakeSleeper clock;
    HidDeviceManager hid;
    FakeDeviceScript cable, receiver, receiver2, other;
};

TEST_F(ManagerTest, WithoutEntriesEverySendFailsAtOnce) {
    hid.SetOpened();
    Bytes r = Report21({0x51, 0x40});
    EXPECT_FALSE(hid.GetCommandHandle());
    EXPECT_EQ(hid.GetConnectionMode(), -1);
    EXPECT_FALSE(hid.SendFeatureReport(r.data(), r.size(), true));
    EXPECT_FALSE(hid.SendAndWaitAck(r.data(), r.size()));
    EXPECT_TRUE(clock.sleeps.empty());
}

TEST_F(ManagerTest, RefusesExchangesWhileNotOpened) {
    hid.SetSelectedType(101);
    hid.AddEntry(FakeEntry(&cable, 101, 0));
    Bytes r = Report21({0x51, 0x40});
    EXPECT_FALSE(hid.SendFeatureReport(r.data(), r.size(), false));
    EXPECT_TRUE(cable.sent.empty());
}

TEST_F(ManagerTest, CommandHandlePriorityCableBluetoothReceiverSecondReceiver) {
    struct Case {
        const char* name;
        std::vector<int> modes;  // in entry order; 2 has no handle
        int expectedMode;
    };
    const Case cases[] = {
        {"cable beats receiver", {1, 0}, 0},
        {"bluetooth beats receiver", {1, 2}, 2},
        {"receiver beats second receiver", {3, 1}, 1},
        {"second receiver alone", {3}, 3},
        {"other model only", {}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeSleeper sleeper;
        HidDeviceManager m(nullptr, &sleeper);
        m.SetSelectedType(101);
        std::map<int, FakeDeviceScript> scripts;
        m.AddEntry(FakeEntry(&scripts[99], 102, 0));  // another model's cable comes first
        for (int mode : c.modes) {
            m.AddEntry(FakeEntry(mode == 2 ? nullptr : &scripts[mode], 101, mode));
        }
        m.SetOpened();
        EXPECT_EQ(m.GetConnectionMode(), c.expectedMode);
        Bytes r = Report21({0x51, 0x43, 8});
        bool sent = m.SendFeatureReport(r.data(), r.size(), false);
        bool hasHandle = c.expectedMode == 0 || c.expectedMode == 1 || c.expectedMode == 3;
        EXPECT_EQ(sent, hasHandle);
        EXPECT_TRUE(scripts[99].sent.empty());
        if (hasHandle) {
            ASSERT_EQ(scripts[c.expectedMode].sent.size(), 1u);
            EXPECT_EQ(scripts[c.expectedMode].sent[0], r);
        }
    }
}

TEST_F(ManagerTest, ListInterfacesKeepsTheSelectedTypeUnlessItIsZero) {
    Open({FakeEntry(&cable, 101, 0), FakeEntry(&other, 102, 0)});
    std::vector<HidInterfaceEntry> listed;
    EXPECT_TRUE(hid.ListInterfaces(listed));
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].index, 0);
    hid.SetSelectedType(0);
    listed.clear();
    EXPECT_TRUE(hid.ListInterfaces(listed));
    EXPECT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[1].index, 1);
    hid.CloseAllInterfaces();
    listed.clear();
    EXPECT_FALSE(hid.ListInterfaces(listed));
}

TEST_F(ManagerTest, SendPausesThenReadsBackWithRetries) {
    Open({FakeEntry(&cable, 101, 0)});
    Bytes answer = Report21({0x51, 0x07, 2, 0x31});
    cable.gets = {std::nullopt, Bytes{}, std::nullopt, answer};
    Bytes r = Report21({0x51, 0x07});
    EXPECT_TRUE(hid.SendFeatureReport(r.data(), r.size(), true));
    EXPECT_EQ(r, answer);
    EXPECT_EQ(cable.getCalls, 4);
    EXPECT_EQ(clock.sleeps, (std::vector<int>{66, 10, 10, 10}));
}

TEST_F(ManagerTest, ReadBackCopiesTheScratchBufferEvenWhenEveryGetFailed) {
    Open({FakeEntry(&cable, 101, 0)});
    for (int i = 0; i < 12; ++i) {
        cable.gets.push_back(std::nullopt);
    }
    Bytes r = Report21({0x51, 0x06});
    EXPECT_FALSE(hid.SendFeatureReport(r.data(), r.size(), true));
    EXPECT_EQ(cable.getCalls, 10);
    EXPECT_EQ(r[2], 0xEE);  // what the last failed get left in the scratch buffer
}

TEST_F(ManagerTest, ReadBacksTellHowManyBytesTheDeviceSent) {
    Open({FakeEntry(&cable, 101, 0)});
    size_t received = 99;
    cable.gets = {Bytes{0x51, 0x07, 2}};
    Bytes r = Report21({0x51, 0x07});
    EXPECT_TRUE(hid.SendFeatureReport(r.data(), r.size(), true, &received));
    EXPECT_EQ(received, 3u);
    cable.inputs = {Report21({0x54, 0xE4, 0x01})};
    cable.gets = {Bytes{0x52, 0x61}};
    r = Report21({0x52, 0x61});
    EXPECT_TRUE(hid.SendAndWaitAck(r.data(), r.size(), &received));
    EXPECT_EQ(received, 2u);
    cable.gets.clear();  // every get fails
    EXPECT_FALSE(hid.SendFeatureReport(r.data(), r.size(), true, &received));
    EXPECT_EQ(received, 0u);
}

TEST_F(ManagerTest, SendWithoutReadBackDependsOnTheSend) {
    Open({FakeEntry(&cable, 101, 0)});
    cable.sendResult = -1;
    Bytes r = Report21({0x51, 0x40});
    EXPECT_FALSE(hid.SendFeatureReport(r.data(), r.size(), false));
    EXPECT_EQ(cable.getCalls, 0);
}

TEST_F(ManagerTest, AckWaitIgnoresOtherReportsAndGetsAfterTheAck) {
    Open({FakeEntry(&receiver, 101, 1)});
    Bytes answer = Report21({0x52, 0x61, 1, 1, 1});
    receiver.inputs = {Report21({0x54, 0xE4, 0x02}), Report21({0x54, 0xE2, 1, 1}), Bytes{},
                       Report21({0x54, 0xE4, 0x01})};
    receiver.gets = {answer};
    Bytes r = Report21({0x52, 0x61});
    EXPECT_TRUE(hid.SendAndWaitAck(r.data(), r.size()));
    EXPECT_EQ(r, answer);
    EXPECT_EQ(receiver.getCalls, 1);
    EXPECT_EQ(clock.sleeps, (std::vector<int>{200, 200, 200}));
    EXPECT_EQ(receiver.readTimeouts, (std::vector<int>{100, 100, 100, 100}));
}

TEST_F(ManagerTest, AckWaitGivesUpAfterFiveReads) {
    Open({FakeEntry(&receiver, 101, 1)});
    for (int i = 0; i < 6; ++i) {
        receiver.inputs.push_back(Report21({0x54, 0xE4, 0x02}));
    }
    Bytes r = Report21({0x52, 0x61});
    EXPECT_FALSE(hid.SendAndWaitAck(r.data(), r.size()));
    EXPECT_EQ(receiver.readTimeouts.size(), 5u);
    EXPECT_EQ(receiver.getCalls, 0);
    EXPECT_EQ(r[1], 0xE4);  // the scratch buffer is copied back
}

TEST_F(ManagerTest, StaleAcksCannotAnswerAndDeviceReportsAreKept) {
    Open({FakeEntry(&receiver, 101, 1)});
    // An acknowledgement of an earlier command and a DPI report were waiting before the send.
    receiver.waiting = {Report21({0x54, 0xE4, 0x01}), Report21({0x54, 0xE2, 1, 1, 0, 50, 2})};
    receiver.inputs = {Report21({0x54, 0xE1, 3}), Report21({0x54, 0xE4, 0x01})};
    receiver.gets = {Report21({0x51, 0x12, 1, 8, 3})};
    Bytes r = Report21({0x51, 0x12});
    EXPECT_TRUE(hid.SendAndWaitAck(r.data(), r.size()));
    EXPECT_EQ(receiver.readTimeouts.size(), 2u);  // the stale ack was not taken
    HidHandlePtr handle = hid.GetCommandHandle();
    uint8_t report[21] = {};
    ASSERT_EQ(hid.ReadInputReport(handle, report, sizeof report), 21);
    EXPECT_EQ(report[1], 0xE2);
    ASSERT_EQ(hid.ReadInputReport(handle, report, sizeof report), 21);
    EXPECT_EQ(report[1], 0xE1);
    EXPECT_EQ(hid.ReadInputReport(handle, report, sizeof report), 0);
}

TEST_F(ManagerTest, PairedIdsWithTheirDefault) {
    struct Case {
        const char* name;
        int sendResult;
        std::deque<std::optional<Bytes>> gets;
        uint16_t vid, pid;
    };
    const Case cases[] = {
        {"answer after empty gets",
         0,
         {std::nullopt, Bytes{}, Report21({0x51, 0x03, 0, 0x34, 0x34, 0x42, 0xD0})},
         0x3434,
         0xD042},
        {"zeros", 0, {Report21({0x51, 0x03})}, 0x3434, 0xD032},
        {"send fails", -1, {}, 0x3434, 0xD032},
        {"every get fails", 0, {}, 0x3434, 0xD032},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeDeviceScript script;
        script.sendResult = c.sendResult;
        script.gets = c.gets;
        FakeHidDevice device(script);
        uint16_t vid = 1, pid = 1;
        hid.QueryPairedIds(device, vid, pid);
        EXPECT_EQ(vid, c.vid);
        EXPECT_EQ(pid, c.pid);
        ASSERT_EQ(script.sent.size(), 1u);
        EXPECT_EQ(script.sent[0], Report21({0x51, 0x03}));
        EXPECT_LE(script.getCalls, 10);
    }
}

}  // namespace
