#include "app/platform/XdgPaths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace {

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') {
        return home;
    }
    const passwd* entry = getpwuid(getuid());
    return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "";
}

std::string FromEnvironment(const char* variable, const char* fallbackUnderHome) {
    const char* value = std::getenv(variable);
    if (value != nullptr && value[0] == '/') {
        std::string folder = value;
        while (folder.size() > 1 && folder.back() == '/') {
            folder.pop_back();
        }
        return folder;
    }
    const std::string home = HomeFolder();
    return home.empty() ? std::string() : home + fallbackUnderHome;
}

}  // namespace

std::string XdgConfigHome() {
    return FromEnvironment("XDG_CONFIG_HOME", "/.config");
}

std::string XdgDataHome() {
    return FromEnvironment("XDG_DATA_HOME", "/.local/share");
}

std::string ExecutablePath() {
    std::string buffer(4096, '\0');
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length <= 0 || static_cast<size_t>(length) >= buffer.size()) {
        return {};
    }
    buffer.resize(static_cast<size_t>(length));
    return buffer;
}
