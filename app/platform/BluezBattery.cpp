#include "app/platform/BluezBattery.h"

#include <gio/gio.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <future>
#include <thread>

namespace {

constexpr int kCallTimeoutMs = 2000;
constexpr const char* kBluez = "org.bluez";
constexpr const char* kBattery = "org.bluez.Battery1";

bool IsOurVendor(const char* modalias) {
    std::string text = modalias != nullptr ? modalias : "";
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text.find("v3434p") != std::string::npos;
}

// Percentage of an a{sv} of org.bluez.Battery1; -1 when missing or of another type.
int PercentageOf(GVariant* properties) {
    int level = -1;
    GVariant* value = g_variant_lookup_value(properties, "Percentage", G_VARIANT_TYPE_BYTE);
    if (value != nullptr) {
        level = g_variant_get_byte(value);
        g_variant_unref(value);
    }
    return level;
}

// The battery's Percentage as BlueZ tells it now; -1 when it cannot be read.
int ReadPercentage(GDBusConnection* connection, const std::string& path) {
    GError* error = nullptr;
    GVariant* reply = g_dbus_connection_call_sync(
        connection, kBluez, path.c_str(), "org.freedesktop.DBus.Properties", "GetAll",
        g_variant_new("(s)", kBattery), G_VARIANT_TYPE("(a{sv})"), G_DBUS_CALL_FLAGS_NONE,
        kCallTimeoutMs, nullptr, &error);
    g_clear_error(&error);
    if (reply == nullptr) {
        return -1;
    }
    GVariant* properties = g_variant_get_child_value(reply, 0);
    const int level = PercentageOf(properties);
    g_variant_unref(properties);
    g_variant_unref(reply);
    return level;
}

}  // namespace

struct BluezBatteryService::Loop {
    GMainContext* context = nullptr;
    GMainLoop* loop = nullptr;
    GDBusConnection* connection = nullptr;
    guint subscription = 0;
    LevelHandler handler;
    std::thread thread;

    static void OnPropertiesChanged(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                                    const gchar*, GVariant* parameters, gpointer self) {
        if (!g_variant_is_of_type(parameters, G_VARIANT_TYPE("(sa{sv}as)"))) {
            return;
        }
        const gchar* interface = nullptr;
        GVariant* changed = nullptr;
        g_variant_get(parameters, "(&s@a{sv}@as)", &interface, &changed, nullptr);
        int level = g_strcmp0(interface, kBattery) == 0 ? PercentageOf(changed) : -1;
        g_variant_unref(changed);
        if (level >= 0) {
            static_cast<Loop*>(self)->handler(level);
        }
    }

    // Runs on the loop's thread: finds the device, reads it, subscribes, then serves events.
    void Run(const std::string& address, std::promise<bool>& found) {
        g_main_context_push_thread_default(context);
        GError* error = nullptr;
        gchar* busAddress =
            address.empty() ? g_dbus_address_get_for_bus_sync(G_BUS_TYPE_SYSTEM, nullptr, &error)
                            : g_strdup(address.c_str());
        if (busAddress != nullptr) {
            connection = g_dbus_connection_new_for_address_sync(
                busAddress,
                static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                                  G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
                nullptr, nullptr, &error);
            g_free(busAddress);
        }
        g_clear_error(&error);
        std::string path;
        int level = -1;
        if (connection != nullptr) {
            GVariant* reply = g_dbus_connection_call_sync(
                connection, kBluez, "/", "org.freedesktop.DBus.ObjectManager", "GetManagedObjects",
                nullptr, G_VARIANT_TYPE("(a{oa{sa{sv}}})"), G_DBUS_CALL_FLAGS_NONE, kCallTimeoutMs,
                nullptr, &error);
            g_clear_error(&error);
            if (reply != nullptr) {
                GVariantIter* objects = nullptr;
                g_variant_get(reply, "(a{oa{sa{sv}}})", &objects);
                const gchar* objectPath = nullptr;
                GVariant* interfaces = nullptr;
                while (g_variant_iter_loop(objects, "{&o@a{sa{sv}}}", &objectPath, &interfaces)) {
                    GVariant* device = g_variant_lookup_value(interfaces, "org.bluez.Device1",
                                                              G_VARIANT_TYPE("a{sv}"));
                    GVariant* battery =
                        g_variant_lookup_value(interfaces, kBattery, G_VARIANT_TYPE("a{sv}"));
                    if (device != nullptr && battery != nullptr) {
                        const gchar* modalias = nullptr;
                        if (g_variant_lookup(device, "Modalias", "&s", &modalias) &&
                            IsOurVendor(modalias)) {
                            path = objectPath;  // the last one listed wins
                            level = PercentageOf(battery);
                        }
                    }
                    if (device != nullptr) {
                        g_variant_unref(device);
                    }
                    if (battery != nullptr) {
                        g_variant_unref(battery);
                    }
                }
                g_variant_iter_free(objects);
                g_variant_unref(reply);
            }
        }
        if (!path.empty()) {
            subscription = g_dbus_connection_signal_subscribe(
                connection, kBluez, "org.freedesktop.DBus.Properties", "PropertiesChanged",
                path.c_str(), kBattery, G_DBUS_SIGNAL_FLAGS_NONE, &Loop::OnPropertiesChanged, this,
                nullptr);
            // Read again once subscribed: the bus handles this connection's messages in order,
            // so the match is in place by the answer, and a change made since the listing is
            // either in the answer or arrives as a signal.
            if (const int now = ReadPercentage(connection, path); now >= 0) {
                level = now;
            }
            if (level >= 0) {
                handler(level);
            }
        }
        found.set_value(!path.empty());
        if (!path.empty()) {
            g_main_loop_run(loop);
        }
        if (subscription != 0) {
            g_dbus_connection_signal_unsubscribe(connection, subscription);
        }
        if (connection != nullptr) {
            g_dbus_connection_close_sync(connection, nullptr, nullptr);
            g_object_unref(connection);
            connection = nullptr;
        }
        // Callbacks still queued for this context are dropped with it.
        while (g_main_context_iteration(context, FALSE)) {
        }
        g_main_context_pop_thread_default(context);
    }
};

BluezBatteryService::BluezBatteryService(std::string busAddress)
    : address_(std::move(busAddress)) {}

BluezBatteryService::~BluezBatteryService() {
    Close();
}

bool BluezBatteryService::Open(LevelHandler handler) {
    Close();
    auto loop = std::make_unique<Loop>();
    loop->context = g_main_context_new();
    loop->loop = g_main_loop_new(loop->context, FALSE);
    loop->handler = std::move(handler);
    auto found = std::make_shared<std::promise<bool>>();
    std::future<bool> result = found->get_future();
    Loop* raw = loop.get();
    const std::string address = address_;
    loop->thread = std::thread([raw, address, found] { raw->Run(address, *found); });
    bool ok = result.get();
    loop_ = std::move(loop);
    return ok;
}

void BluezBatteryService::Close() {
    if (!loop_) {
        return;
    }
    // Through the loop's own context, so a quit cannot come before the loop runs.
    GSource* quit = g_idle_source_new();
    g_source_set_callback(
        quit,
        [](gpointer loop) -> gboolean {
            g_main_loop_quit(static_cast<GMainLoop*>(loop));
            return G_SOURCE_REMOVE;
        },
        loop_->loop, nullptr);
    g_source_attach(quit, loop_->context);
    g_source_unref(quit);
    if (loop_->thread.joinable()) {
        loop_->thread.join();
    }
    g_main_loop_unref(loop_->loop);
    g_main_context_unref(loop_->context);
    loop_.reset();
}

std::string BluezBusFromEnvironment() {
    const char* address = std::getenv("TALVANE_BLUEZ_BUS");
    return address != nullptr ? address : "";
}
