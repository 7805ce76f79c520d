#pragma once

#include <functional>
#include <string_view>

// Failed device exchanges are reported here. Silent unless TALVANE_TRACE=1, which prints one
// line per failure on standard error; tests may install a hook of their own.
void TraceDeviceFailure(std::string_view text);
using DeviceTraceHook = std::function<void(std::string_view)>;
void SetDeviceTraceHook(DeviceTraceHook hook);  // empty restores the default
