// macro: the macros of the model's store, their files, and binding one to a button.
#include <cstdint>

#include "app/cli/CliButtons.h"
#include "app/cli/CliCommands.h"
#include "app/cli/CliSession.h"
#include "app/lang/LangText.h"
#include "app/lang/MacroNames.h"
#include "app/pages/MacroFile.h"
#include "app/pages/MacroRecords.h"
#include "app/store/DeviceDataDB.h"
#include "quorl/core/Utf8.h"

namespace {

std::string Utf8(const std::wstring& text) {
    return Quorl::WideToUtf8(text);
}

bool Id(const std::string& text, int& id) {
    long long n = 0;
    if (!CliNumberArg(text, 1, INT32_MAX, n)) {
        return false;
    }
    id = static_cast<int>(n);
    return true;
}

int List(CliSession& s) {
    MacroList macros;
    ReadMacros(s.Store(), macros);
    JsonValue list = JsonValue::MakeArray();
    std::vector<std::string> text = {"Macros:"};
    for (const auto& m : macros) {
        const std::wstring name = LocaliseMacroListName(m->name);
        list.Append(JsonValue::MakeObject().Set("id", m->macro_id).Set("name", name));
        text.push_back("  " + std::to_string(m->macro_id) + "  " + Utf8(name));
    }
    if (macros.empty()) {
        text.push_back("  none");
    }
    s.Out().Result(JsonValue::MakeObject().Set("macros", list), text);
    return kExitDone;
}

int Show(CliSession& s, int id) {
    MacroValues macro;
    if (!ReadMacro(s.Store(), id, macro)) {
        s.Out().Error("no macro " + std::to_string(id));
        return kExitUsage;
    }
    const MacroInfo& info = macro.info;
    JsonValue items = JsonValue::MakeArray();
    std::vector<std::string> text = {
        "Macro " + std::to_string(id) + ": " + Utf8(LocaliseMacroListName(info.name)),
        "  play type " + std::to_string(info.play_type) + ", " + std::to_string(info.play_times) +
            " times, delay type " + std::to_string(info.delay_type) + ", delay " +
            std::to_string(info.delay_time) + " ms"};
    for (const auto& e : macro.items) {
        items.Append(JsonValue::MakeObject()
                         .Set("type", e->type)
                         .Set("value", e->value)
                         .Set("delay", e->delay_time)
                         .Set("text", e->desc));
        text.push_back("  " + std::to_string(e->record_index) + "  type " +
                       std::to_string(e->type) + "  value " + std::to_string(e->value) +
                       "  delay " + std::to_string(e->delay_time) + " ms  " + Utf8(e->desc));
    }
    s.Out().Result(JsonValue::MakeObject()
                       .Set("id", id)
                       .Set("name", LocaliseMacroListName(info.name))
                       .Set("play_type", info.play_type)
                       .Set("play_times", info.play_times)
                       .Set("delay_type", info.delay_type)
                       .Set("delay_time", info.delay_time)
                       .Set("items", items),
                   text);
    return kExitDone;
}

// A change of the store's macros alone.
int StoreChange(CliSession& s, const PageResult& result, const std::string& done, JsonValue json) {
    if (int prepared = CliPrepareChange(s, CliChangeKind::kStoreOnly); prepared != kExitDone) {
        return prepared;
    }
    return CliFinishChange(s, result, done, std::move(json), CliChangeKind::kStoreOnly);
}

}  // namespace

int CliMacro(CliSession& s, const CliArgs& args) {
    if (args.empty() || (args.size() == 1 && args[0] == "list")) {
        return List(s);
    }
    const std::string& verb = args[0];
    int id = 0;
    if (verb == "show" && args.size() == 2 && Id(args[1], id)) {
        return Show(s, id);
    }
    if (verb == "export" && args.size() == 3 && Id(args[1], id)) {
        // Reads the store and writes a file: allowed while the window runs.
        PageResult result =
            ExportMacroFile(s.Store(), id, Quorl::Utf8ToWide(args[2]),
                            [](const std::wstring& n) { return LocaliseMacroListName(n); });
        if (!result.ok) {
            s.Out().Error(Utf8(result.message));
            return result.storeFailed ? kExitFailed : kExitUsage;
        }
        s.Out().Result(JsonValue::MakeObject().Set("id", id).Set("file", result.path),
                       {"Macro " + std::to_string(id) + " written to " + Utf8(result.path)});
        return kExitDone;
    }
    // The store changes from here on; none is allowed while the window runs.
    if (int refused = s.RefuseWhileWindowRuns(); refused != kExitDone) {
        return refused;
    }
    if (verb == "new" && args.size() == 1) {
        PageResult result = NewMacro(s.Store(), GetLangText(L"LAN", 351));
        return StoreChange(s, result, "New macro " + std::to_string(result.value),
                           JsonValue::MakeObject().Set("id", result.value));
    }
    if (verb == "rename" && args.size() == 3 && Id(args[1], id)) {
        const int profile = s.Profile();
        return StoreChange(s, RenameMacroRecord(s.Store(), profile, id, Quorl::Utf8ToWide(args[2])),
                           "Macro " + args[1] + " renamed to " + args[2],
                           JsonValue::MakeObject().Set("id", id).Set("name", args[2]));
    }
    if (verb == "import" && args.size() == 2) {
        PageResult result = ImportMacroFile(s.Store(), Quorl::Utf8ToWide(args[1]));
        return StoreChange(s, result,
                           "Imported " + args[1] + " as macro " + std::to_string(result.value),
                           JsonValue::MakeObject().Set("id", result.value));
    }
    if (verb == "delete" && args.size() == 2 && Id(args[1], id)) {
        // Buttons bound to it fall back to their defaults, and the mouse is told.
        return StoreChange(s, DeleteMacroRecord(s.Store(), s.Profile(), id),
                           "Macro " + args[1] + " deleted", JsonValue::MakeObject().Set("id", id));
    }
    long long button = 0;
    if (verb == "bind" && args.size() == 3 && Id(args[1], id) &&
        ParseWholeNumber(args[2], button)) {
        // Out-of-int numbers stay out of every button range.
        const int index = button < 0 || button > INT32_MAX ? -1 : static_cast<int>(button);
        return CliSetButton(s, index, MacroFunction(id), "macro " + args[1]);
    }
    return CliUsageError(s,
                         "macro takes list, show ID, new, rename ID NAME, delete ID, import "
                         "FILE, export ID FILE or bind ID BUTTON");
}
