#include "quorl/core/ControlRegistry.h"

#include <algorithm>
#include <cwchar>

namespace Quorl {

ControlRegistry::ControlRegistry(std::vector<const wchar_t*> names) : m_names(std::move(names)) {}

ControlRegistry& ControlRegistry::WindowTable() {
    static ControlRegistry* registry = new ControlRegistry({
        L"CArea",         L"MText",         L"MPicture",     L"CPhotoFrame",     L"CSliderPicture",
        L"CGifPicture",   L"MProgress",     L"MSlider",      L"LightSlider",     L"DPISlider",
        L"MLevelCtrl",    L"MButton",       L"CImageButton", L"CTextButton",     L"CCheckButton",
        L"CRadioButton",  L"CSelectButton", L"CColorButton", L"MSpinButton",     L"CSpinButton",
        L"CSwitchButton", L"CIconButton",   L"CTimerButton", L"CHelpButton",     L"MEdit",
        L"MRichEdit",     L"MEditEx",       L"MComboBox",    L"MTabCtrl",        L"MTabLayout",
        L"MListBox",      L"DListBox",      L"MPalette",     L"CColorPalette",   L"CColorSelect",
        L"CirclePalette", L"CComboBoxList", L"MenuItem",     L"TextCheckButton", L"CDeviceState",
        L"BatteryCtrl",
    });
    return *registry;
}

ControlRegistry& ControlRegistry::ContainerTable() {
    static ControlRegistry* registry = new ControlRegistry({
        L"CArea",          L"MText",         L"MPicture",        L"CPhotoFrame",
        L"CSliderPicture", L"CGifPicture",   L"MProgress",       L"MSlider",
        L"LightSlider",    L"DPISlider",     L"MLevelCtrl",      L"MButton",
        L"CImageButton",   L"CTextButton",   L"CCheckButton",    L"CRadioButton",
        L"CSelectButton",  L"CColorButton",  L"MSpinButton",     L"CSpinButton",
        L"CSwitchButton",  L"CIconButton",   L"CTimerButton",    L"CHelpButton",
        L"MEdit",          L"MRichEdit",     L"MEditEx",         L"MComboBox",
        L"MTabCtrl",       L"MTabLayout",    L"MListBox",        L"MPalette",
        L"CColorPalette",  L"CColorSelect",  L"CirclePalette",   L"MenuItem",
        L"DListBox",       L"UpgradeButton", L"DownloadButton",  L"MacroList",
        L"CRecordList",    L"DPIControl",    L"LongPressButton", L"MouseKeyCtrl",
        L"MouseCtrl",      L"ColorButtonEx", L"MComboBox2",      L"MButton2",
        L"MButton3",       L"PaletteBar",    L"NumberEdit",      L"NumberEdit2",
    });
    return *registry;
}

void ControlRegistry::EnsureRegistered() {
    static std::once_flag once;
    std::call_once(once, [] { RegisterToolkitControls(WindowTable(), ContainerTable()); });
}

ControlRegistry& ControlRegistry::Window() {
    EnsureRegistered();
    return WindowTable();
}

ControlRegistry& ControlRegistry::Container() {
    EnsureRegistered();
    return ContainerTable();
}

bool ControlRegistry::IsListed(const wchar_t* name) const {
    if (!name || !*name) {
        return false;
    }
    return std::any_of(m_names.begin(), m_names.end(),
                       [&](const wchar_t* n) { return std::wcscmp(n, name) == 0; });
}

bool ControlRegistry::Register(const wchar_t* name, ControlMaker maker) {
    if (!maker || !IsListed(name)) {
        return false;
    }
    std::lock_guard guard(m_lock);
    m_makers[name] = maker;
    return true;
}

ControlMaker ControlRegistry::Find(const wchar_t* name) const {
    if (!IsListed(name)) {
        return nullptr;
    }
    std::lock_guard guard(m_lock);
    auto it = m_makers.find(name);
    return it == m_makers.end() ? nullptr : it->second;
}

MControl* ControlRegistry::Make(const wchar_t* name, MObject* parent, UINT id, CRect rect,
                                const wchar_t* text, int flag1, int flag2) const {
    ControlMaker maker = Find(name);
    return maker ? maker(parent, id, rect, text ? text : L"", flag1, flag2) : nullptr;
}

}  // namespace Quorl
