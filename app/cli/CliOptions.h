#pragma once

#include <string>
#include <vector>

// Exit codes of talvane-cli.
enum CliExit { kExitDone = 0, kExitFailed = 1, kExitUsage = 2 };

// The global options and the command words. Options may stand before or after the command;
// "--" ends them.
struct CliOptions {
    std::string virtualMode;  // cable, receiver or bluetooth: start a virtual mouse of our own
    std::string virtualDir;   // a running talvane-virtual-mouse's folder
    int model = 0;            // 0: the stored model
    int profile = 0;          // 0: the active profile
    bool json = false;
    bool yes = false;
    bool help = false;
    bool version = false;
    std::vector<std::string> words;
};

// False with a one-line message for an unknown option or a missing or bad value.
bool ParseCliOptions(int argc, const char* const* argv, CliOptions& options, std::string& error);

// A whole decimal number (optional sign), nothing else; false otherwise.
bool ParseWholeNumber(const std::string& text, long long& value);

// The usage text.
const char* CliUsage();
