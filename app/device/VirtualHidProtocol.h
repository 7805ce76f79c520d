#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "app/device/HidBackend.h"

// How the virtual mouse presents a HID interface in its folder:
//   <name>.sock  a Unix SOCK_SEQPACKET socket, one message per report
//   <name>.hid   the identity fields, key=value lines, put in place (renamed) once the socket
//                listens and removed before the socket closes
// The entry path of an interface is its socket path.
namespace VirtualHid {

inline constexpr const char* kDescriptorSuffix = ".hid";
inline constexpr const char* kSocketSuffix = ".sock";
inline constexpr size_t kMaxMessage = 128;

// First byte of every message.
enum Kind : uint8_t {
    kSetFeature = 'S',  // host to device: the report
    kGetFeature = 'G',  // host to device: the buffer (report id, then its length)
    kReply = 'R',       // device to host: status (1 done, 0 failed), then the answer bytes
    kInput = 'I',       // device to host, unasked: one input report
};

struct Descriptor {
    HidInterfaceInfo info;
    std::wstring manufacturer;
    std::wstring product;
};

std::string FormatDescriptor(const Descriptor& d);
std::optional<Descriptor> ParseDescriptor(const std::string& text, const std::string& socketPath);
// "<dir>/<name>.hid" -> "<dir>/<name>.sock" and back.
std::string SocketPathFor(const std::string& descriptorPath);
std::string DescriptorPathFor(const std::string& socketPath);

}  // namespace VirtualHid
