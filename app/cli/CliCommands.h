#pragma once

#include <string>
#include <vector>

#include "app/cli/JsonWriter.h"

class CliSession;
struct PageResult;

using CliArgs = std::vector<std::string>;

// Runs the command that the first word names with the words after it; the exit code.
int RunCliCommand(CliSession& session);

// The commands, one group per file.
int CliList(CliSession& s, const CliArgs& args);
int CliInfo(CliSession& s, const CliArgs& args);
int CliSync(CliSession& s, const CliArgs& args);
int CliWatch(CliSession& s, const CliArgs& args);
int CliDpi(CliSession& s, const CliArgs& args);
int CliRate(CliSession& s, const CliArgs& args);
int CliLiftOff(CliSession& s, const CliArgs& args);
int CliSensor(CliSession& s, const CliArgs& args);
int CliScroll(CliSession& s, const CliArgs& args);
int CliESports(CliSession& s, const CliArgs& args);
int CliDebounce(CliSession& s, const CliArgs& args);
int CliWakeup(CliSession& s, const CliArgs& args);
int CliButton(CliSession& s, const CliArgs& args);
int CliMacro(CliSession& s, const CliArgs& args);
int CliLighting(CliSession& s, const CliArgs& args);
int CliProfile(CliSession& s, const CliArgs& args);
int CliFactoryReset(CliSession& s, const CliArgs& args);

// Shared steps of the commands.

// A usage error: the message and a pointer to --help; exit code 2.
int CliUsageError(CliSession& s, const std::string& message);
// A whole number within [low, high], else a usage error naming the range (what names the
// value). True when it fits.
bool CliNumberArg(const std::string& text, long long low, long long high, long long& value);
int CliRangeError(CliSession& s, const std::string& what, long long low, long long high);

// What a change needs of the mouse before anything is stored.
enum class CliChangeKind {
    kStoreOnly,  // names, new macros: nothing goes to the mouse
    kSettings,   // the mouse must be there and take settings (not over Bluetooth LE)
    kLighting,   // as kSettings, and lighting goes only through the receiver
};
// Before a change: refused while the window runs; for the active profile the mouse must be
// found (from enumeration alone, so a refused value sends nothing). A change to another
// profile is only stored.
int CliPrepareChange(CliSession& s, CliChangeKind kind = CliChangeKind::kSettings);
// After a settings operation: a refusal prints its message (exit 2, or 1 when the store
// failed); otherwise the tasks go to the mouse when the profile is the active one, and the
// result is printed, saying so when a settings change waits for its profile to be switched to.
// done is the text line; json gets "profile" and "sent".
int CliFinishChange(CliSession& s, const PageResult& result, const std::string& done,
                    JsonValue json, CliChangeKind kind = CliChangeKind::kSettings);
