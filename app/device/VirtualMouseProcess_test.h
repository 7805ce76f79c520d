#pragma once

// Runs talvane-virtual-mouse for a test, fed commands on its standard input.

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

// Waits for a condition with a generous bound; never a timing assertion.
inline bool WaitUntil(const std::function<bool()>& condition, int seconds = 30) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        if (condition()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return condition();
}

// Closes a child's standard input, the way a person ends it, and waits for it to end; a child
// that hangs is killed. Returns its exit code, or -1 when it did not exit by itself.
inline int CloseInputAndWait(pid_t pid, int input) {
    close(input);
    int status = 0;
    if (!WaitUntil([&] { return waitpid(pid, &status, WNOHANG) == pid; })) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class VirtualMouseRun {
public:
    VirtualMouseRun(const std::string& dir, const std::vector<std::string>& options) {
        int fds[2];
        if (pipe(fds) != 0) {
            return;
        }
        const char* programDir = std::getenv("TALVANE_PROGRAM_DIR");
        std::vector<std::string> args = {
            std::string(programDir != nullptr ? programDir : ".") + "/talvane-virtual-mouse",
            "--dir", dir};
        args.insert(args.end(), options.begin(), options.end());
        pid_ = fork();
        if (pid_ == 0) {
            dup2(fds[0], STDIN_FILENO);
            int null = open("/dev/null", O_WRONLY);
            dup2(null, STDOUT_FILENO);
            close(fds[1]);
            std::vector<char*> argv;
            for (std::string& a : args) {
                argv.push_back(a.data());
            }
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(fds[0]);
        input_ = fds[1];
    }
    ~VirtualMouseRun() { Quit(); }

    void Send(const std::string& line) {
        std::string text = line + "\n";
        ASSERT_EQ(write(input_, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }

    int Quit() {
        if (pid_ <= 0) {
            return exitCode_;
        }
        exitCode_ = CloseInputAndWait(pid_, input_);
        pid_ = -1;
        return exitCode_;
    }

private:
    pid_t pid_ = -1;
    int input_ = -1;
    int exitCode_ = -1;
};
