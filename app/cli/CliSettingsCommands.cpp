// dpi, rate, liftoff, sensor, scroll, esports, debounce and wakeup: the DPI and performance
// settings of a profile, through the same operations as the pages.
#include <algorithm>
#include <cstdint>

#include "app/cli/CliCommands.h"
#include "app/cli/CliSession.h"
#include "app/pages/PerformanceSettings.h"
#include "app/store/DeviceDataDB.h"

namespace {

bool IsShow(const CliArgs& args) {
    return args.empty() || (args.size() == 1 && args[0] == "show");
}

// "on" or "off"; false for anything else.
bool OnOff(const std::string& word, bool& on) {
    if (word == "on" || word == "off") {
        on = word == "on";
        return true;
    }
    return false;
}

// Numbers beyond int stay beyond every range instead of wrapping.
int Int(long long value) {
    return static_cast<int>(std::clamp<long long>(value, INT32_MIN, INT32_MAX));
}

JsonValue Obj() {
    return JsonValue::MakeObject();
}

std::string YesNo(bool b) {
    return b ? "on" : "off";
}

// A change: prepared, applied by the operation, sent.
template <typename Operation>
int Change(CliSession& s, Operation operation, const std::string& done, JsonValue json) {
    if (int prepared = CliPrepareChange(s); prepared != kExitDone) {
        return prepared;
    }
    return CliFinishChange(s, operation(s.Store(), s.Profile()), done, std::move(json));
}

int ShowPerformance(CliSession& s, const char* what) {
    const int profile = s.Profile();
    const PerformanceValues v = ReadPerformanceValues(s.Store(), profile);
    const std::string name = what;
    JsonValue json = Obj().Set("profile", profile);
    std::vector<std::string> text;
    if (name == "dpi") {
        JsonValue levels = JsonValue::MakeArray();
        for (int i = 0; i < kDpiLevels; ++i) {
            const bool used = i < v.dpiCount;
            levels.Append(Obj()
                              .Set("level", i + 1)
                              .Set("value", v.dpiValues[i])
                              .Set("in_use", used)
                              .Set("active", i == v.dpiIndex));
            text.push_back("  level " + std::to_string(i + 1) + ": " +
                           std::to_string(v.dpiValues[i]) + (i == v.dpiIndex ? "  (active)" : "") +
                           (used ? "" : "  (not in use)"));
        }
        json.Set("count", v.dpiCount).Set("active", v.dpiIndex + 1).Set("levels", levels);
        text.insert(text.begin(), "DPI levels in use: " + std::to_string(v.dpiCount) +
                                      ", active level " + std::to_string(v.dpiIndex + 1));
    } else if (name == "rate") {
        json.Set("hertz", ReportRateHertz(v.reportRate));
        text.push_back("Polling rate: " + std::to_string(ReportRateHertz(v.reportRate)) + " Hz");
    } else if (name == "liftoff") {
        json.Set("millimetres", v.liftOff);
        text.push_back("Lift-off distance: " + std::to_string(v.liftOff) + " mm");
    } else if (name == "sensor") {
        JsonValue options = JsonValue::MakeArray();
        for (int i = 0; i < 3; ++i) {
            options.Append(v.sensorOptions[i]);
            text.push_back("Sensor option " + std::to_string(i + 1) + ": " +
                           YesNo(v.sensorOptions[i]));
        }
        json.Set("options", options);
    } else if (name == "scroll") {
        json.Set("option", v.scrollOption);
        text.push_back("Scroll option: " + std::to_string(v.scrollOption));
    } else if (name == "esports") {
        json.Set("on", v.eSports);
        text.push_back("E-sports mode: " + YesNo(v.eSports));
    } else if (name == "debounce") {
        json.Set("value", v.debounce);
        text.push_back("Debounce: " + std::to_string(v.debounce));
    } else if (name == "wakeup") {
        JsonValue options = JsonValue::MakeArray();
        for (int i = 0; i < 2; ++i) {
            options.Append(v.wakeupOptions[i]);
            text.push_back("Wake-up option " + std::to_string(i + 1) + ": " +
                           YesNo(v.wakeupOptions[i]));
        }
        json.Set("options", options);
    }
    s.Out().Result(json, text);
    return kExitDone;
}

// "set N" with one number; the operation refuses what is out of range.
bool OneNumber(const CliArgs& args, long long& value) {
    return args.size() == 2 && args[0] == "set" && ParseWholeNumber(args[1], value);
}

}  // namespace

int CliDpi(CliSession& s, const CliArgs& args) {
    if (IsShow(args)) {
        return ShowPerformance(s, "dpi");
    }
    const std::string& verb = args[0];
    long long a = 0, b = 0;
    if (verb == "set" && args.size() == 3 && ParseWholeNumber(args[1], a) &&
        ParseWholeNumber(args[2], b)) {
        // Typed values are clamped and rounded down as on the page, not refused.
        const int value = ClampDpiValue(Int(b));
        return Change(
            s, [&](DeviceDataDB& db, int p) { return SetDpiLevelValue(db, p, Int(a), Int(b)); },
            "DPI level " + std::to_string(a) + " set to " + std::to_string(value) + " and active",
            Obj().Set("level", Int(a)).Set("value", value));
    }
    if (verb == "count" && args.size() == 2 && ParseWholeNumber(args[1], a)) {
        return Change(
            s, [&](DeviceDataDB& db, int p) { return SetDpiLevelCount(db, p, Int(a)); },
            "DPI levels in use: " + std::to_string(a), Obj().Set("count", Int(a)));
    }
    if (verb == "active" && args.size() == 2 && ParseWholeNumber(args[1], a)) {
        return Change(
            s, [&](DeviceDataDB& db, int p) { return SetActiveDpiLevel(db, p, Int(a)); },
            "DPI level " + std::to_string(a) + " active", Obj().Set("active", Int(a)));
    }
    if (verb == "reset" && args.size() == 1) {
        return Change(s, ResetDpi, "DPI levels reset", Obj());
    }
    return CliUsageError(s, "dpi takes show, set LEVEL VALUE, count N, active LEVEL or reset");
}

int CliRate(CliSession& s, const CliArgs& args) {
    if (IsShow(args)) {
        return ShowPerformance(s, "rate");
    }
    long long hz = 0;
    if (OneNumber(args, hz)) {
        return Change(
            s, [&](DeviceDataDB& db, int p) { return SetReportRate(db, p, Int(hz)); },
            "Polling rate set to " + std::to_string(hz) + " Hz", Obj().Set("hertz", Int(hz)));
    }
    if (args.size() == 1 && args[0] == "reset") {
        return Change(s, ResetReportRate, "Polling rate reset to 1000 Hz",
                      Obj().Set("hertz", 1000));
    }
    return CliUsageError(s, "rate takes show, set 125|250|500|1000 or reset");
}

int CliLiftOff(CliSession& s, const CliArgs& args) {
    if (IsShow(args)) {
        return ShowPerformance(s, "liftoff");
    }
    long long mm = 0;
    if (!OneNumber(args, mm)) {
        return CliUsageError(s, "liftoff takes show or set 1|2");
    }
    return Change(
        s, [&](DeviceDataDB& db, int p) { return SetLiftOff(db, p, Int(mm)); },
        "Lift-off distance set to " + std::to_string(mm) + " mm",
        Obj().Set("millimetres", Int(mm)));
}

int CliSensor(CliSession& s, const CliArgs& args) {
    if (IsShow(args)) {
        return ShowPerformance(s, "sensor");
    }
    long long option = 0;
    bool on = false;
    if (args.size() != 3 || args[0] != "set" || !ParseWholeNumber(args[1], option) ||
        !OnOff(args[2], on)) {
        return CliUsageError(s, "sensor takes show or set OPTION on|off");
    }
    return Change(
        s, [&](DeviceDataDB& db, int p) { return SetSensorOption(db, p, Int(option), on); },
        "Sensor option " + std::to_string(option) + " " + YesNo(on),
        Obj().Set("option", Int(option)).Set("on", on));
}

int CliScroll(CliSession& s, const CliArgs& args) {
    if (IsShow(args)) {
        return ShowPerformance(s, "scroll");
    }
    long long option = 0;
    if (!OneNumber(args, option)) {
        return CliUsageError(s, "scroll takes show or set 1|2");
    }
    return Change(
        s, [&](DeviceDataDB& db, int p) { return SetScrollOption(db, p, Int(option)); },
        "Scroll option set to " + std::to_string(option), Obj().Set("option", Int(option)));
}

int CliESports(CliSession& s, const CliArgs& args) {
    if (IsShow(args)) {
        return ShowPerformance(s, "esports");
    }
    bool on = false;
    if (args.size() != 1 || !OnOff(args[0], on)) {
        return CliUsageError(s, "esports takes show, on or off");
    }
    return Change(
        s, [&](DeviceDataDB& db, int p) { return SetESports(db, p, on); },
        "E-sports mode " + YesNo(on), Obj().Set("on", on));
}

int CliDebounce(CliSession& s, const CliArgs& args) {
    if (IsShow(args)) {
        return ShowPerformance(s, "debounce");
    }
    long long value = 0;
    if (!OneNumber(args, value)) {
        return CliUsageError(s, "debounce takes show or set 0-20");
    }
    return Change(
        s, [&](DeviceDataDB& db, int p) { return SetDebounce(db, p, Int(value)); },
        "Debounce set to " + std::to_string(value), Obj().Set("value", Int(value)));
}

int CliWakeup(CliSession& s, const CliArgs& args) {
    if (IsShow(args)) {
        return ShowPerformance(s, "wakeup");
    }
    long long option = 0;
    bool on = false;
    if (args.size() != 3 || args[0] != "set" || !ParseWholeNumber(args[1], option) ||
        !OnOff(args[2], on)) {
        return CliUsageError(s, "wakeup takes show or set OPTION on|off");
    }
    return Change(
        s, [&](DeviceDataDB& db, int p) { return SetWakeupOption(db, p, Int(option), on); },
        "Wake-up option " + std::to_string(option) + " " + YesNo(on),
        Obj().Set("option", Int(option)).Set("on", on));
}
