#pragma once

#include <vector>

#include "quorl/core/BaseTypes.h"
#include "quorl/core/CString.h"
#include "quorl/core/Color.h"
#include "quorl/platform/ManagerLoop.h"

namespace Quorl {

class MWindow;

// Process-wide settings of the toolkit. They are written at start-up on the UI thread and
// only read afterwards; the window registry has a lock of its own.
class Manager {
public:
    // The application's resource module (its GResource bundle, see Resources.h).
    static void SetInstance(HINSTANCE instance);
    static HINSTANCE GetInstance();
    // The toolkit's own resource module.
    static HINSTANCE GetToolkitInstance();

    // Nothing to start on this platform; both keep the start-up order and clear the window
    // registry.
    static void InitGdiplus();
    // The toolkit's message loop; it drops every message while Alt and F4 are both held.
    static void MessageLoop() { ManagerMessageLoop(); }
    static BOOL PreTranslateMessage(MSG* msg) { return ManagerPreTranslateMessage(msg); }

    static void UnInitGdiplus();

    // Defaults for controls created afterwards; existing controls keep theirs.
    static void SetFont(const CString& face, int size);
    static void SetFontName(const CString& face);
    static CString GetFontName();
    static int GetFontWidth();
    static Color GetSelectColor();

    // "theme1/"
    static CString GetTheme();
    // The folder of the running program, with a trailing '/'. SetProgramFolder overrides it
    // (an empty text goes back to the real one), for tests and tools.
    static CString GetProgramFolder();
    static void SetProgramFolder(const CString& folder);
    // Program folder + "skins/" + theme.
    static CString GetSkinFolder();
    // A skin image name as a path: '\' becomes '/', and a relative name is taken inside the
    // skin folder.
    static CString GetSkinPath(const CString& name);

    static void AddWnd(MWindow* window);
    static void DeleteWnd(MWindow* window);
    static bool HasWnd(MWindow* window);
    static std::vector<MWindow*> GetWindows();

private:
    Manager() = delete;
};

// Trace hook of the toolkit; it produces no output.
void M_Trace(const wchar_t* format, ...);

}  // namespace Quorl
