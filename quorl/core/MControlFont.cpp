#include "quorl/core/MControlFont.h"

#include "quorl/paint/PaintManager.h"
#include "quorl/render/Manager.h"
#include "quorl/render/WindowResources.h"

namespace Quorl {

MControlFont::MControlFont(MObject* parent, UINT id, CRect rect, const wchar_t* title, BOOL visible,
                           BOOL enabled, BOOL response)
    : MControl(parent, id, rect, visible, enabled, response),
      m_title(title),
      m_fontName(Manager::GetFontName()),
      m_fontSize(Manager::GetFontWidth()) {}

MControlFont::~MControlFont() = default;

BOOL MControlFont::TakeImage(ImgResInfo* info, int stateCount) {
    if (!info || !info->GetImage() || stateCount < 1) {
        return 0;
    }
    m_image = info;
    m_stateCount = stateCount;
    m_frameWidth = info->GetImage()->Width() / stateCount;
    m_frameHeight = info->GetImage()->Height();
    UpdateControl(TRUE);
    return 1;
}

BOOL MControlFont::SetImage(UINT resourceId, CString type, int stateCount) {
    if (!m_manager || stateCount < 1) {
        return 0;
    }
    return TakeImage(m_manager->GetResources().AddImgResInfo(resourceId, type, stateCount, TRUE),
                     stateCount);
}

BOOL MControlFont::SetImage(const wchar_t* fileName, int stateCount) {
    if (!m_manager || !fileName || !*fileName || stateCount < 1) {
        return 0;
    }
    if (!TakeImage(m_manager->GetResources().AddImgResInfo(fileName, stateCount), stateCount)) {
        return 0;
    }
    m_imagePath = fileName;
    return 1;
}

void MControlFont::SetTitle(const wchar_t* title) {
    m_gdiFont.reset();
    SetControlTitle(title);
    if (m_visible) {
        RequestRepaint(m_rect, TRUE);
    }
}

void MControlFont::SetAlignment(UINT h) {
    if (h == m_hAlign) {
        return;
    }
    m_hAlign = h;
    if (m_visible) {
        RequestRepaint(m_rect, TRUE);
    }
}

void MControlFont::SetVAlignment(UINT v) {
    if (v == m_vAlign) {
        return;
    }
    m_vAlign = v;
    if (m_visible) {
        RequestRepaint(m_rect, TRUE);
    }
}

void MControlFont::SetAlignment(UINT h, UINT v) {
    if (h == m_hAlign && v == m_vAlign) {
        return;
    }
    m_hAlign = h;
    m_vAlign = v;
    if (m_visible) {
        RequestRepaint(m_rect, TRUE);
    }
}

void MControlFont::SetFont(const wchar_t* face, int size, int style) {
    m_fontName = face;
    m_fontSize = size;
    m_fontStyle = style;
    m_gdiFont.reset();
}

void MControlFont::SetFontName(CString face) {
    m_fontName = face;
    m_gdiFont.reset();
}

void MControlFont::SetFontWidth(int size) {
    m_fontSize = size;
    m_gdiFont.reset();
}

void MControlFont::SetFontStyle(int style) {
    m_fontStyle = style;
    m_gdiFont.reset();
}

const Font& MControlFont::GetGDIFont() {
    if (!m_gdiFont) {
        const int style = m_fontStyle & (FontStyleBold | FontStyleItalic | FontStyleUnderline);
        m_gdiFont.emplace(m_fontName.Left(32), m_fontSize, style);
    }
    return *m_gdiFont;
}

std::unique_ptr<FontFamily> MControlFont::GetFontFamily(const wchar_t* face) {
    if (!m_manager || !face) {
        return nullptr;
    }
    FontFamily* family = m_manager->GetResources().FindTempFont(face);
    return family ? std::make_unique<FontFamily>(*family) : nullptr;
}

}  // namespace Quorl
