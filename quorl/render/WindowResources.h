#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "quorl/core/BaseTypes.h"
#include "quorl/core/CString.h"
#include "quorl/render/Font.h"
#include "quorl/render/Image.h"

namespace Quorl {

// A cached skin image: one strip of stateCount frames of frameWidth x frameHeight. Owned by
// the cache; controls keep the pointer and never free it.
struct ImgResInfo {
    std::unique_ptr<Image> image;
    int frameWidth = 0;
    int frameHeight = 0;
    int stateCount = 0;
    CString fileName;  // for entries loaded from the skin folder
    UINT resourceId = 0;
    CString resourceType;

    Image* GetImage() const { return image.get(); }
};

// The image cache and font registry of one window, kept by its paint manager. Both are
// locked: controls may ask for images from the animation timer thread.
class WindowResources {
public:
    WindowResources() = default;
    ~WindowResources();
    WindowResources(const WindowResources&) = delete;
    WindowResources& operator=(const WindowResources&) = delete;

    // The shared entry for a skin image (a name relative to the skin folder); the state
    // count of the first request wins. Null, and nothing cached, when the file cannot be
    // loaded or the state count is below 1 or above the image width.
    ImgResInfo* AddImgResInfo(const wchar_t* fileName, int stateCount);
    // The same for a resource of the application module (fromApplication) or the toolkit's.
    ImgResInfo* AddImgResInfo(UINT id, const CString& type, int stateCount, BOOL fromApplication);
    void ClearImgResInfo();
    int GetImgResInfoCount() const;

    // Makes a font resource of the toolkit available to text drawing by its family names
    // while this window lives.
    BOOL AddGDITempFont(UINT id, const CString& type);
    // Loads a font file, or a "TTF" resource of the toolkit, and registers its first family
    // under name.
    BOOL AddTempFont(const wchar_t* name, const wchar_t* file);
    BOOL AddTempFont(const wchar_t* name, UINT ttfResourceId);
    // The registered family, else an installed face of that name (cached); null when the
    // platform has no such face.
    FontFamily* FindTempFont(const wchar_t* name);
    void ClearTempFont();

private:
    ImgResInfo* AddLoaded(std::unique_ptr<Image> image, int stateCount,
                          std::unique_ptr<ImgResInfo>& slot);

    using ResourceKey = std::pair<CString, UINT>;  // type in capitals, id
    mutable std::mutex m_imageLock;
    std::map<CString, std::unique_ptr<ImgResInfo>> m_byName;
    std::map<ResourceKey, std::unique_ptr<ImgResInfo>> m_byApplicationId;
    std::map<ResourceKey, std::unique_ptr<ImgResInfo>> m_byToolkitId;

    std::mutex m_fontLock;
    std::map<CString, std::unique_ptr<FontFamily>> m_families;
    std::vector<int> m_fontHandles;
};

}  // namespace Quorl
