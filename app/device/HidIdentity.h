#pragma once

#include <string>
#include <string_view>

#include "app/device/HidBackend.h"

// The identity text of an interface, upper case:
//   <PATH>;BUS=<USB|BLUETOOTH|VIRTUAL>;VID_xxxx&PID_xxxx&MI_xx;UP_xxxx&U_xxxx
// with the HID-over-GATT service (and ";KBD" for a keyboard collection) on the Bluetooth bus.
// Every path test of discovery and hot-plug runs on this text.
std::string BuildIdentityText(const HidInterfaceInfo& info);

inline constexpr std::string_view kHidOverGattService = "00001812-0000-1000-8000-00805F9B34FB";

// Vendor command collection: usage page 0x8C, usage 1.
bool IsCommandInterface(const HidInterfaceInfo& info);
// The identity text names a keyboard collection reached over HID-over-GATT.
bool IsBluetoothKeyboardIdentity(std::string_view identity);
bool ContainsText(std::string_view identity, std::string_view part);
std::string ToUpperAscii(std::string_view text);
