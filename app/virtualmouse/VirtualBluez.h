#pragma once

#include <gio/gio.h>

#include <functional>
#include <map>
#include <string>
#include <thread>

// BlueZ's side of paired Bluetooth mice, on a bus given to it: the name org.bluez with an
// object manager at /, each mouse an org.bluez.Device1 that carries org.bluez.Battery1 while
// it is connected. Served from a thread with a main loop of its own; each call returns once
// the change is in place.
class VirtualBluez {
public:
    explicit VirtualBluez(const std::string& busAddress);
    ~VirtualBluez();
    VirtualBluez(const VirtualBluez&) = delete;
    VirtualBluez& operator=(const VirtualBluez&) = delete;

    // Connected to the bus and the owner of org.bluez.
    bool Ready() const { return ready_; }

    // A paired device (modalias e.g. "usb:v3434pD034d0108"), without a battery until one is set.
    void AddDevice(const std::string& path, const std::string& modalias);
    // Adds Battery1 (InterfacesAdded) or changes its Percentage (PropertiesChanged).
    void SetBattery(const std::string& path, int percentage);
    // The battery goes with the connection (InterfacesRemoved); the device stays paired.
    void RemoveBattery(const std::string& path);
    // A PropertiesChanged of Battery1 carrying any value as Percentage; takes the value.
    void EmitPercentage(const std::string& path, GVariant* value);

private:
    struct Device {
        std::string modalias;
        int battery = -1;  // -1: not connected, no Battery1
        guint deviceRegistration = 0;
        guint batteryRegistration = 0;
    };

    void Run(const std::string& address);
    void Invoke(const std::function<void()>& work);
    GVariant* DeviceProperties(const Device& d) const;
    GVariant* BatteryProperties(const Device& d) const;
    GVariant* ManagedObjects() const;
    void EmitPropertiesChanged(const std::string& path, const char* interface, const char* name,
                               GVariant* value);
    void Unregister(Device& d);
    // Serves the node's interface of this index at path and tells the object manager's
    // listeners; takes properties. The registration's id.
    guint Announce(const std::string& path, int interface, GVariant* properties);

    static void OnManagerCall(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                              const gchar*, GVariant*, GDBusMethodInvocation*, gpointer);
    static GVariant* OnGetProperty(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                                   const gchar*, GError**, gpointer);

    GMainContext* context_ = nullptr;
    GMainLoop* loop_ = nullptr;
    GDBusConnection* connection_ = nullptr;
    GDBusNodeInfo* node_ = nullptr;
    guint managerRegistration_ = 0;
    bool ready_ = false;
    std::map<std::string, Device> devices_;  // touched on the loop's thread only
    std::thread thread_;
};
