#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/device/VirtualHidProtocol.h"
#include "app/virtualmouse/MouseMemory.h"

using Bytes = std::vector<uint8_t>;

enum class Link { Cable, Receiver, Bluetooth };

// One HID interface the virtual mouse presents.
struct VirtualInterface {
    std::string name;  // file name in the folder, e.g. "cable-01"
    Link link = Link::Cable;
    bool command = false;
    VirtualHid::Descriptor descriptor;
    std::map<uint8_t, Bytes> answers;  // what a get of each report id returns
};

// The device side of the vendor protocol: the mouse with its memory, and its receiver, which
// forwards commands to the mouse and acknowledges them with 0x54 0xE4.
class VirtualMouse {
public:
    // Sends an input report on one interface.
    using Emit = std::function<void(VirtualInterface&, const Bytes&)>;

    VirtualMouse(int model, MouseMemory& memory, Emit emit, std::function<void()> memoryChanged);

    static std::vector<VirtualInterface> InterfacesFor(Link link, int model);
    static const char* FirmwareVersion() { return "V1.08"; }
    static const char* ReceiverVersion() { return "R2.01"; }

    // The interfaces that are plugged in now; device reports go to their command interfaces.
    void SetPresent(std::vector<VirtualInterface*> present);

    bool SetFeature(VirtualInterface& iface, const Bytes& report);
    // Empty: the get fails.
    Bytes GetFeature(VirtualInterface& iface, const Bytes& request);

    // What a person does with the mouse.
    void PressDpiButton();
    void SetAwake(bool awake);
    bool Awake() const { return awake_; }
    void SetBattery(int level, int charging);
    void FactoryReset();

private:
    Bytes Apply(const Bytes& report, int slot);
    Bytes ApplySettings(const Bytes& r, int slot);
    Bytes ApplyBulk(const Bytes& r);
    Bytes MouseState(Link link) const;
    void EmitState();
    void EmitToCommand(const Bytes& report);
    int CurrentSlot() const;
    bool HasLink(Link link) const;
    MouseProfile& Active() { return memory_.profiles[memory_.active_profile]; }

    int model_;
    MouseMemory& memory_;
    Emit emit_;
    std::function<void()> changed_;
    std::vector<VirtualInterface*> present_;
    bool awake_ = true;
    Bytes pendingMacro_;
    std::map<int, size_t> macroReadOffset_;
};
