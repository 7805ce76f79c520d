// talvane-cli: the mouse from the command line.
#include <cstdio>

#include "app/cli/CliCommands.h"
#include "app/cli/CliOptions.h"
#include "app/cli/CliOutput.h"
#include "app/cli/CliSession.h"

int main(int argc, char** argv) {
    CliOptions options;
    std::string error;
    if (!ParseCliOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "talvane-cli: %s\n\n%s", error.c_str(), CliUsage());
        return kExitUsage;
    }
    if (options.help) {
        std::fputs(CliUsage(), stdout);
        return kExitDone;
    }
    if (options.version) {
        std::printf("talvane-cli %s\n", TALVANE_VERSION);
        return kExitDone;
    }
    if (options.words.empty()) {
        std::fputs(CliUsage(), stderr);
        return kExitUsage;
    }
    CliOutput out(options.json);
    CliSession session(options, out);
    return RunCliCommand(session);
}
