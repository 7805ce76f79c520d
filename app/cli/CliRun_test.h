#pragma once

// Runs talvane-cli from the build's program folder as a user would, with its own settings,
// data and runtime folders.

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/TempFolder.h"

struct CliResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class CliRunner {
public:
    // home: the folder that holds config/, data/ and the runtime folder; hidDir the virtual
    // mouse's folder (empty: none); programDir the build's program folder (empty:
    // $TALVANE_PROGRAM_DIR, else the current folder).
    CliRunner(std::string home, std::string hidDir, std::string programDir = {})
        : home_(std::move(home)), hidDir_(std::move(hidDir)), programDir_(std::move(programDir)) {
        const char* dir = std::getenv("TALVANE_PROGRAM_DIR");
        if (programDir_.empty()) {
            programDir_ = dir != nullptr ? dir : ".";
        }
    }

    std::string Program() const { return programDir_ + "/talvane-cli"; }
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
    std::string programDir_;
    std::string bluezBus_;
};
