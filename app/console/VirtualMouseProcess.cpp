#include "app/console/VirtualMouseProcess.h"

#include <dirent.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

#include "app/startup/Paths.h"
#include "quorl/core/Utf8.h"

extern char** environ;

namespace {

bool HasInterface(const std::string& folder) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.path().extension() == ".hid") {
            return true;
        }
    }
    return false;
}

}  // namespace

bool VirtualMouseProcess::Start(const std::string& mode, int deviceType) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string pattern = std::string(runtime && runtime[0] == '/' ? runtime : "/tmp") +
                          "/talvane-virtual-mouse-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        std::perror("talvane: virtual mouse folder");
        return false;
    }
    folder_ = pattern;
    const std::string program = Quorl::WideToUtf8(GetModuleFolder()) + "talvane-virtual-mouse";
    const std::string state = Quorl::WideToUtf8(GetDataFolder()) + "virtual-mouse.state";
    const std::string model = std::to_string(deviceType);
    std::vector<const char*> argv = {program.c_str(), "--dir",      folder_.c_str(),
                                     "--mode",        mode.c_str(), "--model",
                                     model.c_str(),   "--state",    state.c_str()};
    // Started before the mouse, so that it does not inherit the pipe to the mouse's input.
    if (mode == "bluetooth") {
        if (bus_.Start(folder_)) {
            argv.push_back("--bluez-bus");
            argv.push_back(bus_.Address().c_str());
        } else {
            std::fprintf(stderr,
                         "talvane: the virtual mouse's battery is not shown over "
                         "Bluetooth LE\n");
        }
    }
    argv.push_back(nullptr);

    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[0], STDIN_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[1]);
    const int spawned = posix_spawn(&pid_, program.c_str(), &actions, nullptr,
                                    const_cast<char* const*>(argv.data()), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[0]);
    input_ = pipeFds[1];
    if (spawned != 0) {
        pid_ = -1;
        std::fprintf(stderr, "talvane: cannot start %s\n", program.c_str());
        return false;
    }
    for (int i = 0; i < 100 && !HasInterface(folder_); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (!HasInterface(folder_)) {
        std::fprintf(stderr, "talvane: the virtual mouse did not appear in %s\n", folder_.c_str());
        return false;
    }
    return true;
}

VirtualMouseProcess::~VirtualMouseProcess() {
    if (input_ >= 0) {
        const char quit[] = "quit\n";
        [[maybe_unused]] ssize_t written = write(input_, quit, sizeof quit - 1);
        close(input_);
    }
    if (pid_ > 0) {
        // It quits on "quit" or end of input; give it a moment, then make sure.
        int status;
        for (int i = 0; i < 40 && waitpid(pid_, &status, WNOHANG) == 0; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        if (waitpid(pid_, &status, WNOHANG) == 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, &status, 0);
        }
    }
    bus_.Stop();
    if (!folder_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
}
