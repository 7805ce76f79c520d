// The Bluetooth battery as a user sees it in talvane-cli: through the BlueZ that the virtual
// mouse plays on a private bus. Not threaded: talvane-cli loads GIO here, which is not built
// with ThreadSanitizer.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "app/cli/CliRun_test.h"
#include "app/cli/CliWatchRun_test.h"
#include "app/console/PrivateDbusDaemon.h"
#include "tests/support/TempFolder.h"

namespace {

// Processes whose command line mentions text (a leaked daemon or mouse of a test's home).
bool RunningWith(const std::string& text) {
    std::error_code e;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", e)) {
        std::ifstream in(entry.path() / "cmdline");
        std::string cmdline((std::istreambuf_iterator<char>(in)), {});
        if (cmdline.find(text) != std::string::npos && entry.path().filename() != "self") {
            return true;
        }
    }
    return false;
}

TEST(CliBluetoothBattery, InfoShowsTheBatteryOfItsOwnBluetoothMouseAndLeavesNothingRunning) {
    TempFolder folder;
    CliRunner cli(folder.Path(), "");
    CliResult r = cli.Run({"--virtual-mouse=bluetooth", "info"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("Connection: bluetooth"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Battery: 85%\n"), std::string::npos) << r.out;
    r = cli.Run({"--virtual-mouse=bluetooth", "--json", "info"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find(R"("battery":85,"charging":false)"), std::string::npos) << r.out;
    // The virtual mouse and its dbus-daemon lived in the runtime folder and are gone with it.
    EXPECT_FALSE(RunningWith(cli.RuntimeDir() + "/talvane-virtual-mouse-"));
}

TEST(CliBluetoothBattery, WithoutBluezTheBatteryIsUnknown) {
    TempFolder folder;
    const std::string hid = folder / "hid";
    VirtualMouseRun mouse(hid, {"--mode", "bluetooth"});
    ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(hid + "/bluetooth-kbd.hid"); }));
    CliRunner cli(folder.Path(), hid);
    CliResult r = cli.Run({"--json", "info"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find(R"("battery":null)"), std::string::npos) << r.out;
}

TEST(CliBluetoothBattery, WatchFollowsTheBatteryAcrossAChangeOfConnection) {
    TempFolder folder;
    PrivateDbusDaemon bus;
    ASSERT_TRUE(bus.Start(folder.Path()));
    const std::string hid = folder / "hid";
    VirtualMouseRun mouse(hid, {"--mode", "bluetooth", "--bluez-bus", bus.Address()});
    ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(hid + "/bluetooth-kbd.hid"); }));
    CliRunner cli(folder.Path(), hid);
    cli.SetBluezBus(bus.Address());
    WatchRun watch(cli, hid);
    ASSERT_TRUE(watch.Printed("connection: bluetooth, online")) << watch.Output();
    ASSERT_TRUE(watch.Printed("battery: 85%\n")) << watch.Output();
    // BlueZ knows no charging state; the gauge shows none over Bluetooth LE.
    mouse.Send("battery 40 charging");
    EXPECT_TRUE(watch.Printed("battery: 40%\n")) << watch.Output();

    mouse.Send("mode cable");
    ASSERT_TRUE(watch.Printed("connection: cable, online")) << watch.Output();
    EXPECT_TRUE(watch.Printed("battery: 40%, charging")) << watch.Output();
    const size_t shown = watch.Output().size();
    mouse.Send("mode bluetooth");
    EXPECT_TRUE(WaitUntil([&] {
        return watch.Output().find("battery: 40%\n", shown) != std::string::npos;
    })) << watch.Output();
    EXPECT_EQ(watch.End(), 0);
}

}  // namespace
