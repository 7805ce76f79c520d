#pragma once

// Text layout through Pango for the drawing code of this folder only.

#include <cairo.h>

#include "quorl/core/CString.h"
#include "quorl/core/Color.h"
#include "quorl/core/Geometry.h"
#include "quorl/render/Font.h"

namespace Quorl {

// Draws the text in the rectangle with DT_* flags; answers the laid-out height. DT_CALCRECT
// measures only.
int DrawTextLayout(cairo_t* cr, const CString& text, const CRect& rect, const Font& font,
                   Color colour, UINT format);
CSize MeasureTextLayout(const CString& text, const Font& font, UINT format, int maxWidth);

// Tells the text renderer that the set of fonts changed (application fonts added).
void NotifyFontsChanged();

}  // namespace Quorl
