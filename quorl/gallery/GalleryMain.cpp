// quorl-gallery: one dialog showing what the toolkit can do. Click the buttons to open the menu,
// the bubble, the progress message or a modal child dialog.
//   quorl-gallery [--quit-after MS]
// It prints where its dialog lies on the screen, for screenshots taken from the display.
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>

#include "quorl/core/MControlFont.h"
#include "quorl/platform/MessageLoop.h"
#include "quorl/render/Canvas.h"
#include "quorl/render/Manager.h"
#include "quorl/window/MDialog.h"
#include "quorl/window/MenuWnd.h"

// The gallery's resource bundle (GalleryResources.c, compiled by glib-compile-resources).
extern "C" struct _GResource* gallery_resources_get_resource(void);
extern "C" void gallery_resources_register_resource(void);

namespace {

using namespace Quorl;

constexpr UINT kProgramIcon = 107;

constexpr UINT kMenuMessage = WM_USER + 200;
constexpr UINT kQuitTimer = 1;

// A plain push button for the demo: hover and pressed colours, a click notification.
class GalleryButton : public MControlFont {
public:
    GalleryButton(MObject* parent, UINT id, CRect rect, const wchar_t* title)
        : MControlFont(parent, id, rect, title, TRUE, TRUE, TRUE) {
        m_hAlign = 1;
    }
    void DrawControl(Canvas& target, CRect) override {
        if (!GetUpdate()) {
            UpdateMemDC(target, m_rect.Width(), m_rect.Height());
            Canvas c(m_memBitmap);
            const ARGB fill = m_pressed ? 0xFF1C5A8A : m_hover ? 0xFF2F74AC : 0xFF24435F;
            c.ClearRect(m_memBitmap.Bounds(), Color(fill));
            c.DrawRectangle(m_memBitmap.Bounds(), Color(0xFF5E8FB8));
            c.DrawText(m_title, m_memBitmap.Bounds(), GetGDIFont(), m_textColor,
                       DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        }
        target.CopyBitmap(m_memBitmap, m_memBitmap.Bounds(), m_rect.left, m_rect.top);
    }
    BOOL OnControlMouseMove(UINT, CPoint pt) override {
        const bool inside = m_rect.PtInRect(pt);
        if (inside != m_hover) {
            m_hover = inside;
            UpdateControl(TRUE);
        }
        return inside;
    }
    BOOL OnControlLButtonDown(UINT, CPoint) override {
        m_pressed = true;
        UpdateControl(TRUE);
        return 1;
    }
    BOOL OnControlLButtonUp(UINT, CPoint pt) override {
        const bool click = m_pressed && m_rect.PtInRect(pt);
        m_pressed = false;
        UpdateControl(TRUE);
        if (click) {
            SendMessageW(NOTIFY_CLICKED, 0, 0);
        }
        return 1;
    }

private:
    bool m_hover = false;
    bool m_pressed = false;
};

class ChildDialog : public MDialog {
public:
    void InitUI(CRect) override {
        SetBackColor(0x3A2A1A, 0x6D6D6D);
        m_manager.AddControl(new GalleryButton(this, 1, CRect(20, 60, 140, 92), L"OK"));
        m_manager.AddControl(new GalleryButton(this, 2, CRect(160, 60, 280, 92), L"Cancel"));
    }
    LRESULT OnMessage(UINT id, UINT code, UINT, LONG) override {
        if (code == NOTIFY_CLICKED) {
            id == 1 ? DoOK() : DoCancel();
        }
        return 1;
    }
};

class GalleryDialog : public MDialog {
public:
    void InitUI(CRect client) override {
        SetBackColor(0x2A1B10, 0x5A4A3A);
        const wchar_t* titles[] = {L"Menu", L"Bubble", L"Progress", L"Message", L"Modal dialog"};
        for (UINT i = 0; i < 5; ++i) {
            auto* b = new GalleryButton(
                this, 10 + i, CRect(30, 30 + 50 * int(i), 210, 66 + 50 * int(i)), titles[i]);
            b->SetTooltip(L"Click to see it");
            m_manager.AddControl(b);
        }
        m_manager.SetMessage(L"Quorl gallery", CRect(260, 30, client.right - 30, 110), 16);
    }
    LRESULT OnMessage(UINT id, UINT code, UINT, LONG) override {
        if (code != NOTIFY_CLICKED) {
            return 0;
        }
        MControl* c = GetControl(id);
        switch (id) {
            case 10: {
                POINT pt{c->GetRect().right, c->GetRect().top};
                ClientToScreen(pt);
                delete m_menu;  // the previous one has closed by now
                auto* menu = new MenuWnd();
                menu->Create(m_hwnd, CPoint(pt), kMenuMessage, 180);
                menu->AddMenu(L"First item", 501, CString(), 0, 0);
                menu->AddSeparator(502, CString());
                menu->AddMenu(L"Second item", 503, CString(), 0, 0);
                menu->ShowWindow(SW_SHOW);
                m_menu = menu;
                break;
            }
            case 11:
                SetAirBladderMsg(L"A bubble beside the button", GetAirBladderPoint(c, 2),
                                 AIRBLADDER_TYPE_INFO);
                break;
            case 12:
                m_progress = m_progress >= 100 ? 10 : m_progress + 30;
                SetProgress(m_progress, L"Working...", CRect());
                break;
            case 13:
                SetMessage(m_message ? L"" : L"An in-window message", CRect(260, 30, 560, 110), 16);
                m_message = !m_message;
                break;
            case 14: {
                ChildDialog child;
                child.Create(m_hwnd, L"Child", WS_POPUP, 0, CRect(0, 0, 300, 120));
                child.CenterWindow(this);
                const UINT result = child.ShowModal();
                SetMessage(result == IDOK ? L"The dialog said OK" : L"The dialog was cancelled",
                           CRect(260, 30, 560, 110), 16);
                m_message = true;
                break;
            }
            default:
                break;
        }
        return 1;
    }
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == kMenuMessage) {
            std::printf("menu item %ld\n", static_cast<long>(lParam));
            std::fflush(stdout);
            return 1;
        }
        if (msg == WM_TIMER && wParam == kQuitTimer) {
            Platform::Current().PostQuitMessage(0);
            return 1;
        }
        if (msg == WM_CLOSE) {
            Platform::Current().PostQuitMessage(0);
        }
        return MDialog::OnWindowMessage(msg, wParam, lParam);
    }
    ~GalleryDialog() override { delete m_menu; }

    MenuWnd* m_menu = nullptr;
    int m_progress = 0;
    bool m_message = true;
};

}  // namespace

int main(int argc, char** argv) {
    int quitAfter = 0;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--quit-after") == 0) {
            quitAfter = std::atoi(argv[++i]);
        }
    }
    Manager::InitGdiplus();
    gallery_resources_register_resource();
    Manager::SetInstance(gallery_resources_get_resource());
    GalleryDialog dialog;
    if (!dialog.Create(nullptr, L"Quorl gallery", WS_VISIBLE, 0, CRect(100, 100, 700, 400))) {
        std::fprintf(stderr, "quorl-gallery: the window could not be created\n");
        return 1;
    }
    dialog.CreateShadow(TRUE);
    if (!dialog.SetIcon(kProgramIcon)) {
        std::fprintf(stderr, "quorl-gallery: the program icon is missing\n");
    }
    if (quitAfter > 0) {
        dialog.SetTimer(kQuitTimer, static_cast<UINT>(quitAfter));
    }
    const CRect at = dialog.GetWindowRect();
    std::printf("gallery shown at %d,%d %dx%d\n", at.left, at.top, at.Width(), at.Height());
    std::fflush(stdout);
    Manager::MessageLoop();
    Manager::UnInitGdiplus();
    return 0;
}
