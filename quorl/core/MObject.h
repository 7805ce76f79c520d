#pragma once

#include "quorl/core/BaseTypes.h"
#include "quorl/core/Geometry.h"

namespace Quorl {

class MControl;

// The root of every node of a window's tree: controls, and the dialog that hosts them.
class MObject {
public:
    virtual ~MObject() = default;
    // Exact, case-sensitive comparison with GetClassNameW(); false for a null name.
    virtual BOOL IsClass(const wchar_t* name);
    virtual const wchar_t* GetClassNameW() { return nullptr; }
    virtual const wchar_t* GetObjectClass() { return nullptr; }
    virtual const wchar_t* BaseObjectClassName() { return nullptr; }
    // A child reports an event (see ControlNotify.h for the codes).
    virtual LONG OnBaseMessage(UINT controlId, UINT code, UINT wParam, LONG lParam);
    // A child asks for a repaint of rect; update means its cached drawing is stale.
    virtual LONG OnControlUpdate(CRect rect, BOOL update, MControl* control);
};

}  // namespace Quorl
