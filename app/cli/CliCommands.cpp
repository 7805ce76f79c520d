#include "app/cli/CliCommands.h"

#include <map>

#include "app/cli/CliSession.h"

namespace {

using Handler = int (*)(CliSession&, const CliArgs&);

const std::map<std::string, Handler>& Commands() {
    static const std::map<std::string, Handler> table = {
        {"list", CliList},
        {"info", CliInfo},
        {"sync", CliSync},
        {"watch", CliWatch},
        {"dpi", CliDpi},
        {"rate", CliRate},
        {"liftoff", CliLiftOff},
        {"sensor", CliSensor},
        {"scroll", CliScroll},
        {"esports", CliESports},
        {"debounce", CliDebounce},
        {"wakeup", CliWakeup},
        {"button", CliButton},
        {"macro", CliMacro},
        {"lighting", CliLighting},
        {"profile", CliProfile},
        {"factory-reset", CliFactoryReset},
    };
    return table;
}

}  // namespace

int RunCliCommand(CliSession& s) {
    const CliArgs& words = s.Options().words;
    auto found = Commands().find(words.front());
    if (found == Commands().end()) {
        return CliUsageError(s, "unknown command " + words.front());
    }
    if (int opened = s.OpenStore(); opened != kExitDone) {
        return opened;
    }
    return found->second(s, CliArgs(words.begin() + 1, words.end()));
}

int CliUsageError(CliSession& s, const std::string& message) {
    s.Out().Error(message + " (talvane-cli --help lists the commands)");
    return kExitUsage;
}

bool CliNumberArg(const std::string& text, long long low, long long high, long long& value) {
    return ParseWholeNumber(text, value) && value >= low && value <= high;
}

int CliRangeError(CliSession& s, const std::string& what, long long low, long long high) {
    s.Out().Error(what + " must be from " + std::to_string(low) + " to " + std::to_string(high));
    return kExitUsage;
}
