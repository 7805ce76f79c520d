// quorl-gallery: one dialog showing what the toolkit can do. Click the buttons to open the menu,
// the bubble (each click the next placement), the progress message, a modal child dialog or
// the splash window. The dialog's shadow is the skin's shadow image, the child's is blurred.
//   quorl-gallery [--quit-after MS] [--open menu|bubble|splash]
// --open clicks that button at the start, so a screen grab shows what it opens. The gallery
// prints where its dialog lies on the screen, for screenshots taken from the display.
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <memory>
#include <string>

#include "quorl/core/MControlFont.h"
#include "quorl/platform/MessageLoop.h"
#include "quorl/render/Canvas.h"
#include "quorl/render/Manager.h"
#include "quorl/window/LoadingWnd.h"
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
constexpr UINT kOpenTimer = 2;

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
        CreateShadow(TRUE);
        SetSize(6);
        SetSharpness(10);
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
        const wchar_t* titles[] = {L"Menu",    L"Bubble",       L"Progress",
                                   L"Message", L"Modal dialog", L"Splash"};
        for (UINT i = 0; i < 6; ++i) {
            auto* b = new GalleryButton(
                this, 10 + i, CRect(30, 30 + 42 * int(i), 210, 60 + 42 * int(i)), titles[i]);
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
                menu->Create(m_hwnd, CPoint(pt), kMenuMessage, L"img_menu_bkg.png", 0, 6,
                             BACK_MODE_FRAME);
                menu->SetHoverImage(L"img_menu_hover.png", 6);
                menu->AddMenu(L"First item", 501, CString(), 0, 0);
                menu->AddSeparator(502, L"img_menu_separator.png");
                menu->AddMenu(L"Second item", 503, CString(), 0, 0);
                menu->ShowWindow(SW_SHOW);
                m_menu = menu;
                break;
            }
            case 11:
                ShowNextBubble(c);
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
                // Created shown, so that its shadow shows with it.
                child.Create(m_hwnd, L"Child", WS_POPUP | WS_VISIBLE, 0, CRect(0, 0, 300, 120));
                child.CenterWindow(this);
                const UINT result = child.ShowModal();
                SetMessage(result == IDOK ? L"The dialog said OK" : L"The dialog was cancelled",
                           CRect(260, 30, 560, 110), 16);
                m_message = true;
                break;
            }
            case 15:
                ShowSplash();
                break;
            default:
                break;
        }
        return 1;
    }
    // Types 1 to 5 in turn, each anchored where its arrow points.
    void ShowNextBubble(MControl* button) {
        m_bubbleType = m_bubbleType % 5 + 1;
        const CRect r = button->GetRect();
        const int middle = (r.top + r.bottom) / 2;
        const POINT anchors[] = {{r.left + 20, r.bottom},
                                 {r.left, middle},
                                 {(r.left + r.right) / 2, r.bottom},
                                 {(r.left + r.right) / 2, r.top},
                                 {r.right, middle}};
        POINT pt = anchors[m_bubbleType - 1];
        ClientToScreen(pt);
        const std::wstring text = L"Bubble type " + std::to_wstring(m_bubbleType);
        m_manager.SetAirBladderMsg(text.c_str(), pt, static_cast<AIRBLADDER_TYPE>(m_bubbleType),
                                   static_cast<AIRBLADDER_MODE>(3));
        m_manager.ShowAirBladder(SW_SHOWNA, 0);
    }
    void ShowSplash() {
        if (m_splash && m_splash->IsWindow()) {
            m_splash->BringToTop();
            return;
        }
        m_splash = std::make_unique<LoadingWnd>();
        CRect r = GetWindowRect();
        const CPoint centre = r.CenterPoint();
        m_splash->CreateDlg(m_hwnd,
                            CRect(centre.x - 200, centre.y - 130, centre.x + 200, centre.y + 130));
        m_splash->SetText(L"Close me with the button at the top right");
    }
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == kMenuMessage) {
            std::printf("menu item %ld\n", static_cast<long>(lParam));
            std::fflush(stdout);
            return 1;
        }
        if (msg == WM_TIMER && wParam == kOpenTimer) {
            KillTimer(kOpenTimer);
            OnMessage(m_openOnStart, NOTIFY_CLICKED, 0, 0);
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
    std::unique_ptr<LoadingWnd> m_splash;
    int m_bubbleType = 0;
    UINT m_openOnStart = 0;
    int m_progress = 0;
    bool m_message = true;
};

}  // namespace

int main(int argc, char** argv) {
    int quitAfter = 0;
    const char* open = nullptr;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--quit-after") == 0) {
            quitAfter = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--open") == 0) {
            open = argv[++i];
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
    dialog.SetShadowImage(L"img_shadow.png", CRect(24, 24, 24, 24));
    if (!dialog.SetIcon(kProgramIcon)) {
        std::fprintf(stderr, "quorl-gallery: the program icon is missing\n");
    }
    if (quitAfter > 0) {
        dialog.SetTimer(kQuitTimer, static_cast<UINT>(quitAfter));
    }
    if (open) {
        const struct {
            const char* name;
            UINT id;
        } buttons[] = {{"menu", 10}, {"bubble", 11}, {"splash", 15}};
        for (const auto& b : buttons) {
            if (std::strcmp(open, b.name) == 0) {
                // Once the loop runs, as if the user had clicked.
                dialog.m_openOnStart = b.id;
                dialog.SetTimer(kOpenTimer, 500);
            }
        }
    }
    const CRect at = dialog.GetWindowRect();
    std::printf("gallery shown at %d,%d %dx%d\n", at.left, at.top, at.Width(), at.Height());
    std::fflush(stdout);
    Manager::MessageLoop();
    Manager::UnInitGdiplus();
    return 0;
}
