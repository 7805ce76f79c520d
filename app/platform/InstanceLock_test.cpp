// The single-instance lock, in the runtime folder and in the fallback folder under /tmp.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "app/platform/InstanceLock.h"
#include "tests/support/TempFolder.h"

namespace {

// Whether a child process could take the lock: flock conflicts between processes as well as
// between two descriptors of one.
bool ChildCanTake() {
    pid_t pid = fork();
    if (pid == 0) {
        InstanceLock lock;
        _exit(lock.TryTake() == InstanceLockState::kTaken ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(InstanceLockTest, OneHolderAtATimeAndTheLockGoesWithItsHolder) {
    TempFolder runtime;
    ScopedEnv env("XDG_RUNTIME_DIR", runtime.Path());
    EXPECT_EQ(InstanceLockPath(), runtime / "Talvane.lock");
    EXPECT_FALSE(InstanceLockHeldElsewhere());
    {
        InstanceLock lock;
        ASSERT_EQ(lock.TryTake(), InstanceLockState::kTaken);
        EXPECT_TRUE(InstanceLockHeldElsewhere());
        EXPECT_FALSE(ChildCanTake());
        InstanceLock second;
        EXPECT_EQ(second.TryTake(), InstanceLockState::kHeldElsewhere);
        EXPECT_FALSE(second.Held());
    }
    EXPECT_FALSE(InstanceLockHeldElsewhere());
    EXPECT_TRUE(ChildCanTake());
}

TEST(InstanceLockTest, WithoutARuntimeFolderAPrivateFolderUnderTmpServes) {
    ScopedEnv env("XDG_RUNTIME_DIR", std::nullopt);
    const std::string folder = "/tmp/Talvane-" + std::to_string(getuid());
    const std::string path = InstanceLockPath();
    ASSERT_EQ(path, folder + "/Talvane.lock");
    struct stat st;
    ASSERT_EQ(lstat(folder.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    InstanceLock lock;
    EXPECT_EQ(lock.TryTake(), InstanceLockState::kTaken);
    lock.Release();
    // A folder others may write to is not used.
    struct Restore {
        std::string folder;
        ~Restore() { chmod(folder.c_str(), 0700); }
    } restore{folder};
    ASSERT_EQ(chmod(folder.c_str(), 0777), 0);
    EXPECT_EQ(InstanceLockPath(), "");
    EXPECT_EQ(lock.TryTake(), InstanceLockState::kUnavailable);
}

}  // namespace
