#include "app/virtualmouse/VirtualBluez.h"

#include <future>

namespace {

constexpr const char* kManager = "org.freedesktop.DBus.ObjectManager";
constexpr const char* kDevice = "org.bluez.Device1";
constexpr const char* kBattery = "org.bluez.Battery1";

const char* const kNodeXml =
    "<node>"
    "<interface name='org.freedesktop.DBus.ObjectManager'>"
    "<method name='GetManagedObjects'><arg type='a{oa{sa{sv}}}' direction='out'/></method>"
    "<signal name='InterfacesAdded'><arg type='o'/><arg type='a{sa{sv}}'/></signal>"
    "<signal name='InterfacesRemoved'><arg type='o'/><arg type='as'/></signal>"
    "</interface>"
    "<interface name='org.bluez.Device1'>"
    "<property name='Modalias' type='s' access='read'/>"
    "<property name='Paired' type='b' access='read'/>"
    "<property name='Connected' type='b' access='read'/>"
    "</interface>"
    "<interface name='org.bluez.Battery1'>"
    "<property name='Percentage' type='y' access='read'/>"
    "</interface>"
    "</node>";

}  // namespace

VirtualBluez::VirtualBluez(const std::string& busAddress) {
    context_ = g_main_context_new();
    loop_ = g_main_loop_new(context_, FALSE);
    node_ = g_dbus_node_info_new_for_xml(kNodeXml, nullptr);
    std::promise<void> up;
    thread_ = std::thread([this, busAddress, &up] {
        g_main_context_push_thread_default(context_);
        Run(busAddress);
        up.set_value();
        g_main_loop_run(loop_);
        g_main_context_pop_thread_default(context_);
    });
    up.get_future().wait();
}

VirtualBluez::~VirtualBluez() {
    Invoke([this] {
        for (auto& [path, d] : devices_) {
            Unregister(d);
        }
        if (managerRegistration_ != 0) {
            g_dbus_connection_unregister_object(connection_, managerRegistration_);
        }
        if (connection_ != nullptr) {
            g_dbus_connection_close_sync(connection_, nullptr, nullptr);
            g_object_unref(connection_);
            connection_ = nullptr;
        }
        g_main_loop_quit(loop_);
    });
    thread_.join();
    // Callbacks still queued for this context are dropped with it.
    while (g_main_context_iteration(context_, FALSE)) {
    }
    g_dbus_node_info_unref(node_);
    g_main_loop_unref(loop_);
    g_main_context_unref(context_);
}

void VirtualBluez::Run(const std::string& address) {
    connection_ = g_dbus_connection_new_for_address_sync(
        address.c_str(),
        static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                          G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
        nullptr, nullptr, nullptr);
    if (connection_ == nullptr || node_ == nullptr) {
        return;
    }
    // Only the one owner: a second virtual mouse on the same bus must not answer as well.
    GVariant* owned = g_dbus_connection_call_sync(
        connection_, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
        "RequestName", g_variant_new("(su)", "org.bluez", 4u /* do not queue */),
        G_VARIANT_TYPE("(u)"), G_DBUS_CALL_FLAGS_NONE, 2000, nullptr, nullptr);
    guint32 reply = 0;
    if (owned != nullptr) {
        g_variant_get(owned, "(u)", &reply);
        g_variant_unref(owned);
    }
    static const GDBusInterfaceVTable manager = {
        &VirtualBluez::OnManagerCall, nullptr, nullptr, {}};
    managerRegistration_ = g_dbus_connection_register_object(connection_, "/", node_->interfaces[0],
                                                             &manager, this, nullptr, nullptr);
    ready_ = reply == 1 && managerRegistration_ != 0;
}

void VirtualBluez::Invoke(const std::function<void()>& work) {
    struct Call {
        const std::function<void()>* work;
        std::promise<void> done;
    } call{&work, {}};
    g_main_context_invoke(
        context_,
        [](gpointer data) -> gboolean {
            auto* c = static_cast<Call*>(data);
            (*c->work)();
            c->done.set_value();
            return G_SOURCE_REMOVE;
        },
        &call);
    call.done.get_future().wait();
}

GVariant* VirtualBluez::DeviceProperties(const Device& d) const {
    GVariantBuilder properties;
    g_variant_builder_init(&properties, G_VARIANT_TYPE("a{sv}"));
    g_variant_builder_add(&properties, "{sv}", "Modalias",
                          g_variant_new_string(d.modalias.c_str()));
    g_variant_builder_add(&properties, "{sv}", "Paired", g_variant_new_boolean(TRUE));
    g_variant_builder_add(&properties, "{sv}", "Connected", g_variant_new_boolean(d.battery >= 0));
    return g_variant_builder_end(&properties);
}

GVariant* VirtualBluez::BatteryProperties(const Device& d) const {
    GVariantBuilder properties;
    g_variant_builder_init(&properties, G_VARIANT_TYPE("a{sv}"));
    g_variant_builder_add(&properties, "{sv}", "Percentage",
                          g_variant_new_byte(static_cast<guint8>(d.battery)));
    return g_variant_builder_end(&properties);
}

GVariant* VirtualBluez::ManagedObjects() const {
    GVariantBuilder objects;
    g_variant_builder_init(&objects, G_VARIANT_TYPE("a{oa{sa{sv}}}"));
    for (const auto& [path, d] : devices_) {
        GVariantBuilder interfaces;
        g_variant_builder_init(&interfaces, G_VARIANT_TYPE("a{sa{sv}}"));
        g_variant_builder_add(&interfaces, "{s@a{sv}}", kDevice, DeviceProperties(d));
        if (d.battery >= 0) {
            g_variant_builder_add(&interfaces, "{s@a{sv}}", kBattery, BatteryProperties(d));
        }
        g_variant_builder_add(&objects, "{oa{sa{sv}}}", path.c_str(), &interfaces);
    }
    return g_variant_new("(a{oa{sa{sv}}})", &objects);
}

void VirtualBluez::OnManagerCall(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                                 const gchar*, GVariant*, GDBusMethodInvocation* invocation,
                                 gpointer self) {
    g_dbus_method_invocation_return_value(invocation,
                                          static_cast<VirtualBluez*>(self)->ManagedObjects());
}

GVariant* VirtualBluez::OnGetProperty(GDBusConnection*, const gchar*, const gchar* path,
                                      const gchar* interface, const gchar* name, GError** error,
                                      gpointer self) {
    auto& devices = static_cast<VirtualBluez*>(self)->devices_;
    auto found = devices.find(path);
    if (found != devices.end()) {
        const Device& d = found->second;
        GVariant* all = g_strcmp0(interface, kBattery) == 0
                            ? static_cast<VirtualBluez*>(self)->BatteryProperties(d)
                            : static_cast<VirtualBluez*>(self)->DeviceProperties(d);
        g_variant_ref_sink(all);
        GVariant* value = g_variant_lookup_value(all, name, nullptr);
        g_variant_unref(all);
        if (value != nullptr) {
            return value;
        }
    }
    g_set_error(error, G_DBUS_ERROR, G_DBUS_ERROR_UNKNOWN_PROPERTY, "no property %s", name);
    return nullptr;
}

void VirtualBluez::EmitPropertiesChanged(const std::string& path, const char* interface,
                                         const char* name, GVariant* value) {
    GVariantBuilder changed;
    g_variant_builder_init(&changed, G_VARIANT_TYPE("a{sv}"));
    g_variant_builder_add(&changed, "{sv}", name, value);
    g_dbus_connection_emit_signal(
        connection_, nullptr, path.c_str(), "org.freedesktop.DBus.Properties", "PropertiesChanged",
        g_variant_new("(sa{sv}as)", interface, &changed, nullptr), nullptr);
}

void VirtualBluez::Unregister(Device& d) {
    for (guint* id : {&d.deviceRegistration, &d.batteryRegistration}) {
        if (*id != 0) {
            g_dbus_connection_unregister_object(connection_, *id);
            *id = 0;
        }
    }
}

guint VirtualBluez::Announce(const std::string& path, int interface, GVariant* properties) {
    static const GDBusInterfaceVTable vtable = {nullptr, &VirtualBluez::OnGetProperty, nullptr, {}};
    GDBusInterfaceInfo* info = node_->interfaces[interface];
    const guint registration = g_dbus_connection_register_object(connection_, path.c_str(), info,
                                                                 &vtable, this, nullptr, nullptr);
    GVariantBuilder interfaces;
    g_variant_builder_init(&interfaces, G_VARIANT_TYPE("a{sa{sv}}"));
    g_variant_builder_add(&interfaces, "{s@a{sv}}", info->name, properties);
    g_dbus_connection_emit_signal(connection_, nullptr, "/", kManager, "InterfacesAdded",
                                  g_variant_new("(oa{sa{sv}})", path.c_str(), &interfaces),
                                  nullptr);
    return registration;
}

void VirtualBluez::AddDevice(const std::string& path, const std::string& modalias) {
    Invoke([&] {
        if (!ready_ || devices_.count(path) != 0) {
            return;
        }
        Device& d = devices_[path];
        d.modalias = modalias;
        d.deviceRegistration = Announce(path, 1, DeviceProperties(d));
    });
}

void VirtualBluez::SetBattery(const std::string& path, int percentage) {
    const int level = percentage < 0 ? 0 : percentage > 100 ? 100 : percentage;
    Invoke([&] {
        auto found = devices_.find(path);
        if (found == devices_.end()) {
            return;
        }
        Device& d = found->second;
        if (d.battery >= 0) {
            if (d.battery != level) {
                d.battery = level;
                EmitPropertiesChanged(path, kBattery, "Percentage",
                                      g_variant_new_byte(static_cast<guint8>(level)));
            }
            return;
        }
        d.battery = level;
        d.batteryRegistration = Announce(path, 2, BatteryProperties(d));
        EmitPropertiesChanged(path, kDevice, "Connected", g_variant_new_boolean(TRUE));
    });
}

void VirtualBluez::RemoveBattery(const std::string& path) {
    Invoke([&] {
        auto found = devices_.find(path);
        if (found == devices_.end() || found->second.battery < 0) {
            return;
        }
        Device& d = found->second;
        d.battery = -1;
        g_dbus_connection_unregister_object(connection_, d.batteryRegistration);
        d.batteryRegistration = 0;
        const gchar* removed[] = {kBattery, nullptr};
        g_dbus_connection_emit_signal(connection_, nullptr, "/", kManager, "InterfacesRemoved",
                                      g_variant_new("(o^as)", path.c_str(), removed), nullptr);
        EmitPropertiesChanged(path, kDevice, "Connected", g_variant_new_boolean(FALSE));
    });
}

void VirtualBluez::EmitPercentage(const std::string& path, GVariant* value) {
    Invoke([&] {
        if (connection_ != nullptr) {
            EmitPropertiesChanged(path, kBattery, "Percentage", value);
        } else {
            g_variant_unref(g_variant_ref_sink(value));
        }
    });
}
