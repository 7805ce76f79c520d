#pragma once

// talvane-cli watch as a script runs it: lines on a pipe, ended by closing its standard input.

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "app/cli/CliRun_test.h"
#include "app/device/VirtualMouseProcess_test.h"

class WatchRun {
public:
    WatchRun(const CliRunner& cli, const std::string& hid) {
        int in[2], out[2];
        if (pipe(in) != 0 || pipe(out) != 0) {
            return;
        }
        pid_ = fork();
        if (pid_ == 0) {
            setenv("XDG_CONFIG_HOME", (cli.RuntimeDir() + "/../config").c_str(), 1);
            setenv("XDG_DATA_HOME", (cli.RuntimeDir() + "/../data").c_str(), 1);
            setenv("XDG_RUNTIME_DIR", cli.RuntimeDir().c_str(), 1);
            setenv("TALVANE_VIRTUAL_HID_DIR", hid.c_str(), 1);
            setenv("TALVANE_BLUEZ_BUS", cli.BluezBus().c_str(), 1);
            dup2(in[0], STDIN_FILENO);
            dup2(out[1], STDOUT_FILENO);
            close(in[1]);
            close(out[0]);
            const std::string program = cli.Program();
            execl(program.c_str(), program.c_str(), "watch", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(in[0]);
        close(out[1]);
        input_ = in[1];
        output_ = out[0];
        fcntl(output_, F_SETFL, O_NONBLOCK);
    }
    ~WatchRun() { End(); }
    // Everything printed so far.
    const std::string& Output() {
        char buffer[512];
        ssize_t got;
        while ((got = read(output_, buffer, sizeof buffer)) > 0) {
            text_.append(buffer, static_cast<size_t>(got));
        }
        return text_;
    }
    bool Printed(const std::string& line) {
        return WaitUntil([&] { return Output().find(line) != std::string::npos; });
    }
    int End() {
        if (pid_ <= 0) {
            return exitCode_;
        }
        exitCode_ = CloseInputAndWait(pid_, input_);
        pid_ = -1;
        Output();
        close(output_);
        return exitCode_;
    }

private:
    pid_t pid_ = -1;
    int input_ = -1, output_ = -1, exitCode_ = -1;
    std::string text_;
};
