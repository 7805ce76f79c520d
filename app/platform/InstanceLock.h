#pragma once

#include <string>

// The single-instance lock of the program: an flock on "$XDG_RUNTIME_DIR/Talvane.lock". Without
// a usable runtime folder the file lies in a folder of this user's own, mode 0700, under /tmp.
// The lock goes with the process, however it ends.

// Where the lock file lies; empty when no safe folder can be had.
std::string InstanceLockPath();

enum class InstanceLockState { kTaken, kHeldElsewhere, kUnavailable };

class InstanceLock {
public:
    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Takes the lock without waiting.
    InstanceLockState TryTake();
    void Release();
    bool Held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

// Whether another holder has the lock now; the lock is tested, not kept.
bool InstanceLockHeldElsewhere();
