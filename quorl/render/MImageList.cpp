#include "quorl/render/MImageList.h"

#include <algorithm>

#include "quorl/render/MRender.h"
#include "quorl/render/Manager.h"

namespace Quorl {

bool MImageList::Load(const wchar_t* path, int id, int frameCount, _M_IAMGELIST& item) {
    if (!path || !*path || frameCount < 1) {
        return false;
    }
    std::shared_ptr<Image> image = MRender::LoadImageFromFile(Manager::GetSkinPath(path));
    if (!image || frameCount > image->Width()) {
        return false;
    }
    item.frameWidth = image->Width() / frameCount;
    item.frameHeight = image->Height();
    item.image = std::move(image);
    item.id = id;
    item.frameCount = frameCount;
    item.path = path;
    return true;
}

int MImageList::AddImage(const wchar_t* path, int id, int frameCount) {
    _M_IAMGELIST item;
    if (!Load(path, id, frameCount, item)) {
        return -1;
    }
    std::lock_guard<std::mutex> guard(m_lock);
    m_items.push_back(std::move(item));
    return static_cast<int>(m_items.size()) - 1;
}

int MImageList::InsertImage(int index, const wchar_t* path, int id, int frameCount) {
    _M_IAMGELIST item;
    if (!Load(path, id, frameCount, item)) {
        return -1;
    }
    std::lock_guard<std::mutex> guard(m_lock);
    index = std::clamp(index, 0, static_cast<int>(m_items.size()));
    m_items.insert(m_items.begin() + index, std::move(item));
    return index;
}

void MImageList::DelAllImages() {
    std::lock_guard<std::mutex> guard(m_lock);
    m_items.clear();
}

int MImageList::GetImageCount() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return static_cast<int>(m_items.size());
}

_M_IAMGELIST MImageList::GetItemImageData(int index) const {
    std::lock_guard<std::mutex> guard(m_lock);
    if (index < 0 || index >= static_cast<int>(m_items.size())) {
        return {};
    }
    return m_items[static_cast<size_t>(index)];
}

_M_IAMGELIST MImageList::GetImageDataByID(int id) const {
    std::lock_guard<std::mutex> guard(m_lock);
    for (const auto& item : m_items) {
        if (item.id == id) {
            return item;
        }
    }
    return {};
}

CString MImageList::GetImagePath(int index) const {
    return GetItemImageData(index).path;
}

CString MImageList::GetImagePathByID(int id) const {
    return GetImageDataByID(id).path;
}

void MImageList::SetDrawImgSize(int w, int h) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_drawWidth = std::max(w, 0);
    m_drawHeight = std::max(h, 0);
}

CSize MImageList::GetIconSize() const {
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_drawWidth > 0 && m_drawHeight > 0) {
        return {m_drawWidth, m_drawHeight};
    }
    if (m_items.empty()) {
        return {};
    }
    return {m_items.front().frameWidth, m_items.front().frameHeight};
}

void MImageList::DrawItemIcon(Canvas& g, const CRect& rect, int index) const {
    DrawItemIcon(g, rect, index, 0);
}

void MImageList::DrawItemIcon(Canvas& g, const CRect& rect, int index, int frame) const {
    const _M_IAMGELIST item = GetItemImageData(index);
    if (!item.image || frame < 0 || frame >= item.frameCount || rect.IsRectEmpty()) {
        return;
    }
    CRect dest = rect;
    int w, h;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        w = m_drawWidth;
        h = m_drawHeight;
    }
    if (w > 0 && h > 0) {
        const CPoint at = MRender::GetOriginPoint(rect.Width(), rect.Height(), w, h, 1, 4);
        dest = CRect(rect.left + at.x, rect.top + at.y, rect.left + at.x + w, rect.top + at.y + h);
    }
    const CRect src(frame * item.frameWidth, 0, (frame + 1) * item.frameWidth, item.frameHeight);
    g.DrawImage(*item.image, dest, src);
}

}  // namespace Quorl
