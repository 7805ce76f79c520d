#include "app/pages/MacroFile.h"

#include <algorithm>
#include <climits>
#include <vector>

#include "app/pages/MacroRecords.h"
#include "app/pages/StoreTransaction.h"
#include "app/pages/XmlFileFields.h"
#include "app/store/DeviceDataDB.h"
#include "app/xml/XmlDocument.h"

namespace {

constexpr const wchar_t* kDeclaration = L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";
constexpr int kMaxItemType = 11;

void WriteNumber(XmlDocument& document, std::wstring_view name, int value) {
    document.WriteAttribute(name, std::to_wstring(value));
}

// The value range of an item by its type: delays are 16 bits on the mouse, keys are virtual-key
// codes, buttons and wheel amounts one byte (wheel amounts signed).
std::pair<int, int> ItemValueRange(int type) {
    switch (type) {
        case 0:
            return {INT_MIN, INT_MAX};
        case 1:
            return {0, 65535};
        case 2:
        case 3:
        case 4:
        case 5:
            return {0, 255};
        default:
            return {-255, 255};
    }
}

std::wstring Quoted(std::wstring_view path) {
    return L"\"" + std::wstring(path) + L"\"";
}

}  // namespace

PageResult ExportMacroFile(DeviceDataDB& db, int macroId, std::wstring_view path,
                           const MacroNameLocaliser& localiseName) {
    MacroValues macro;
    if (!db.IsOpened()) {
        return PageResult::StoreFailed(L"the settings store is not open");
    }
    if (!ReadMacro(db, macroId, macro)) {
        return PageResult::Refused(L"macro " + std::to_wstring(macroId) + L" does not exist");
    }
    XmlDocument document;
    document.SetDocumentText(kDeclaration);
    document.AppendElement(L"macro");
    document.EnterElement();
    document.AppendElement(L"macroinfo");
    document.WriteAttribute(L"macro_name",
                            localiseName ? localiseName(macro.info.name) : macro.info.name);
    WriteNumber(document, L"macro_type", macro.info.play_type);
    WriteNumber(document, L"play_times", macro.info.play_times);
    WriteNumber(document, L"delay_type", macro.info.delay_type);
    WriteNumber(document, L"delay_time", macro.info.delay_time);
    document.AppendElement(L"macroitems");
    document.EnterElement();
    for (const auto& item : macro.items) {
        document.AppendElement(L"item");
        document.WriteAttribute(L"desc", item->desc);
        WriteNumber(document, L"index", item->record_index);
        WriteNumber(document, L"type", item->type);
        WriteNumber(document, L"value", item->value);
        WriteNumber(document, L"timestamp", item->delay_time);
    }
    const std::wstring target = WithXmlExtension(path);
    if (!document.SaveFile(target)) {
        return PageResult::StoreFailed(L"could not write " + Quoted(target));
    }
    PageResult result = PageResult::Done({}, macroId);
    result.path = target;
    return result;
}

PageResult ImportMacroFile(DeviceDataDB& db, std::wstring_view path) {
    if (!XmlFileExists(path)) {
        return PageResult::Refused(Quoted(path) + L" does not exist");
    }
    XmlDocument document;
    if (!document.LoadFile(path)) {
        return PageResult::Refused(Quoted(path) + L" is not a well-formed XML file");
    }
    if (!document.FindElement(L"macro") || !document.EnterElement()) {
        return PageResult::Refused(Quoted(path) + L" is not a macro file (no \"macro\" root)");
    }
    if (!document.FindElement(L"macroinfo")) {
        return PageResult::Refused(Quoted(path) + L" has no \"macroinfo\"");
    }
    AttributeReader read(document);
    read.SetContext(L"macroinfo");
    MacroInfo info;
    info.name = read.Text(L"macro_name");
    if (info.name.empty()) {
        read.Fail(L"macroinfo: \"macro_name\" is missing");
    }
    info.play_type = read.Number(L"macro_type", 0, 2, 0);
    info.play_times = read.Number(L"play_times", 1, kMaxPlayTimes, 0);
    info.delay_type = read.Number(L"delay_type", 0, 2, 0);
    info.delay_time = read.Number(L"delay_time", 0, kMaxFixedDelayMs, 0);

    std::vector<MacroEvent> items;
    if (document.FindElement(L"macroitems") && document.EnterElement()) {
        while (read.Ok() && document.FindElement(L"item")) {
            if (items.size() == static_cast<size_t>(kMaxMacroItems)) {
                read.Fail(L"a macro holds at most " + std::to_wstring(kMaxMacroItems) + L" items");
                break;
            }
            read.SetContext(L"item " + std::to_wstring(items.size() + 1));
            MacroEvent item;
            item.desc = read.Text(L"desc");
            item.record_index = read.Number(L"index", 0, INT_MAX, 0);
            item.type = read.Number(L"type", 0, kMaxItemType, 0);
            const auto [low, high] = ItemValueRange(item.type);
            item.value = read.Number(L"value", low, high, 0);
            item.delay_time = read.Number(L"timestamp", INT_MIN, INT_MAX, 0);
            items.push_back(item);
        }
    }
    if (!read.Ok()) {
        return PageResult::Refused(Quoted(path) + L": " + read.Problem());
    }
    // Items go in index order and are numbered from 0, so the order survives any gaps.
    std::stable_sort(items.begin(), items.end(), [](const MacroEvent& a, const MacroEvent& b) {
        return a.record_index < b.record_index;
    });

    StoreTransaction transaction(db);
    if (!transaction.Active()) {
        return PageResult::StoreFailed();
    }
    info.name = FreeMacroName(db, info.name);
    const int id = db.AddMacroWithSettings(info);
    if (id == 0) {
        return PageResult::StoreFailed();
    }
    for (size_t i = 0; i < items.size(); ++i) {
        items[i].macro_id = id;
        items[i].record_index = static_cast<int>(i);
        if (db.AddMacroEvent(items[i]) == 0) {
            return PageResult::StoreFailed();
        }
    }
    if (!transaction.Commit()) {
        return PageResult::StoreFailed();
    }
    return PageResult::Done({}, id);
}
