#pragma once

// Runs talvane-cli from the build's program folder as a user would, with its own settings,
// data and runtime folders.

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/device/VirtualMouseProcess_test.h"
#include "tests/support/TempFolder.h"

struct CliResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class CliRunner {
public:
    // home: the folder that holds config/, data/ and the runtime folder; hidDir the virtual
    // mouse's folder (empty: none).
    CliRunner(std::string home, std::string hidDir)
        : home_(std::move(home)), hidDir_(std::move(hidDir)) {}

    std::string Program() const {
        const char* dir = std::getenv("TALVANE_PROGRAM_DIR");
        return std::string(dir != nullptr ? dir : ".") + "/talvane-cli";
    }
    std::string RuntimeDir() const { return home_ + "/run"; }
    // Where talvane-cli looks for BlueZ; by default a bus that is not there, so that no
    // test reads the machine's own Bluetooth devices.
    void SetBluezBus(std::string address) { bluezBus_ = std::move(address); }
    std::string BluezBus() const {
        return bluezBus_.empty() ? "unix:path=" + home_ + "/no-bluez-bus" : bluezBus_;
    }
    std::string DataDir() const { return home_ + "/data/Talvane/"; }

    CliResult Run(const std::vector<std::string>& args, const std::string& input = "") const {
        std::filesystem::create_directories(RuntimeDir());
        const std::string outPath = home_ + "/cli.out", errPath = home_ + "/cli.err",
                          inPath = home_ + "/cli.in";
        WriteFileText(inPath, input);
        pid_t pid = fork();
        if (pid == 0) {
            setenv("XDG_CONFIG_HOME", (home_ + "/config").c_str(), 1);
            setenv("XDG_DATA_HOME", (home_ + "/data").c_str(), 1);
            setenv("XDG_RUNTIME_DIR", RuntimeDir().c_str(), 1);
            setenv("TALVANE_BLUEZ_BUS", BluezBus().c_str(), 1);
            setenv("LANG", "en_US.UTF-8", 1);
            unsetenv("LANGUAGE");
            unsetenv("LC_ALL");
            unsetenv("LC_MESSAGES");
            if (hidDir_.empty()) {
                unsetenv("TALVANE_VIRTUAL_HID_DIR");
            } else {
                setenv("TALVANE_VIRTUAL_HID_DIR", hidDir_.c_str(), 1);
            }
            dup2(open(inPath.c_str(), O_RDONLY), STDIN_FILENO);
            dup2(open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), STDOUT_FILENO);
            dup2(open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), STDERR_FILENO);
            std::vector<std::string> argv = {Program()};
            argv.insert(argv.end(), args.begin(), args.end());
            std::vector<char*> raw;
            for (std::string& a : argv) {
                raw.push_back(a.data());
            }
            raw.push_back(nullptr);
            execv(raw[0], raw.data());
            _exit(127);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        CliResult result;
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.out = ReadFileText(outPath);
        result.err = ReadFileText(errPath);
        return result;
    }

private:
    std::string home_;
    std::string hidDir_;
    std::string bluezBus_;
};

// watch as a script would run it: lines on a pipe, ended by closing its standard input.
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
        close(input_);
        int status = 0;
        if (!WaitUntil([&] { return waitpid(pid_, &status, WNOHANG) == pid_; })) {
            kill(pid_, SIGKILL);
            waitpid(pid_, &status, 0);
        }
        pid_ = -1;
        exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        Output();
        close(output_);
        return exitCode_;
    }

private:
    pid_t pid_ = -1;
    int input_ = -1, output_ = -1, exitCode_ = -1;
    std::string text_;
};
