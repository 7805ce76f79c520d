#include "app/pages/ProfileFile.h"

#include <array>
#include <climits>
#include <optional>
#include <vector>

#include "app/pages/ConfigValues.h"
#include "app/pages/LightingSettings.h"
#include "app/pages/PerformanceSettings.h"
#include "app/pages/StoreTransaction.h"
#include "app/pages/XmlFileFields.h"
#include "app/store/DeviceDataDB.h"
#include "app/xml/XmlDocument.h"

namespace {

constexpr const wchar_t* kDeclaration = L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

// The children of "Mouse", in the order written, with the values the mouse reports can
// carry (wider than the pages offer: a value read back from the mouse must import again).
struct MouseValue {
    const wchar_t* key;
    int low;
    int high;
};
constexpr std::array<MouseValue, 7> kMouseValues = {{
    {L"button_respondtime", 0, 255},
    {L"report_rate", 0, 3},
    {L"sensor_flag", 0, 255},
    {L"liftoff_height", 0, 3},
    {L"scroll_flag", 1, 2},
    {L"e-sports_flag", 1, 2},
    {L"leftbtn_lock", 0, 1},
}};
constexpr int kMaxColour = 0xFFFFFF;
constexpr int kMacroKind = 4;

std::wstring DpiElement(int level) {
    return L"DPI" + std::to_wstring(level + 1);
}

std::wstring Config(DeviceDataDB& db, int profile, std::wstring_view key) {
    std::wstring value;
    db.GetConfigValue(profile, key, value);
    return value;
}

void WriteNumber(XmlDocument& document, std::wstring_view name, int value) {
    document.WriteAttribute(name, std::to_wstring(value));
}

std::wstring Quoted(std::wstring_view path) {
    return L"\"" + std::wstring(path) + L"\"";
}

// A profile file checked whole, before anything is stored.
struct ProfileFileData {
    std::wstring name;
    std::vector<ButtonAssignment> keys;
    bool hasLighting = false;
    int lightMode = 0;
    std::vector<LightModeSettings> lights;
    bool hasDpi = false;
    int dpiFlag = 0;
    int dpiIndex = 0;
    int dpiCount = 0;
    std::array<std::optional<std::pair<int, int>>, kDpiLevels> dpi;  // value, colour
    std::vector<std::pair<std::wstring, int>> mouse;
};

void ReadKeys(XmlDocument& document, AttributeReader& read, ProfileFileData& data) {
    if (!document.FindElement(L"keyitems") || !document.EnterElement()) {
        return;
    }
    while (read.Ok() && document.FindElement(L"item")) {
        read.SetContext(L"keyitems item " + std::to_wstring(data.keys.size() + 1));
        ButtonAssignment key;
        key.key_code = read.Number(L"key_code", 0, 255, 0);
        key.macro_type = read.Number(L"macro_type", 1, 9, 0);
        key.macro_value = read.Number(L"macro_value", 0, INT_MAX, 0);
        key.macro_value2 = read.Number(L"macro_value2", 0, 65535, 0);
        key.macro_value3 = read.Number(L"macro_value3", 0, 65535, 0);
        key.macro_desc = read.Text(L"macro_desc");
        data.keys.push_back(key);
    }
    document.LeaveElement();
}

void ReadLights(XmlDocument& document, AttributeReader& read, ProfileFileData& data) {
    if (!document.FindElement(L"Lightitems")) {
        return;
    }
    data.hasLighting = true;
    read.SetContext(L"Lightitems");
    data.lightMode = read.Number(L"lightmode", 0, kLightModeCount - 1, 0);
    if (!document.EnterElement()) {
        return;
    }
    while (read.Ok() && document.FindElement(L"item")) {
        read.SetContext(L"Lightitems item " + std::to_wstring(data.lights.size() + 1));
        LightModeSettings light;
        light.mode = read.Number(L"light_mode", 0, kLightModeCount - 1, 0);
        light.brightness = read.Number(L"brightness", 0, 255, 0);
        light.speed = read.Number(L"speed", 0, 255, 0);
        light.direction = read.Number(L"direction", 0, 255, 0);
        light.colorful = read.Number(L"colorful", 0, 255, 0);
        light.colorindex = read.Number(L"colorindex", 0, 255, 0);
        light.color_value = read.Number(L"color_value", 0, kMaxColour, 0);
        data.lights.push_back(light);
    }
    document.LeaveElement();
}

void ReadDpi(XmlDocument& document, AttributeReader& read, ProfileFileData& data) {
    if (!document.FindElement(L"Mouse_DPI")) {
        return;
    }
    data.hasDpi = true;
    read.SetContext(L"Mouse_DPI");
    data.dpiFlag = read.Number(L"dpi_flag", 0, 255, std::nullopt);
    data.dpiIndex = read.Number(L"dpi_index", 0, kDpiLevels - 1, std::nullopt);
    data.dpiCount = read.Number(L"dpi_count", 1, kDpiLevels, std::nullopt);
    if (!document.EnterElement()) {
        return;
    }
    for (int level = 0; level < kDpiLevels && read.Ok(); ++level) {
        if (document.FindElement(DpiElement(level))) {
            read.SetContext(DpiElement(level));
            const int value = read.Number(L"value", 0, 65535, std::nullopt);
            const int colour = read.Number(L"color", 0, kMaxColour, std::nullopt);
            data.dpi[level] = std::pair{value, colour};
        }
    }
    document.LeaveElement();
}

void ReadMouse(XmlDocument& document, AttributeReader& read, ProfileFileData& data) {
    if (!document.FindElement(L"Mouse") || !document.EnterElement()) {
        return;
    }
    for (const MouseValue& entry : kMouseValues) {
        if (read.Ok() && document.FindElement(entry.key)) {
            read.SetContext(entry.key);
            data.mouse.emplace_back(entry.key,
                                    read.Number(L"value", entry.low, entry.high, std::nullopt));
        }
    }
    document.LeaveElement();
}

bool StoreProfile(DeviceDataDB& db, int profile, const ProfileFileData& data,
                  const ProfileFileOptions& options) {
    if (options.applyName && !data.name.empty() && !db.RenameProfile(profile, data.name)) {
        return false;
    }
    if (!db.DeleteProfileButtons(profile)) {
        return false;
    }
    for (ButtonAssignment key : data.keys) {
        MacroInfo macro;
        if (key.macro_type == kMacroKind && !db.GetMacro(key.macro_value, macro)) {
            continue;  // a macro of another store: the button keeps its default
        }
        key.profile = profile;
        key.fn_layer = 0;
        // Zero values store nothing, which leaves the button at its default.
        if (db.SaveButtonAssignment(key) == 0 && (key.macro_value != 0 || key.macro_value2 != 0)) {
            return false;
        }
    }
    if (options.withLighting && data.hasLighting) {
        if (!EnsureLightModes(db, profile) || !db.SetActiveLightMode(profile, data.lightMode)) {
            return false;
        }
        for (const LightModeSettings& item : data.lights) {
            LightModeSettings light;
            if (!db.GetLightMode(profile, item.mode, light)) {
                continue;  // a mode this profile does not have
            }
            light.brightness = item.brightness;
            light.speed = item.speed;
            light.direction = item.direction;
            light.colorful = item.colorful;
            light.colorindex = item.colorindex;
            light.color_value = item.color_value;
            if (!db.UpdateLightMode(profile, item.mode, light)) {
                return false;
            }
        }
    }
    bool stored = true;
    if (data.hasDpi) {
        stored = WriteConfigInt(db, profile, L"dpi_flag", data.dpiFlag) && stored;
        stored = WriteConfigInt(db, profile, L"dpi_index", data.dpiIndex) && stored;
        stored = WriteConfigInt(db, profile, L"dpi_count", data.dpiCount) && stored;
        for (int level = 0; level < kDpiLevels; ++level) {
            if (data.dpi[level]) {
                stored = WriteConfigInt(db, profile, DpiValueKey(level), data.dpi[level]->first) &&
                         stored;
                stored =
                    WriteConfigInt(db, profile, DpiColourKey(level), data.dpi[level]->second) &&
                    stored;
            }
        }
    }
    for (const auto& [key, value] : data.mouse) {
        stored = WriteConfigInt(db, profile, key, value) && stored;
    }
    return stored;
}

}  // namespace

PageResult ExportProfileFile(DeviceDataDB& db, int profile, std::wstring_view path,
                             const ProfileFileOptions& options) {
    std::lock_guard<std::recursive_mutex> hold(db.Lock());
    if (auto refused = CheckProfile(db, profile)) {
        return *refused;
    }
    std::wstring name;
    db.GetProfileName(profile, name);

    XmlDocument document;
    document.SetDocumentText(kDeclaration);
    document.AppendElement(L"profile");
    document.EnterElement();
    document.AppendElement(L"profileinfo");
    document.WriteAttribute(L"name", name);
    document.EnterElement();

    document.AppendElement(L"keyitems");
    document.EnterElement();
    ButtonAssignmentList keys;
    db.ListButtonAssignments(profile, keys);
    for (const auto& key : keys) {
        document.AppendElement(L"item");
        WriteNumber(document, L"key_code", key->key_code);
        WriteNumber(document, L"macro_type", key->macro_type);
        WriteNumber(document, L"macro_value", key->macro_value);
        WriteNumber(document, L"macro_value2", key->macro_value2);
        WriteNumber(document, L"macro_value3", key->macro_value3);
        document.WriteAttribute(L"macro_desc", key->macro_desc);
    }
    document.LeaveElement();

    if (options.withLighting) {
        LightingValues lighting = ReadLighting(db, profile);
        document.AppendElement(L"Lightitems");
        WriteNumber(document, L"lightmode", db.GetActiveLightMode(profile));
        document.EnterElement();
        for (const auto& light : lighting.modes) {
            document.AppendElement(L"item");
            WriteNumber(document, L"light_mode", light->mode);
            WriteNumber(document, L"brightness", light->brightness);
            WriteNumber(document, L"speed", light->speed);
            WriteNumber(document, L"direction", light->direction);
            WriteNumber(document, L"colorful", light->colorful);
            WriteNumber(document, L"colorindex", light->colorindex);
            WriteNumber(document, L"color_value", light->color_value);
        }
        document.LeaveElement();
    }

    document.AppendElement(L"Mouse_DPI");
    for (const wchar_t* key : {L"dpi_flag", L"dpi_index", L"dpi_count"}) {
        document.WriteAttribute(key, Config(db, profile, key));
    }
    document.EnterElement();
    for (int level = 0; level < kDpiLevels; ++level) {
        document.AppendElement(DpiElement(level));
        document.WriteAttribute(L"value", Config(db, profile, DpiValueKey(level)));
        document.WriteAttribute(L"color", Config(db, profile, DpiColourKey(level)));
    }
    document.LeaveElement();

    document.AppendElement(L"Mouse");
    document.EnterElement();
    for (const MouseValue& entry : kMouseValues) {
        document.AppendElement(entry.key);
        document.WriteAttribute(L"value", Config(db, profile, entry.key));
    }

    const std::wstring target = WithXmlExtension(path);
    if (!document.SaveFile(target)) {
        return PageResult::StoreFailed(L"could not write " + Quoted(target));
    }
    PageResult result = PageResult::Done({}, profile);
    result.path = target;
    return result;
}

PageResult ImportProfileFile(DeviceDataDB& db, std::wstring_view path, int profile,
                             const ProfileFileOptions& options) {
    if (auto refused = CheckProfile(db, profile)) {
        return *refused;
    }
    if (!XmlFileExists(path)) {
        return PageResult::Refused(Quoted(path) + L" does not exist");
    }
    XmlDocument document;
    if (!document.LoadFile(path)) {
        return PageResult::Refused(Quoted(path) + L" is not a well-formed XML file");
    }
    if (!document.FindElement(L"profile") || !document.EnterElement()) {
        return PageResult::Refused(Quoted(path) + L" is not a profile file (no \"profile\" root)");
    }
    if (!document.FindElement(L"profileinfo")) {
        return PageResult::Refused(Quoted(path) + L" has no \"profileinfo\"");
    }
    ProfileFileData data;
    data.name = document.ReadAttribute(L"name");
    AttributeReader read(document);
    if (document.EnterElement()) {
        ReadKeys(document, read, data);
        ReadLights(document, read, data);
        ReadDpi(document, read, data);
        ReadMouse(document, read, data);
    }
    if (!read.Ok()) {
        return PageResult::Refused(Quoted(path) + L": " + read.Problem());
    }

    StoreTransaction transaction(db);
    if (!transaction.Active() || !StoreProfile(db, profile, data, options) ||
        !transaction.Commit()) {
        return PageResult::StoreFailed();
    }
    PageTask task = MakeTask(PageTaskCode::kProfileSwitch);
    task.profile = profile;
    return PageResult::Done(IfActive(db, profile, {task}), profile);
}
