#include "app/cli/CliOptions.h"

#include <cerrno>
#include <cstdlib>

bool ParseWholeNumber(const std::string& text, long long& value) {
    if (text.empty() || text.size() > 18) {
        return false;
    }
    size_t i = (text[0] == '-' || text[0] == '+') ? 1 : 0;
    if (i == text.size()) {
        return false;
    }
    for (size_t j = i; j < text.size(); ++j) {
        if (text[j] < '0' || text[j] > '9') {
            return false;
        }
    }
    value = std::strtoll(text.c_str(), nullptr, 10);
    return true;
}

namespace {

bool NumberOption(const std::string& name, const std::string& text, long long low, long long high,
                  int& out, std::string& error) {
    long long value = 0;
    if (!ParseWholeNumber(text, value) || value < low || value > high) {
        error =
            name + " takes a number from " + std::to_string(low) + " to " + std::to_string(high);
        return false;
    }
    out = static_cast<int>(value);
    return true;
}

}  // namespace

bool ParseCliOptions(int argc, const char* const* argv, CliOptions& o, std::string& error) {
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-' || (arg[1] >= '0' && arg[1] <= '9')) {
            o.words.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        // --name=value or --name value for the options that take one.
        std::string name = arg;
        std::string value;
        bool inlineValue = false;
        if (size_t eq = arg.find('='); eq != std::string::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
            inlineValue = true;
        }
        auto takeValue = [&](const char* what) {
            if (inlineValue) {
                return true;
            }
            if (i + 1 >= argc) {
                error = name + " needs " + what;
                return false;
            }
            value = argv[++i];
            return true;
        };
        if (name == "--virtual-mouse") {
            o.virtualMode = inlineValue ? value : "cable";
            if (o.virtualMode != "cable" && o.virtualMode != "receiver" &&
                o.virtualMode != "bluetooth") {
                error = "--virtual-mouse takes cable, receiver or bluetooth";
                return false;
            }
        } else if (name == "--virtual-dir") {
            if (!takeValue("a folder")) {
                return false;
            }
            if (value.empty()) {
                error = "--virtual-dir needs a folder";
                return false;
            }
            o.virtualDir = value;
        } else if (name == "--model") {
            if (!takeValue("a device type") ||
                !NumberOption(name, value, 1, 2147483647, o.model, error)) {
                return false;
            }
        } else if (name == "--profile") {
            if (!takeValue("a profile number") ||
                !NumberOption(name, value, 1, 5, o.profile, error)) {
                return false;
            }
        } else if (!inlineValue && name == "--json") {
            o.json = true;
        } else if (!inlineValue && (name == "--yes" || name == "-y")) {
            o.yes = true;
        } else if (!inlineValue && (name == "--help" || name == "-h")) {
            o.help = true;
        } else if (!inlineValue && name == "--version") {
            o.version = true;
        } else {
            error = "unknown option " + arg;
            return false;
        }
    }
    return true;
}
