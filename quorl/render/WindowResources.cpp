#include "quorl/render/WindowResources.h"

#include "quorl/render/FontLibrary.h"
#include "quorl/render/MRender.h"
#include "quorl/render/Manager.h"
#include "quorl/render/Resources.h"

namespace Quorl {

WindowResources::~WindowResources() {
    ClearTempFont();
    ClearImgResInfo();
}

ImgResInfo* WindowResources::AddLoaded(std::unique_ptr<Image> image, int stateCount,
                                       std::unique_ptr<ImgResInfo>& slot) {
    if (!image || stateCount > image->Width()) {
        return nullptr;
    }
    auto entry = std::make_unique<ImgResInfo>();
    entry->frameWidth = image->Width() / stateCount;
    entry->frameHeight = image->Height();
    entry->stateCount = stateCount;
    entry->image = std::move(image);
    slot = std::move(entry);
    return slot.get();
}

ImgResInfo* WindowResources::AddImgResInfo(const wchar_t* fileName, int stateCount) {
    if (!fileName || !*fileName) {
        return nullptr;
    }
    CString name(fileName);
    name.Replace(L'\\', L'/');
    std::lock_guard<std::mutex> guard(m_imageLock);
    auto hit = m_byName.find(name);
    if (hit != m_byName.end()) {
        return hit->second.get();
    }
    if (stateCount < 1) {
        return nullptr;
    }
    std::unique_ptr<ImgResInfo> slot;
    ImgResInfo* entry =
        AddLoaded(MRender::LoadImageFromFile(Manager::GetSkinPath(name)), stateCount, slot);
    if (entry) {
        entry->fileName = name;
        m_byName[name] = std::move(slot);
    }
    return entry;
}

ImgResInfo* WindowResources::AddImgResInfo(UINT id, const CString& type, int stateCount,
                                           BOOL fromApplication) {
    if (type.IsEmpty()) {
        return nullptr;
    }
    const ResourceKey key{CString(type).MakeUpper(), id};
    auto& map = fromApplication ? m_byApplicationId : m_byToolkitId;
    std::lock_guard<std::mutex> guard(m_imageLock);
    auto hit = map.find(key);
    if (hit != map.end()) {
        return hit->second.get();
    }
    if (stateCount < 1) {
        return nullptr;
    }
    const HINSTANCE module = fromApplication ? Manager::GetInstance() : GetToolkitModule();
    std::unique_ptr<ImgResInfo> slot;
    ImgResInfo* entry =
        AddLoaded(MRender::LoadImageFromIDResource(id, type, module), stateCount, slot);
    if (entry) {
        entry->resourceId = id;
        entry->resourceType = key.first;
        map[key] = std::move(slot);
    }
    return entry;
}

void WindowResources::ClearImgResInfo() {
    std::lock_guard<std::mutex> guard(m_imageLock);
    m_byName.clear();
    m_byApplicationId.clear();
    m_byToolkitId.clear();
}

int WindowResources::GetImgResInfoCount() const {
    std::lock_guard<std::mutex> guard(m_imageLock);
    return static_cast<int>(m_byName.size() + m_byApplicationId.size() + m_byToolkitId.size());
}

BOOL WindowResources::AddGDITempFont(UINT id, const CString& type) {
    std::vector<std::uint8_t> data;
    if (!LoadModuleResource(GetToolkitModule(), id, type, data)) {
        return FALSE;
    }
    const int handle = FontLibrary::Instance().AddFontData(data);
    if (!handle) {
        return FALSE;
    }
    std::lock_guard<std::mutex> guard(m_fontLock);
    m_fontHandles.push_back(handle);
    return TRUE;
}

BOOL WindowResources::AddTempFont(const wchar_t* name, const wchar_t* file) {
    if (!name || !*name || !file || !*file) {
        return FALSE;
    }
    CString family;
    const int handle = FontLibrary::Instance().AddFontFile(file, &family);
    if (!handle || family.IsEmpty()) {
        FontLibrary::Instance().Remove(handle);
        return FALSE;
    }
    std::lock_guard<std::mutex> guard(m_fontLock);
    m_fontHandles.push_back(handle);
    m_families[name] = std::make_unique<FontFamily>(family);
    return TRUE;
}

BOOL WindowResources::AddTempFont(const wchar_t* name, UINT ttfResourceId) {
    if (!name || !*name) {
        return FALSE;
    }
    std::vector<std::uint8_t> data;
    if (!LoadModuleResource(GetToolkitModule(), ttfResourceId, L"TTF", data)) {
        return FALSE;
    }
    CString family;
    const int handle = FontLibrary::Instance().AddFontData(data, &family);
    if (!handle || family.IsEmpty()) {
        FontLibrary::Instance().Remove(handle);
        return FALSE;
    }
    std::lock_guard<std::mutex> guard(m_fontLock);
    m_fontHandles.push_back(handle);
    m_families[name] = std::make_unique<FontFamily>(family);
    return TRUE;
}

FontFamily* WindowResources::FindTempFont(const wchar_t* name) {
    if (!name || !*name) {
        return nullptr;
    }
    std::lock_guard<std::mutex> guard(m_fontLock);
    auto hit = m_families.find(name);
    if (hit != m_families.end()) {
        return hit->second.get();
    }
    if (!FontLibrary::Instance().HasFamily(name)) {
        return nullptr;
    }
    auto& slot = m_families[name];
    slot = std::make_unique<FontFamily>(CString(name));
    return slot.get();
}

void WindowResources::ClearTempFont() {
    std::vector<int> handles;
    {
        std::lock_guard<std::mutex> guard(m_fontLock);
        handles.swap(m_fontHandles);
        m_families.clear();
    }
    for (int handle : handles) {
        FontLibrary::Instance().Remove(handle);
    }
}

}  // namespace Quorl
