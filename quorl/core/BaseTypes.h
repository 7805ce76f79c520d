#pragma once

#include <cstdint>

namespace Quorl {

// The integer types the toolkit's interface is written in. BOOL results are 0 or 1.
using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using LONG = std::int32_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

// A module handle: which bundle of compiled-in resources to read (see render/Resources.h).
using HINSTANCE = const void*;

}  // namespace Quorl

// GLib defines the same two macros with the same values; whichever comes first wins.
#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
