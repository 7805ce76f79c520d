// The Bluetooth battery against a mock BlueZ on a private bus that the test starts itself.

#include "app/platform/BluezBattery.h"

#include <gio/gio.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <future>
#include <thread>

#include "app/device/FakeHid_test.h"
#include "app/device/RecordingSessionView_test.h"
#include "tests/support/TempFolder.h"

namespace {

bool WaitUntil(const std::function<bool()>& condition) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
        if (condition()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return condition();
}

// A dbus-daemon of our own, gone with the test.
class PrivateBus {
public:
    explicit PrivateBus(const std::string& folder) {
        address_ = "unix:path=" + folder + "/bus";
        pid_ = fork();
        if (pid_ == 0) {
            execlp("dbus-daemon", "dbus-daemon", "--session", "--nofork", "--nopidfile",
                   ("--address=" + address_).c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        // Ready once a client gets through, not merely once the socket file is there.
        ready_ = WaitUntil([&] {
            GDBusConnection* c = g_dbus_connection_new_for_address_sync(
                address_.c_str(),
                static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                                  G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
                nullptr, nullptr, nullptr);
            if (c == nullptr) {
                return false;
            }
            g_dbus_connection_close_sync(c, nullptr, nullptr);
            g_object_unref(c);
            return true;
        });
    }
    ~PrivateBus() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    const std::string& Address() const { return address_; }
    bool Ready() const { return ready_; }

private:
    std::string address_;
    pid_t pid_ = -1;
    bool ready_ = false;
};

struct MockDevice {
    std::string path;
    std::string modalias;
    int percentage;  // -1: no Battery1
};

const char* kObjectManagerXml =
    "<node><interface name='org.freedesktop.DBus.ObjectManager'>"
    "<method name='GetManagedObjects'><arg type='a{oa{sa{sv}}}' direction='out'/></method>"
    "</interface></node>";

// org.bluez with its object manager, served from a thread of its own.
class MockBluez {
public:
    MockBluez(const std::string& address, std::vector<MockDevice> devices)
        : devices_(std::move(devices)) {
        std::promise<void> up;
        thread_ = std::thread([&] { Run(address, up); });
        up.get_future().wait();
    }
    ~MockBluez() {
        GSource* quit = g_idle_source_new();
        g_source_set_callback(
            quit,
            [](gpointer loop) -> gboolean {
                g_main_loop_quit(static_cast<GMainLoop*>(loop));
                return G_SOURCE_REMOVE;
            },
            loop_, nullptr);
        g_source_attach(quit, context_);
        g_source_unref(quit);
        thread_.join();
    }
    bool Ready() const { return connection_ != nullptr; }
    void EmitPercentage(const std::string& path, GVariant* value) {
        GVariantBuilder changed;
        g_variant_builder_init(&changed, G_VARIANT_TYPE("a{sv}"));
        g_variant_builder_add(&changed, "{sv}", "Percentage", value);
        g_dbus_connection_emit_signal(
            connection_, nullptr, path.c_str(), "org.freedesktop.DBus.Properties",
            "PropertiesChanged",
            g_variant_new("(sa{sv}as)", "org.bluez.Battery1", &changed, nullptr), nullptr);
        g_dbus_connection_flush_sync(connection_, nullptr, nullptr);
    }

private:
    static void OnCall(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*,
                       GVariant*, GDBusMethodInvocation* invocation, gpointer self) {
        GVariantBuilder objects;
        g_variant_builder_init(&objects, G_VARIANT_TYPE("a{oa{sa{sv}}}"));
        for (const MockDevice& d : static_cast<MockBluez*>(self)->devices_) {
            GVariantBuilder interfaces;
            g_variant_builder_init(&interfaces, G_VARIANT_TYPE("a{sa{sv}}"));
            GVariantBuilder device;
            g_variant_builder_init(&device, G_VARIANT_TYPE("a{sv}"));
            g_variant_builder_add(&device, "{sv}", "Modalias",
                                  g_variant_new_string(d.modalias.c_str()));
            g_variant_builder_add(&interfaces, "{sa{sv}}", "org.bluez.Device1", &device);
            if (d.percentage >= 0) {
                GVariantBuilder battery;
                g_variant_builder_init(&battery, G_VARIANT_TYPE("a{sv}"));
                g_variant_builder_add(&battery, "{sv}", "Percentage",
                                      g_variant_new_byte(static_cast<guint8>(d.percentage)));
                g_variant_builder_add(&interfaces, "{sa{sv}}", "org.bluez.Battery1", &battery);
            }
            g_variant_builder_add(&objects, "{oa{sa{sv}}}", d.path.c_str(), &interfaces);
        }
        g_dbus_method_invocation_return_value(invocation,
                                              g_variant_new("(a{oa{sa{sv}}})", &objects));
    }

    void Run(const std::string& address, std::promise<void>& up) {
        context_ = g_main_context_new();
        loop_ = g_main_loop_new(context_, FALSE);
        g_main_context_push_thread_default(context_);
        connection_ = g_dbus_connection_new_for_address_sync(
            address.c_str(),
            static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                              G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, nullptr, nullptr);
        GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(kObjectManagerXml, nullptr);
        guint registration = 0;
        if (connection_ != nullptr) {
            GVariant* owned = g_dbus_connection_call_sync(
                connection_, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                "org.freedesktop.DBus", "RequestName", g_variant_new("(su)", "org.bluez", 4u),
                nullptr, G_DBUS_CALL_FLAGS_NONE, 2000, nullptr, nullptr);
            if (owned != nullptr) {
                g_variant_unref(owned);
            }
            static const GDBusInterfaceVTable vtable = {&MockBluez::OnCall, nullptr, nullptr, {}};
            registration = g_dbus_connection_register_object(connection_, "/", node->interfaces[0],
                                                             &vtable, this, nullptr, nullptr);
        }
        up.set_value();
        g_main_loop_run(loop_);
        if (connection_ != nullptr) {
            g_dbus_connection_unregister_object(connection_, registration);
            g_dbus_connection_close_sync(connection_, nullptr, nullptr);
            g_object_unref(connection_);
        }
        g_dbus_node_info_unref(node);
        g_main_context_pop_thread_default(context_);
        g_main_loop_unref(loop_);
        g_main_context_unref(context_);
    }

    std::vector<MockDevice> devices_;
    GMainContext* context_ = nullptr;
    GMainLoop* loop_ = nullptr;
    GDBusConnection* connection_ = nullptr;
    std::thread thread_;
};

class BluezBatteryTest : public ::testing::Test {
protected:
    BluezBatteryTest() : bus(folder.Path()), hid(nullptr, &clock) {}
    void OnConnection(int mode) {
        hid.CloseAllInterfaces();
        hid.SetSelectedType(101);
        hid.AddEntry(FakeEntry(&device, 101, mode));
        hid.SetOpened();
    }
    TempFolder folder;
    PrivateBus bus;
    FakeSleeper clock;
    FakeDeviceScript device;
    HidDeviceManager hid;
    RecordingSessionView view;
};

TEST_F(BluezBatteryTest, TheLastMouseOfTheVendorIsReadAndItsChangesFollowed) {
    ASSERT_TRUE(bus.Ready());
    MockBluez bluez(bus.Address(), {{"/org/bluez/hci0/dev_A", "usb:v3434pD034d0001", 20},
                                    {"/org/bluez/hci0/dev_B", "usb:v046DpB012d0001", 99},
                                    {"/org/bluez/hci0/dev_C", "usb:v3434pD034d0001", 57},
                                    {"/org/bluez/hci0/dev_D", "usb:v3434pD044d0001", -1}});
    ASSERT_TRUE(bluez.Ready());
    OnConnection(2);
    BluezBatteryService service(bus.Address());
    ASSERT_TRUE(OpenBluetoothBattery(service, hid, view));
    EXPECT_TRUE(view.Saw("pages on"));
    EXPECT_TRUE(view.Saw("battery 57 0"));
    EXPECT_FALSE(view.Saw("battery 20 0"));

    bluez.EmitPercentage("/org/bluez/hci0/dev_A", g_variant_new_byte(11));      // not ours
    bluez.EmitPercentage("/org/bluez/hci0/dev_C", g_variant_new_string("64"));  // malformed
    bluez.EmitPercentage("/org/bluez/hci0/dev_C", g_variant_new_byte(56));
    ASSERT_TRUE(WaitUntil([&] { return view.Saw("battery 56 0"); }));
    EXPECT_FALSE(view.Saw("battery 11 0"));
    EXPECT_FALSE(view.Saw("battery 64 0"));

    service.Close();
}

TEST_F(BluezBatteryTest, WithoutBluezOrAMatchingMouseNothingReachesTheGauge) {
    ASSERT_TRUE(bus.Ready());
    OnConnection(2);
    BluezBatteryService absent(bus.Address());
    EXPECT_FALSE(OpenBluetoothBattery(absent, hid, view));
    MockBluez bluez(bus.Address(), {{"/org/bluez/hci0/dev_B", "usb:v046DpB012d0001", 99}});
    BluezBatteryService service(bus.Address());
    EXPECT_FALSE(OpenBluetoothBattery(service, hid, view));
    EXPECT_FALSE(view.Saw("battery 99 0"));
    BluezBatteryService noBus("unix:path=" + folder / "nobody");
    EXPECT_FALSE(OpenBluetoothBattery(noBus, hid, view));
}

}  // namespace
