#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "quorl/core/CString.h"
#include "quorl/core/Geometry.h"
#include "quorl/render/Canvas.h"
#include "quorl/render/Image.h"

namespace Quorl {

// One picture of an image list: a strip of frameCount frames.
struct _M_IAMGELIST {
    std::shared_ptr<Image> image;
    int frameWidth = 0;
    int frameHeight = 0;
    int id = 0;
    int frameCount = 1;
    CString path;
};

// A small locked list of icon strips, drawn at a common size (0 = natural).
class MImageList {
public:
    MImageList() = default;
    ~MImageList() = default;
    MImageList(const MImageList&) = delete;
    MImageList& operator=(const MImageList&) = delete;

    // path: a skin image name (relative to the skin folder) or an absolute path. The index of
    // the new entry, -1 when the image cannot be loaded or frameCount does not fit its width.
    int AddImage(const wchar_t* path, int id, int frameCount);
    // Inserts before index (clamped to the list); the index used, or -1.
    int InsertImage(int index, const wchar_t* path, int id, int frameCount);
    void DelAllImages();
    int GetImageCount() const;
    // A copy of the record; empty (null image) for an index or id that is not there.
    _M_IAMGELIST GetItemImageData(int index) const;
    _M_IAMGELIST GetImageDataByID(int id) const;
    CString GetImagePath(int index) const;
    CString GetImagePathByID(int id) const;

    void SetDrawImgSize(int w, int h);
    // The draw size, or the first picture's frame size when none is set.
    CSize GetIconSize() const;

    // Frame 0 (or the given frame) into rect: stretched to it, or at the draw size centred
    // in it when one is set.
    void DrawItemIcon(Canvas& g, const CRect& rect, int index) const;
    void DrawItemIcon(Canvas& g, const CRect& rect, int index, int frame) const;

private:
    static bool Load(const wchar_t* path, int id, int frameCount, _M_IAMGELIST& item);

    mutable std::mutex m_lock;
    std::vector<_M_IAMGELIST> m_items;
    int m_drawWidth = 0;
    int m_drawHeight = 0;
};

}  // namespace Quorl
