#include "app/device/DeviceTrace.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

namespace {
std::mutex& HookLock() {
    static std::mutex lock;
    return lock;
}
DeviceTraceHook& Hook() {
    static DeviceTraceHook hook;
    return hook;
}
}  // namespace

void TraceDeviceFailure(std::string_view text) {
    std::lock_guard guard(HookLock());
    if (Hook()) {
        Hook()(text);
        return;
    }
    const char* flag = std::getenv("TALVANE_TRACE");
    if (flag != nullptr && std::strcmp(flag, "1") == 0) {
        std::fprintf(stderr, "talvane: %.*s\n", static_cast<int>(text.size()), text.data());
    }
}

void SetDeviceTraceHook(DeviceTraceHook hook) {
    std::lock_guard guard(HookLock());
    Hook() = std::move(hook);
}
