#pragma once

#include <vector>

#include "quorl/core/BaseTypes.h"
#include "quorl/core/CString.h"
#include "quorl/core/Geometry.h"
#include "quorl/render/Bitmap.h"

namespace Quorl {

// What a drag may do with its data, as the drop effects of the toolkit's callers.
inline constexpr DWORD DROPEFFECT_NONE = 0;
inline constexpr DWORD DROPEFFECT_COPY = 1;
inline constexpr DWORD DROPEFFECT_MOVE = 2;

// What was dropped on a window: a picture arrives decoded; files as local paths, in order.
struct DropData {
    Bitmap image;  // invalid when the drag carried no picture
    std::vector<CString> files;
};

// A window that takes drops. The platform calls it on the window's own thread.
class DropTarget {
public:
    virtual ~DropTarget() = default;
    // A drag is over the window at the client point; the answer is the effect it would get
    // (one of `allowed`, or DROPEFFECT_NONE to refuse).
    virtual DWORD OnDragOver(POINT client, DWORD allowed) = 0;
    virtual void OnDragLeave() = 0;
    // The drag was released over the window. True when the data was taken.
    virtual bool OnDropData(POINT client, DropData& data) = 0;
};

}  // namespace Quorl
