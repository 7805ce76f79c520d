// talvane-cli as a user runs it, against a running talvane-virtual-mouse on each connection:
// what reaches the store and the mouse's report log, and what is refused.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <regex>
#include <sstream>

#include "app/cli/CliRun_test.h"
#include "app/cli/CliWatchRun_test.h"
#include "app/device/VirtualMouseProcess_test.h"
#include "app/platform/InstanceLock.h"
#include "app/store/DeviceDataDB.h"
#include "quorl/core/Utf8.h"
#include "tests/support/TempFolder.h"

namespace {

class TalvaneCliTest : public ::testing::Test {
protected:
    TalvaneCliTest() : hid(folder / "hid"), cli(folder.Path(), hid) {}

    // A mouse of this connection, with the store already holding its five profiles.
    void StartMouse(const std::string& mode) {
        mouse = std::make_unique<VirtualMouseRun>(
            hid, std::vector<std::string>{"--mode", mode, "--state", folder / ("state-" + mode)});
        ASSERT_TRUE(WaitUntil([&] { return !Log().empty() || HasInterface(); }));
        ASSERT_EQ(cli.Run({"profile"}).exitCode, 0);
    }
    bool HasInterface() {
        std::error_code e;
        for (const auto& entry : std::filesystem::directory_iterator(hid, e)) {
            if (entry.path().extension() == ".hid") {
                return true;
            }
        }
        return false;
    }
    void StopMouse() {
        mouse.reset();
        std::filesystem::remove_all(hid);
    }
    std::string Log() { return ReadFileText(hid + "/virtual-mouse.log"); }
    std::string Db() { return ReadFileText(cli.DataDir() + "db/Veyra_data.db"); }
    // The reports set on the mouse since the log had `from` bytes, as hex text.
    std::vector<std::string> SetFeatures(size_t from) {
        std::vector<std::string> out;
        std::istringstream lines(Log().substr(from));
        std::string line;
        while (std::getline(lines, line)) {
            size_t at = line.find(" set-feature ");
            if (line.find(" > ") != std::string::npos && at != std::string::npos) {
                out.push_back(line.substr(at + 13));
            }
        }
        return out;
    }
    bool Sent(size_t from, const std::string& start) {
        for (const std::string& r : SetFeatures(from)) {
            if (r.compare(0, start.size(), start) == 0) {
                return true;
            }
        }
        return false;
    }
    std::wstring Config(int profile, const wchar_t* key) {
        DeviceDataDB db;
        std::wstring value;
        if (db.OpenDeviceDatabase(Quorl::Utf8ToWide(cli.DataDir()), L"Veyra")) {
            db.GetConfigValue(profile, key, value);
        }
        return value;
    }
    ButtonAssignment Button(int profile, int button) {
        DeviceDataDB db;
        ButtonAssignment a;
        if (db.OpenDeviceDatabase(Quorl::Utf8ToWide(cli.DataDir()), L"Veyra")) {
            db.GetButtonAssignment(profile, button, a);
        }
        return a;
    }

    TempFolder folder;
    std::string hid;
    CliRunner cli;
    std::unique_ptr<VirtualMouseRun> mouse;
};

struct SettingCase {
    std::vector<std::string> args;
    const wchar_t* key;
    const wchar_t* stored;
    std::string report;  // the start of the report the mouse must get
};

TEST_F(TalvaneCliTest, EverySettingIsStoredAndReachesTheMouseOnCableAndReceiver) {
    const SettingCase cases[] = {
        // Typed DPI values are clamped and rounded down as on the page: 4450 = 0x1162.
        {{"dpi", "set", "3", "4475"}, L"dpi_group2_value", L"4450", "51 40"},
        {{"dpi", "count", "5"}, L"dpi_count", L"5", "51 40"},
        {{"dpi", "active", "1"}, L"dpi_index", L"0", "51 40"},
        {{"rate", "set", "500"}, L"report_rate", L"2", "51 41"},
        {{"liftoff", "set", "2"}, L"liftoff_height", L"2", "51 42"},
        {{"scroll", "set", "2"}, L"scroll_flag", L"2", "51 42"},
        {{"esports", "on"}, L"e-sports_flag", L"2", "51 42"},
        {{"debounce", "set", "12"}, L"button_respondtime", L"12", "51 43 0c"},
        {{"wakeup", "set", "2", "on"}, nullptr, nullptr, "51 47"},
        {{"sensor", "set", "1", "on"}, nullptr, nullptr, "51 42"},
    };
    for (const char* mode : {"cable", "receiver"}) {
        SCOPED_TRACE(mode);
        StartMouse(mode);
        for (const SettingCase& c : cases) {
            SCOPED_TRACE(c.args[0] + " " + c.args[1]);
            const size_t before = Log().size();
            CliResult r = cli.Run(c.args);
            EXPECT_EQ(r.exitCode, 0) << r.err;
            EXPECT_TRUE(Sent(before, c.report)) << Log().substr(before);
            if (c.key != nullptr) {
                EXPECT_EQ(Config(1, c.key), c.stored);
            }
        }
        // The DPI report carries the rounded value of level 3.
        bool found = false;
        for (const std::string& r : SetFeatures(0)) {
            found |= r.compare(0, 5, "51 40") == 0 && r.find("62 11") != std::string::npos;
        }
        EXPECT_TRUE(found);
        StopMouse();
    }
}

TEST_F(TalvaneCliTest, ButtonsAndMacrosReachTheMouse) {
    StartMouse("receiver");
    size_t before = Log().size();
    CliResult r = cli.Run({"button", "set", "3", "key", "ctrl+c"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(Button(1, 3).macro_type, 2);
    EXPECT_TRUE(Sent(before, "52 52 03 00 02")) << Log().substr(before);

    // The left button is locked until unlocked; the lock itself sends nothing.
    before = Log().size();
    EXPECT_EQ(cli.Run({"button", "set", "0", "mouse", "3"}).exitCode, 2);
    EXPECT_EQ(cli.Run({"button", "lock", "off"}).exitCode, 0);
    EXPECT_TRUE(SetFeatures(before).empty());
    EXPECT_EQ(cli.Run({"button", "set", "0", "mouse", "3"}).exitCode, 0);
    EXPECT_EQ(Button(1, 0).macro_value, 3);

    ASSERT_EQ(cli.Run({"macro", "new"}).exitCode, 0);
    before = Log().size();
    r = cli.Run({"macro", "bind", "1", "4"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(Button(1, 4).macro_type, 4);
    EXPECT_EQ(Button(1, 4).macro_value, 1);
    EXPECT_FALSE(SetFeatures(before).empty());

    // Deleting the macro gives the button its default back, on the mouse too.
    before = Log().size();
    EXPECT_EQ(cli.Run({"macro", "delete", "1"}).exitCode, 0);
    EXPECT_EQ(Button(1, 4).macro_type, 0);
    EXPECT_TRUE(Sent(before, "52 52 04 00")) << Log().substr(before);

    // What button list shows is what the store holds.
    r = cli.Run({"--json", "button"});
    EXPECT_NE(r.out.find(R"("index":0,"name":"Left button","kind":1,"value":3)"), std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find(R"("index":3,"name":"Back button","kind":2)"), std::string::npos);

    before = Log().size();
    EXPECT_EQ(cli.Run({"button", "reset-all"}).exitCode, 0);
    EXPECT_EQ(Button(1, 3).macro_type, 0);
    EXPECT_TRUE(Sent(before, "51 0b"));
}

TEST_F(TalvaneCliTest, LightingGoesThroughTheReceiverOnly) {
    StartMouse("receiver");
    size_t before = Log().size();
    EXPECT_EQ(cli.Run({"lighting", "mode", "2"}).exitCode, 0);
    EXPECT_TRUE(Sent(before, "51 22 01 02")) << Log().substr(before);
    before = Log().size();
    EXPECT_EQ(cli.Run({"lighting", "colour", "ff8000"}).exitCode, 0);
    EXPECT_TRUE(Sent(before, "51 28")) << Log().substr(before);
    CliResult r = cli.Run({"--json", "lighting"});
    EXPECT_NE(r.out.find(R"("active":2,)"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(R"("mode":2,)"), std::string::npos);
    EXPECT_NE(r.out.find(R"("colour":"#ff8000")"), std::string::npos) << r.out;
    StopMouse();

    StartMouse("cable");
    const std::string db = Db();
    before = Log().size();
    r = cli.Run({"lighting", "mode", "4"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("receiver"), std::string::npos);
    EXPECT_EQ(Log().size(), before);
    EXPECT_EQ(Db(), db);
}

TEST_F(TalvaneCliTest, RefusedInputLeavesStoreAndMouseUntouched) {
    StartMouse("receiver");
    const struct {
        std::vector<std::string> args;
        int exitCode;
    } cases[] = {
        {{"frobnicate"}, 2},
        {{"--frobnicate", "info"}, 2},
        {{"--profile", "9", "dpi"}, 2},
        {{"dpi", "set", "3"}, 2},
        {{"dpi", "set", "9", "400"}, 2},
        {{"dpi", "set", "x", "400"}, 2},
        {{"rate", "set", "300"}, 2},
        {{"debounce", "set", "21"}, 2},
        {{"debounce", "set", "99999999999999"}, 2},
        {{"sensor", "set", "1", "maybe"}, 2},
        {{"button", "set", "3", "key", "nosuch"}, 2},
        {{"button", "set", "99", "mouse", "1"}, 2},
        {{"button", "set", "3", "mouse", "77"}, 2},
        {{"button", "set", "3", "fire", "mouse", "1", "5", "10"}, 2},
        {{"macro", "bind", "42", "3"}, 2},
        {{"lighting", "brightness", "300"}, 2},
        {{"lighting", "colour", "orange"}, 2},
        {{"profile", "switch", "6"}, 2},
        {{"profile", "import", folder / "missing.xml"}, 2},
        {{"--model", "999", "info"}, 2},
    };
    const std::string db = Db();
    const size_t before = Log().size();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0] + (c.args.size() > 1 ? " " + c.args[1] : ""));
        CliResult r = cli.Run(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.out << r.err;
        // It begins with one line saying why.
        EXPECT_EQ(r.err.rfind("talvane-cli: ", 0), 0u) << r.err;
    }
    EXPECT_EQ(Db(), db);
    EXPECT_EQ(Log().size(), before) << Log().substr(before);
    // An unknown command prints the usage; so does none at all.
    EXPECT_NE(cli.Run({}).err.find("Usage: talvane-cli"), std::string::npos);
    EXPECT_NE(cli.Run({"--help"}).out.find("factory-reset"), std::string::npos);
    EXPECT_EQ(cli.Run({"--version"}).out.rfind("talvane-cli 1.", 0), 0u);
}

TEST_F(TalvaneCliTest, OverBluetoothOnlyTheConnectionIsShownAndNothingIsSent) {
    StartMouse("bluetooth");
    const std::string db = Db();
    const size_t before = Log().size();
    CliResult r = cli.Run({"--json", "info"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find(R"("connection":"bluetooth")"), std::string::npos) << r.out;
    for (const std::vector<std::string>& args : {std::vector<std::string>{"dpi", "set", "1", "800"},
                                                 {"sync"},
                                                 {"rate", "set", "125"},
                                                 {"button", "set", "3", "media", "1"},
                                                 {"--yes", "factory-reset"}}) {
        SCOPED_TRACE(args[0]);
        r = cli.Run(args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_NE(r.err.find("Bluetooth"), std::string::npos) << r.err;
    }
    EXPECT_EQ(Db(), db);
    EXPECT_EQ(Log().size(), before) << Log().substr(before);
}

TEST_F(TalvaneCliTest, WhileTheWindowRunsOnlyTheStoreIsRead) {
    StartMouse("cable");
    ScopedEnv runtime("XDG_RUNTIME_DIR", cli.RuntimeDir());
    InstanceLock window;
    ASSERT_EQ(window.TryTake(), InstanceLockState::kTaken);
    const std::string db = Db();
    const size_t before = Log().size();
    for (const std::vector<std::string>& args : {std::vector<std::string>{"dpi", "set", "1", "800"},
                                                 {"info"},
                                                 {"watch"},
                                                 {"macro", "new"},
                                                 {"profile", "rename", "2", "Work"}}) {
        SCOPED_TRACE(args[0]);
        CliResult r = cli.Run(args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_NE(r.err.find("Talvane is running"), std::string::npos) << r.err;
    }
    CliResult r = cli.Run({"dpi"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("level 1: 1000"), std::string::npos) << r.out;
    EXPECT_EQ(Db(), db);
    EXPECT_EQ(Log().size(), before);
    window.Release();
    EXPECT_EQ(cli.Run({"dpi", "set", "1", "800"}).exitCode, 0);
}

TEST_F(TalvaneCliTest, AnotherProfileIsOnlyStoredAndSwitchingSendsIt) {
    StartMouse("cable");
    size_t before = Log().size();
    CliResult r = cli.Run({"--profile", "2", "dpi", "set", "1", "800"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(Config(2, L"dpi_group0_value"), L"800");
    EXPECT_EQ(Config(1, L"dpi_group0_value"), L"1000");
    EXPECT_EQ(Log().size(), before);
    EXPECT_NE(r.out.find("which is not active"), std::string::npos) << r.out;
    r = cli.Run({"profile", "switch", "2"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(Sent(before, "52 57")) << Log().substr(before);
    // The mouse now reads back as profile 2.
    EXPECT_EQ(cli.Run({"sync"}).exitCode, 0);
    EXPECT_EQ(Config(2, L"dpi_group0_value"), L"800");
    r = cli.Run({"--json", "info"});
    EXPECT_NE(r.out.find(R"("mouse_profile":2)"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(R"("active_profile":2)"), std::string::npos) << r.out;
}

TEST_F(TalvaneCliTest, AProfileFileSurvivesImportAndExportUnchanged) {
    StartMouse("receiver");
    ASSERT_EQ(cli.Run({"dpi", "set", "2", "2250"}).exitCode, 0);
    ASSERT_EQ(cli.Run({"button", "set", "3", "key", "shift+f5"}).exitCode, 0);
    ASSERT_EQ(cli.Run({"lighting", "mode", "1"}).exitCode, 0);
    const std::string first = folder / "first.xml", again = folder / "again.xml";
    ASSERT_EQ(cli.Run({"profile", "export", "1", first}).exitCode, 0);
    CliResult r = cli.Run({"--profile", "3", "profile", "import", first});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ASSERT_EQ(cli.Run({"profile", "export", "3", again}).exitCode, 0);
    // The files differ only in the profile's own name, which an import keeps.
    auto withoutName = [](const std::string& text) {
        return std::regex_replace(text, std::regex(R"(<profileinfo name="[^"]*")"), "<profileinfo");
    };
    EXPECT_EQ(withoutName(ReadFileText(again)), withoutName(ReadFileText(first)));
    EXPECT_NE(ReadFileText(first).find("2250"), std::string::npos);
    // A macro file likewise.
    ASSERT_EQ(cli.Run({"macro", "new"}).exitCode, 0);
    ASSERT_EQ(cli.Run({"macro", "export", "1", folder / "m"}).exitCode, 0);
    ASSERT_EQ(cli.Run({"macro", "import", folder / "m.xml"}).exitCode, 0);
    ASSERT_EQ(cli.Run({"macro", "rename", "1", "Other"}).exitCode, 0);
    ASSERT_EQ(cli.Run({"macro", "rename", "2", "Custom 1"}).exitCode, 0);
    ASSERT_EQ(cli.Run({"macro", "export", "2", folder / "m2.xml"}).exitCode, 0);
    EXPECT_EQ(ReadFileText(folder / "m2.xml"), ReadFileText(folder / "m.xml"));
}

TEST_F(TalvaneCliTest, FactoryResetAsksAndResetsMouseAndStore) {
    StartMouse("cable");
    ASSERT_EQ(cli.Run({"dpi", "set", "1", "800"}).exitCode, 0);
    size_t before = Log().size();
    CliResult r = cli.Run({"factory-reset"}, "n\n");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(Sent(before, "51 0b"));
    EXPECT_EQ(Config(1, L"dpi_group0_value"), L"800");
    r = cli.Run({"factory-reset"}, "y\n");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(Sent(before, "51 0b aa")) << Log().substr(before);
    EXPECT_EQ(Config(1, L"dpi_group0_value"), L"1000");
}

TEST_F(TalvaneCliTest, WatchPrintsWhatTheMouseReportsAndStoresIt) {
    StartMouse("receiver");
    ASSERT_EQ(cli.Run({"dpi", "active", "1"}).exitCode, 0);
    WatchRun watch(cli, hid);
    ASSERT_TRUE(watch.Printed("connection: receiver, online")) << watch.Output();
    ASSERT_TRUE(watch.Printed("battery: 85%")) << watch.Output();
    // The mouse has been read into the store.
    ASSERT_TRUE(watch.Printed("firmware: R2.01, mouse V1.08")) << watch.Output();
    const size_t before = Log().size();
    mouse->Send("dpi-button");
    EXPECT_TRUE(watch.Printed("dpi level: 2")) << watch.Output();
    EXPECT_TRUE(WaitUntil([&] { return Config(1, L"dpi_index") == L"1"; }));
    mouse->Send("battery 40 charging");
    EXPECT_TRUE(watch.Printed("battery: 40%, charging")) << watch.Output();
    mouse->Send("sleep");
    EXPECT_TRUE(watch.Printed("connection: receiver, offline")) << watch.Output();
    mouse->Send("wake");
    EXPECT_TRUE(watch.Printed("connection: receiver, online")) << watch.Output();
    // Unplugging and plugging the receiver back in.
    const size_t shown = watch.Output().size();
    mouse->Send("unplug");
    EXPECT_TRUE(watch.Printed("connection: none")) << watch.Output();
    mouse->Send("plug");
    EXPECT_TRUE(WaitUntil([&] {
        return watch.Output().find("connection: receiver, online", shown) != std::string::npos;
    })) << watch.Output();
    // The DPI button only reported: nothing was sent for it.
    for (const std::string& r : SetFeatures(before)) {
        EXPECT_NE(r.compare(0, 5, "51 40"), 0) << r;
    }
    EXPECT_EQ(watch.End(), 0);
    // Each change once: the level line is not repeated.
    const std::string& out = watch.Output();
    EXPECT_EQ(out.find("dpi level: 2"), out.rfind("dpi level: 2")) << out;
}

}  // namespace
