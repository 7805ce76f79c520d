#include "app/device/VirtualHidProtocol.h"

#include <sstream>

#include "quorl/core/Utf8.h"

namespace VirtualHid {

namespace {
bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}
std::string Swap(const std::string& path, const std::string& from, const std::string& to) {
    return EndsWith(path, from) ? path.substr(0, path.size() - from.size()) + to : std::string();
}
const char* BusName(HidBus bus) {
    return bus == HidBus::Bluetooth ? "bluetooth" : bus == HidBus::Usb ? "usb" : "virtual";
}
}  // namespace

std::string SocketPathFor(const std::string& descriptorPath) {
    return Swap(descriptorPath, kDescriptorSuffix, kSocketSuffix);
}

std::string DescriptorPathFor(const std::string& socketPath) {
    return Swap(socketPath, kSocketSuffix, kDescriptorSuffix);
}

std::string FormatDescriptor(const Descriptor& d) {
    std::ostringstream out;
    out << "vendor_id=" << d.info.vendor_id << "\nproduct_id=" << d.info.product_id
        << "\nrelease=" << d.info.release_number << "\nusage_page=" << d.info.usage_page
        << "\nusage=" << d.info.usage << "\ninterface=" << d.info.interface_number
        << "\nbus=" << BusName(d.info.bus) << "\nmanufacturer=" << Quorl::WideToUtf8(d.manufacturer)
        << "\nproduct=" << Quorl::WideToUtf8(d.product) << "\n";
    return out.str();
}

std::optional<Descriptor> ParseDescriptor(const std::string& text, const std::string& socketPath) {
    Descriptor d;
    d.info.path = socketPath;
    std::istringstream in(text);
    std::string line;
    int fields = 0;
    while (std::getline(in, line)) {
        size_t eq = line.find('=');
        if (eq == std::string::npos) {
            continue;
        }
        std::string key = line.substr(0, eq);
        std::string value = line.substr(eq + 1);
        auto number = [&value]() -> long {
            try {
                return std::stol(value, nullptr, 0);
            } catch (...) {
                return -1;
            }
        };
        if (key == "vendor_id") {
            d.info.vendor_id = static_cast<uint16_t>(number());
            ++fields;
        } else if (key == "product_id") {
            d.info.product_id = static_cast<uint16_t>(number());
            ++fields;
        } else if (key == "release") {
            d.info.release_number = static_cast<uint16_t>(number());
        } else if (key == "usage_page") {
            d.info.usage_page = static_cast<uint16_t>(number());
        } else if (key == "usage") {
            d.info.usage = static_cast<uint16_t>(number());
        } else if (key == "interface") {
            d.info.interface_number = static_cast<int>(number());
        } else if (key == "bus") {
            d.info.bus = value == "bluetooth" ? HidBus::Bluetooth
                         : value == "usb"     ? HidBus::Usb
                                              : HidBus::Virtual;
        } else if (key == "manufacturer") {
            d.manufacturer = Quorl::Utf8ToWide(value);
        } else if (key == "product") {
            d.product = Quorl::Utf8ToWide(value);
        }
    }
    if (fields < 2) {
        return std::nullopt;
    }
    return d;
}

}  // namespace VirtualHid
