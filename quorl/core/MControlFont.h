#pragma once

#include <memory>
#include <optional>

#include "quorl/core/Color.h"
#include "quorl/core/MControl.h"
#include "quorl/render/Font.h"

namespace Quorl {

struct ImgResInfo;

// A control with a title, a font and a skin image strip of stateCount equal frames.
class MControlFont : public MControl {
public:
    MControlFont(MObject* parent, UINT id, CRect rect, const wchar_t* title, BOOL visible,
                 BOOL enabled, BOOL response);
    ~MControlFont() override;

    virtual void SetTextFont(CString face) { m_fontName = face; }
    virtual void SetTextColor(Color colour) { m_textColor = colour; }
    // Skin image from the application's resources, or from the skin folder. 0 (and nothing
    // changed) without a manager or when the image cannot be loaded.
    virtual BOOL SetImage(UINT resourceId, CString type, int stateCount);
    virtual BOOL SetImage(const wchar_t* fileName, int stateCount);
    virtual void SetControlTitle(const wchar_t* title) { m_title = title; }
    virtual CString GetControlTitle() { return m_title; }

    void SetTitle(const wchar_t* title);
    CString GetTitle() const { return m_title; }
    void SetAlignment(UINT h);
    void SetVAlignment(UINT v);
    void SetAlignment(UINT h, UINT v);
    void GetAlignment(UINT& h, UINT& v) const {
        h = m_hAlign;
        v = m_vAlign;
    }
    // The font setters do not repaint; callers do.
    void SetFont(const wchar_t* face, int size, int style);
    void SetFontName(CString face);
    void SetFontWidth(int size);
    void SetFontStyle(int style);
    int GetFontStyle() const { return m_fontStyle; }
    int GetFontWidth() const { return m_fontSize; }
    CString GetTextFont() const { return m_fontName; }
    Color GetTextColor() const { return m_textColor; }
    void SetTextRenderingHint(int hint) { m_renderingHint = hint; }
    // The text font, built on first use: the face (at most 32 characters), the size and the
    // style bits.
    const Font& GetGDIFont();
    void ClearGDIFont() { m_gdiFont.reset(); }
    // The family of that name from the window's fonts; null when absent.
    std::unique_ptr<FontFamily> GetFontFamily(const wchar_t* face);
    void SetImageCount(int count) { m_stateCount = count; }
    CString GetImagePath() const { return m_imagePath; }
    CSize GetImageSize() const { return {m_frameWidth, m_frameHeight}; }
    ImgResInfo* GetImageInfo() const { return m_image; }
    int GetStateCount() const { return m_stateCount; }

protected:
    BOOL TakeImage(ImgResInfo* info, int stateCount);

    CString m_title;
    CString m_fontName;
    CString m_imagePath;
    int m_fontSize = 0;
    Color m_textColor{0xFFB8D3EF};
    int m_fontStyle = FontStyleRegular;
    FontFamily* m_fontFamily = nullptr;
    UINT m_hAlign = 0;
    UINT m_vAlign = 4;
    int m_renderingHint = 5;
    std::optional<Font> m_gdiFont;
    BOOL m_platformText = 1;
    ImgResInfo* m_image = nullptr;
    int m_frameWidth = 0;
    int m_frameHeight = 0;
    int m_stateCount = 4;
};

}  // namespace Quorl
