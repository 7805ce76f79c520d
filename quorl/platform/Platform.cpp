#include "quorl/platform/Platform.h"

#include <atomic>
#include <cstdio>
#include <mutex>

#include "quorl/platform/GtkPlatform.h"
#include "quorl/platform/HeadlessPlatform.h"

namespace Quorl {

namespace {

std::mutex g_installMutex;
std::unique_ptr<Platform> g_owned;
std::atomic<Platform*> g_current{nullptr};

}  // namespace

Platform& Platform::Current() {
    if (Platform* platform = g_current.load(std::memory_order_acquire)) {
        return *platform;
    }
    std::lock_guard lock(g_installMutex);
    if (!g_owned) {
        g_owned = CreateGtkPlatform();
        if (!g_owned) {
            std::fprintf(stderr, "quorl: no display could be opened; windows stay invisible\n");
            g_owned = std::make_unique<HeadlessPlatform>();
        }
        g_current.store(g_owned.get(), std::memory_order_release);
    }
    return *g_owned;
}

void Platform::Install(std::unique_ptr<Platform> platform) {
    std::lock_guard lock(g_installMutex);
    g_current.store(platform.get(), std::memory_order_release);
    g_owned = std::move(platform);
}

}  // namespace Quorl
