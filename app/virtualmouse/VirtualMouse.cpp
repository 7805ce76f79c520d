#include "app/virtualmouse/VirtualMouse.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint16_t kVendor = 0x3434;
constexpr size_t kMaxMacro = 4096;

uint16_t Pid(int model, int offset) {
    return (model == 102 ? 0xD042 : 0xD032) + offset;
}

VirtualInterface Make(const std::string& name, Link link, uint16_t pid, int mi, uint16_t page,
                      uint16_t usage, const wchar_t* product) {
    VirtualInterface v;
    v.name = name;
    v.link = link;
    v.command = page == 0x8C && usage == 1;
    v.descriptor.info.vendor_id = kVendor;
    v.descriptor.info.product_id = pid;
    v.descriptor.info.release_number = 0x0108;
    v.descriptor.info.usage_page = page;
    v.descriptor.info.usage = usage;
    v.descriptor.info.interface_number = mi;
    v.descriptor.info.bus = link == Link::Bluetooth ? HidBus::Bluetooth : HidBus::Virtual;
    v.descriptor.manufacturer = L"Talvane";
    v.descriptor.product = product;
    return v;
}

int SlotOf(Link link) {
    return link == Link::Cable ? 0 : link == Link::Receiver ? 1 : 2;
}

}  // namespace

VirtualMouse::VirtualMouse(int model, MouseMemory& memory, Emit emit,
                           std::function<void()> memoryChanged)
    : model_(model), memory_(memory), emit_(std::move(emit)), changed_(std::move(memoryChanged)) {}

std::vector<VirtualInterface> VirtualMouse::InterfacesFor(Link link, int model) {
    const wchar_t* mouse = model == 102 ? L"Talvane Veyra Lite" : L"Talvane Veyra";
    switch (link) {
        case Link::Cable:
            return {Make("cable-00", link, Pid(model, 0), 0, 1, 2, mouse),
                    Make("cable-01", link, Pid(model, 0), 1, 0x8C, 1, mouse)};
        case Link::Receiver:
            return {Make("receiver-00", link, Pid(model, 1), 0, 1, 2, L"Talvane Receiver"),
                    Make("receiver-01", link, Pid(model, 1), 1, 0x8C, 1, L"Talvane Receiver")};
        case Link::Bluetooth:
            // Over Bluetooth LE only the keyboard collection is of use to the program.
            return {Make("bluetooth-kbd", link, Pid(model, 2), -1, 1, 6, mouse)};
    }
    return {};
}

void VirtualMouse::SetPresent(std::vector<VirtualInterface*> present) {
    present_ = std::move(present);
}

bool VirtualMouse::HasLink(Link link) const {
    return std::any_of(present_.begin(), present_.end(),
                       [link](const VirtualInterface* v) { return v->link == link; });
}

int VirtualMouse::CurrentSlot() const {
    if (HasLink(Link::Cable)) {
        return 0;
    }
    return HasLink(Link::Receiver) ? 1 : 2;
}

Bytes VirtualMouse::MouseState(Link link) const {
    const MouseProfile& p = memory_.profiles[memory_.active_profile];
    int slot = SlotOf(link);
    Bytes r(21, 0);
    r[0] = 0x54;
    r[1] = 0xE2;
    r[2] = static_cast<uint8_t>(slot);
    r[3] = link == Link::Receiver ? (awake_ ? 1 : 0) : 1;
    r[4] = static_cast<uint8_t>(memory_.charging);
    r[5] = static_cast<uint8_t>(memory_.battery);
    r[6] = static_cast<uint8_t>(p.level[slot]);
    r[7] = static_cast<uint8_t>(p.rate[slot]);
    return r;
}

void VirtualMouse::EmitState() {
    for (VirtualInterface* v : present_) {
        if (v->command) {
            emit_(*v, MouseState(v->link));
        }
    }
}

void VirtualMouse::EmitToCommand(const Bytes& report) {
    for (VirtualInterface* v : present_) {
        if (v->command) {
            emit_(*v, report);
        }
    }
}

void VirtualMouse::PressDpiButton() {
    if (!HasLink(Link::Cable) && !awake_) {
        SetAwake(true);  // a click wakes a sleeping mouse
        return;
    }
    MouseProfile& p = Active();
    int slot = CurrentSlot();
    p.level[slot] = (p.level[slot] + 1) % std::max(1, p.dpi_count);
    changed_();
    EmitState();
}

void VirtualMouse::SetAwake(bool awake) {
    if (awake_ == awake) {
        return;
    }
    awake_ = awake;
    EmitState();
}

void VirtualMouse::SetBattery(int level, int charging) {
    memory_.battery = std::clamp(level, 0, 100);
    memory_.charging = charging;
    changed_();
    EmitState();
}

void VirtualMouse::FactoryReset() {
    memory_.FactoryReset();
    macroReadOffset_.clear();
    changed_();
    EmitToCommand({0x54, 0xE0});
    const LightingMode& l = memory_.lighting[memory_.light_mode];
    EmitToCommand({0x54, 0xE1, static_cast<uint8_t>(memory_.light_mode), 0,
                   static_cast<uint8_t>(l.speed), static_cast<uint8_t>(l.brightness),
                   static_cast<uint8_t>(l.colour & 0xFF), static_cast<uint8_t>(l.colour >> 8),
                   static_cast<uint8_t>(l.colour >> 16), 0, 0, 0, 0});
    EmitToCommand({0x54, 0xE6});
}

bool VirtualMouse::SetFeature(VirtualInterface& iface, const Bytes& report) {
    if (!iface.command || report.size() < 2) {
        return false;
    }
    Bytes answer = report;
    uint8_t id = report[0];
    uint8_t command = report[1];
    if (iface.link == Link::Receiver) {
        if (id == 0x51 && command == 0x03) {
            uint16_t paired = Pid(model_, 0);
            answer[3] = kVendor & 0xFF;
            answer[4] = kVendor >> 8;
            answer[5] = paired & 0xFF;
            answer[6] = paired >> 8;
        } else if (id == 0x51 && command == 0x04 && report.size() > 2 && report[2] != 0xAA) {
            answer = Apply(report, 1);
            size_t n = std::min<size_t>(std::strlen(ReceiverVersion()), answer.size() - 3);
            answer[2] = static_cast<uint8_t>(n);
            std::memcpy(answer.data() + 3, ReceiverVersion(), n);
        } else if (id == 0x51 && command == 0x06) {
            answer = Apply(report, 1);  // the receiver knows whether its mouse is there
        } else if (id == 0x51 && command == 0x0C) {
            emit_(iface, awake_ ? Bytes{0x54, 0xE3} : Bytes{0x54, 0xE4, 0x02});
        } else if (awake_) {
            answer = Apply(report, 1);
            emit_(iface, {0x54, 0xE4, 0x01});
        } else {
            emit_(iface, {0x54, 0xE4, 0x02});
        }
    } else {
        if (id == 0x51 && command == 0x0C) {
            emit_(iface, {0x54, 0xE3});
        } else {
            answer = Apply(report, 0);
        }
    }
    iface.answers[id] = answer;
    return true;
}

Bytes VirtualMouse::GetFeature(VirtualInterface& iface, const Bytes& request) {
    if (!iface.command || request.empty()) {
        return {};
    }
    auto found = iface.answers.find(request[0]);
    Bytes answer = found != iface.answers.end() ? found->second : Bytes(request.size(), 0);
    if (found == iface.answers.end()) {
        answer[0] = request[0];
    }
    answer.resize(request.size(), 0);
    return answer;
}

Bytes VirtualMouse::Apply(const Bytes& r, int slot) {
    Bytes answer = r[0] == 0x51 ? ApplySettings(r, slot) : r[0] == 0x52 ? ApplyBulk(r) : r;
    changed_();
    return answer;
}

Bytes VirtualMouse::ApplySettings(const Bytes& request, int slot) {
    Bytes r = request;
    r.resize(std::max<size_t>(r.size(), 21), 0);
    Bytes a = r;
    MouseProfile& p = Active();
    auto put16 = [&a](size_t at, int v) {
        a[at] = static_cast<uint8_t>(v & 0xFF);
        a[at + 1] = static_cast<uint8_t>((v >> 8) & 0xFF);
    };
    switch (r[1]) {
        case 0x04: {
            const char* version = FirmwareVersion();
            size_t n = std::strlen(version);
            std::fill(a.begin() + 2, a.end(), 0);
            a[2] = static_cast<uint8_t>(n);
            std::memcpy(a.data() + 3, version, n);
            break;
        }
        case 0x06: {
            std::fill(a.begin() + 2, a.end(), 0);
            put16(2, model_);
            put16(4, 0x0108);
            put16(8, 0x0001);
            int online = slot == 1 ? (awake_ ? 1 : 0) : 1;
            a[10] = static_cast<uint8_t>(slot | (online << 3));
            a[11] = static_cast<uint8_t>(memory_.battery);
            a[12] = static_cast<uint8_t>(memory_.charging);
            break;
        }
        case 0x07:
            std::fill(a.begin() + 2, a.end(), 0);
            a[2] = static_cast<uint8_t>(memory_.active_profile);
            for (int c = 0; c < 3; ++c) {
                a[3 + c] = static_cast<uint8_t>((p.level[c] & 0x0F) | ((p.rate[c] & 0x07) << 4));
            }
            for (int level = 0; level < 5; ++level) {
                put16(6 + 2 * level, p.dpi[level]);
            }
            a[16] = static_cast<uint8_t>(p.sensor);
            a[17] = static_cast<uint8_t>(p.dpi_flag);
            a[18] = static_cast<uint8_t>(p.debounce);
            break;
        case 0x0B:
            if (r[2] == 0xAA) {
                FactoryReset();
            } else if (r[2] == 0x01 && (r[3] & 0x01)) {
                memory_.ResetButtons(memory_.active_profile);
            }
            break;
        case 0x12:
            a[2] = 1;
            a[3] = MouseMemory::kLightingModes;
            a[4] = static_cast<uint8_t>(memory_.light_mode);
            break;
        case 0x22:
            if (r[3] < MouseMemory::kLightingModes) {
                memory_.light_mode = r[3];
            }
            break;
        case 0x23:
            if (r[3] < MouseMemory::kLightingModes) {
                memory_.lighting[r[3]].brightness = r[4];
            }
            break;
        case 0x27:
            if (r[3] < MouseMemory::kLightingModes) {
                memory_.lighting[r[3]].speed = r[4];
            }
            break;
        case 0x28:
            if (r[3] < MouseMemory::kLightingModes) {
                memory_.lighting[r[3]].colour = r[4] | (r[5] << 8) | (r[6] << 16);
            }
            break;
        case 0x40:
            for (int c = 0; c < 3; ++c) {
                if (r[2 + c] != 0xFF && r[2 + c] < 5) {
                    p.level[c] = r[2 + c];
                }
            }
            for (int level = 0; level < 5; ++level) {
                p.dpi[level] = r[5 + 2 * level] | (r[6 + 2 * level] << 8);
            }
            if (r[15] >= 1 && r[15] <= 5) {
                p.dpi_count = r[15];
            }
            break;
        case 0x41:
            for (int c = 0; c < 3; ++c) {
                if (r[2 + c] != 0xFF && r[2 + c] < 8) {
                    p.rate[c] = r[2 + c];
                }
            }
            break;
        case 0x42: {
            int sensor = r[2] & 0x03;
            sensor |= r[3] == 1 ? 0x04 : 0;
            sensor |= r[4] == 1 ? 0x08 : 0;
            sensor |= r[5] == 1 ? 0x10 : 0;
            sensor |= r[7] == 2 ? 0x40 : 0;
            sensor |= r[8] == 2 ? 0x80 : 0;
            p.sensor = sensor;
            break;
        }
        case 0x43:
            p.debounce = r[2];
            break;
        case 0x47:
            memory_.wakeup_mode = r[2];
            break;
        default:
            break;
    }
    a.resize(request.size());
    return a;
}

Bytes VirtualMouse::ApplyBulk(const Bytes& request) {
    Bytes r = request;
    r.resize(std::max<size_t>(r.size(), 65), 0);
    Bytes a = r;
    MouseProfile& p = Active();
    int button = r[2];
    bool validButton = button < MouseMemory::kButtons;
    switch (r[1]) {
        case 0x52:
            if (validButton) {
                std::array<uint8_t, 10> bytes{};
                std::copy(r.begin() + 4, r.begin() + 14, bytes.begin());
                bool empty = std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return !b; });
                p.buttons[button] = empty ? MouseMemory::DefaultButton(button) : bytes;
                if (p.buttons[button][0] != 4) {
                    p.macros[button].clear();
                }
            }
            break;
        case 0x53:
            if (validButton) {
                size_t n = std::min<size_t>(r[3], 61);
                p.macro_names[button].assign(r.begin() + 4, r.begin() + 4 + n);
            }
            break;
        case 0x54:
            if (validButton) {
                size_t n = std::min<size_t>(r[4], 60);
                p.macros[button].assign(r.begin() + 5, r.begin() + 5 + n);
                p.buttons[button] = {4};
                memory_.macro_memory += static_cast<int>(n) + 4;
            }
            break;
        case 0x55:
            if (validButton) {
                size_t offset = r[4] | (r[5] << 8);
                size_t n = std::min<size_t>(r[6], 58);
                if (offset == 0) {
                    pendingMacro_.clear();
                }
                if (offset + n <= kMaxMacro) {
                    if (pendingMacro_.size() < offset + n) {
                        pendingMacro_.resize(offset + n, 0);
                    }
                    std::copy(r.begin() + 7, r.begin() + 7 + n, pendingMacro_.begin() + offset);
                }
                if (r[3] == 0) {
                    p.macros[button] = pendingMacro_;
                    p.buttons[button] = {4};
                    memory_.macro_memory += static_cast<int>(pendingMacro_.size()) + 4;
                    pendingMacro_.clear();
                }
            }
            break;
        case 0x57:
            if (r[2] < MouseMemory::kProfiles) {
                memory_.active_profile = r[2];
                MouseProfile& q = memory_.profiles[r[2]];
                for (int c = 0; c < 3; ++c) {
                    q.level[c] = r[3 + c] & 0x0F;
                    q.rate[c] = (r[3 + c] >> 4) & 0x07;
                }
                for (int level = 0; level < 5; ++level) {
                    q.dpi[level] = r[6 + 2 * level] | (r[7 + 2 * level] << 8);
                }
                q.sensor = r[17];
                q.debounce = r[18];
                for (int entry = 0; entry < 11; ++entry) {
                    size_t at = 20 + 4 * entry;
                    if (r[at] == 0xF0) {
                        continue;
                    }
                    int b = r[at] >> 4;
                    q.buttons[b] = {static_cast<uint8_t>(r[at] & 0x0F), r[at + 1], r[at + 2],
                                    r[at + 3]};
                }
            }
            break;
        case 0x61:
            std::fill(a.begin() + 2, a.end(), 0);
            for (int b = 0; b < 16; ++b) {
                a[2 + b] = p.buttons[b][0];
            }
            break;
        case 0x62:
            std::fill(a.begin() + 3, a.end(), 0);
            if (validButton) {
                std::copy(p.buttons[button].begin() + 1, p.buttons[button].begin() + 7,
                          a.begin() + 5);
            }
            break;
        case 0x63:
            std::fill(a.begin() + 3, a.end(), 0);
            if (validButton) {
                const std::string& name = p.macro_names[button];
                size_t n = std::min<size_t>(name.size(), 61);
                a[3] = static_cast<uint8_t>(n);
                std::copy(name.begin(), name.begin() + n, a.begin() + 4);
            }
            break;
        case 0x65: {
            std::fill(a.begin() + 3, a.end(), 0);
            if (!validButton) {
                break;
            }
            bool continuation = r[4] == 0xFF && r[5] == 0xFF;
            size_t offset = continuation ? macroReadOffset_[button] : 0;
            const Bytes& macro = p.macros[button];
            size_t n = offset < macro.size() ? std::min<size_t>(58, macro.size() - offset) : 0;
            a[3] = offset + n < macro.size() ? 1 : 0;
            a[4] = static_cast<uint8_t>(offset & 0xFF);
            a[5] = static_cast<uint8_t>(offset >> 8);
            a[6] = static_cast<uint8_t>(n);
            std::copy(macro.begin() + offset, macro.begin() + offset + n, a.begin() + 7);
            macroReadOffset_[button] = offset + n;
            break;
        }
        default:
            break;
    }
    a.resize(request.size());
    return a;
}
