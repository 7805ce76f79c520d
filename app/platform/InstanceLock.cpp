#include "app/platform/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace {

// A folder we made ourselves, or one that is ours alone: never a link, never shared.
bool PrivateFolder(const std::string& path) {
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
        return false;
    }
    struct stat st;
    return lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == getuid() &&
           (st.st_mode & 0077) == 0;
}

}  // namespace

std::string InstanceLockPath() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/') {
        struct stat st;
        if (stat(runtime, &st) == 0 && S_ISDIR(st.st_mode) && access(runtime, W_OK) == 0) {
            return std::string(runtime) + "/Talvane.lock";
        }
    }
    const std::string folder = "/tmp/Talvane-" + std::to_string(getuid());
    if (!PrivateFolder(folder)) {
        return {};
    }
    return folder + "/Talvane.lock";
}

InstanceLock::~InstanceLock() {
    Release();
}

InstanceLockState InstanceLock::TryTake() {
    if (fd_ >= 0) {
        return InstanceLockState::kTaken;
    }
    const std::string path = InstanceLockPath();
    if (path.empty()) {
        return InstanceLockState::kUnavailable;
    }
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        return InstanceLockState::kUnavailable;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        close(fd);
        return held ? InstanceLockState::kHeldElsewhere : InstanceLockState::kUnavailable;
    }
    fd_ = fd;
    return InstanceLockState::kTaken;
}

void InstanceLock::Release() {
    if (fd_ >= 0) {
        close(fd_);  // closing the last descriptor drops the flock
        fd_ = -1;
    }
}

bool InstanceLockHeldElsewhere() {
    InstanceLock probe;
    return probe.TryTake() == InstanceLockState::kHeldElsewhere;
}
