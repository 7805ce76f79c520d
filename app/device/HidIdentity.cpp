#include "app/device/HidIdentity.h"

#include <cctype>
#include <cstdio>

std::string ToUpperAscii(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return upper;
}

std::string BuildIdentityText(const HidInterfaceInfo& info) {
    const char* bus = info.bus == HidBus::Bluetooth ? "BLUETOOTH"
                      : info.bus == HidBus::Virtual ? "VIRTUAL"
                                                    : "USB";
    int mi = info.bus == HidBus::Bluetooth || info.interface_number < 0
                 ? 0xFF
                 : (info.interface_number & 0xFF);
    char ids[96];
    std::snprintf(ids, sizeof ids, ";BUS=%s;VID_%04X&PID_%04X&MI_%02X;UP_%04X&U_%04X", bus,
                  info.vendor_id, info.product_id, mi, info.usage_page, info.usage);
    std::string text = ToUpperAscii(info.path) + ids;
    if (info.bus == HidBus::Bluetooth) {
        text += ";{";
        text += kHidOverGattService;
        text += "}";
        if (info.usage_page == 1 && info.usage == 6) {
            text += ";KBD";
        }
    }
    return text;
}

bool IsCommandInterface(const HidInterfaceInfo& info) {
    return info.usage_page == 0x8C && info.usage == 0x01;
}

bool ContainsText(std::string_view identity, std::string_view part) {
    return ToUpperAscii(identity).find(ToUpperAscii(part)) != std::string::npos;
}

bool IsBluetoothKeyboardIdentity(std::string_view identity) {
    return ContainsText(identity, kHidOverGattService) && ContainsText(identity, "KBD");
}
