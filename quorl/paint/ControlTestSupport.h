#pragma once

#include <memory>
#include <vector>

#include "quorl/core/MControl.h"
#include "quorl/paint/PaintManager.h"
#include "quorl/platform/HeadlessPlatform.h"
#include "quorl/render/Canvas.h"

namespace Quorl::Testing {

// A control that records what reaches it and draws a solid block through its cache.
class ProbeControl : public MControl {
public:
    struct Event {
        const char* what;
        CPoint pt;
    };
    ProbeControl(MObject* parent, UINT id, CRect rect, ARGB colour = 0xFF3366CC)
        : MControl(parent, id, rect, TRUE, TRUE, TRUE), colour(colour) {}

    ARGB colour;
    int redraws = 0;
    int timerTicks = 0;
    BOOL handleMoves = 1;
    BOOL handleKeys = 0;
    BOOL handleScroll = 0;
    CPoint offset;  // content translation for children, like a scrolled container
    std::vector<Event> events;
    std::vector<std::pair<UINT, UINT>> scrolls;  // bar, direction

    void SetDblClkFlag(BOOL on) { m_dblClk = on; }
    void SetNotify(BOOL dbl, BOOL key) {
        m_notifyDblClk = dbl;
        m_notifyKey = key;
    }
    void SetHotKey(UINT key, UINT mod) {
        m_hotKey = key;
        m_hotKeyModifier = mod;
    }
    size_t Count(const char* what) const {
        size_t n = 0;
        for (const auto& e : events) {
            n += std::string_view(e.what) == what;
        }
        return n;
    }
    CPoint Last(const char* what) const {
        for (auto it = events.rbegin(); it != events.rend(); ++it) {
            if (std::string_view(it->what) == what) {
                return it->pt;
            }
        }
        return CPoint(-999, -999);
    }

    void DrawControl(Canvas& target, CRect) override {
        if (!GetUpdate()) {
            ++redraws;
            UpdateMemDC(target, m_rect.Width(), m_rect.Height());
            m_memBitmap.Clear(colour);
        }
        target.CopyBitmap(m_memBitmap, m_memBitmap.Bounds(), m_rect.left, m_rect.top);
    }
    BOOL OnMousePointChange(CPoint& pt) override {
        pt.Offset(offset);
        return offset.x != 0 || offset.y != 0;
    }
    BOOL OnControlMouseMove(UINT, CPoint pt) override {
        events.push_back({"move", pt});
        return handleMoves;
    }
    BOOL OnControlLButtonDown(UINT, CPoint pt) override {
        events.push_back({"down", pt});
        return 1;
    }
    BOOL OnControlLButtonUp(UINT, CPoint pt) override {
        events.push_back({"up", pt});
        return 1;
    }
    BOOL OnControlLButtonDblClk(UINT, CPoint pt) override {
        events.push_back({"dblclk", pt});
        return 1;
    }
    BOOL OnControlRButtonDown(UINT, CPoint pt) override {
        events.push_back({"rdown", pt});
        return 1;
    }
    BOOL OnControlScroll(int bar, UINT direction, CPoint) override {
        scrolls.emplace_back(bar, direction);
        return handleScroll;
    }
    BOOL OnControlKeyDown(UINT key, UINT repeat, UINT mod) override {
        events.push_back({"key", CPoint(static_cast<int>(key), static_cast<int>(mod))});
        return handleKeys || MControl::OnControlKeyDown(key, repeat, mod);
    }
    BOOL OnControlTimer() override {
        ++timerTicks;
        return 1;
    }
    LRESULT OnMessage(UINT id, UINT code, UINT wParam, LONG lParam) override {
        notes.push_back({id, code, wParam, lParam});
        return 1;
    }
    LONG OnBaseMessage(UINT id, UINT code, UINT wParam, LONG lParam) override {
        return static_cast<LONG>(OnMessage(id, code, wParam, lParam));
    }
    LONG OnControlUpdate(CRect rect, BOOL update, MControl* control) override {
        return m_parent ? m_parent->OnControlUpdate(rect, update, control) : 0;
    }
    struct Note {
        UINT id, code, wParam;
        LONG lParam;
    };
    std::vector<Note> notes;
};

// A headless window whose messages go to a paint manager, and whose MObject side is the
// parent of the top-level controls.
class HostWindow : public WindowProc, public MObject {
public:
    explicit HostWindow(CRect rect = CRect(100, 100, 500, 400), bool layered = false) {
        auto headless = std::make_unique<HeadlessPlatform>();
        platform = headless.get();
        Platform::Install(std::move(headless));
        WindowDesc desc;
        desc.rect = rect;
        desc.visible = true;
        desc.layered = layered;
        hwnd = platform->CreateWindow(desc, this);
        manager.Init(hwnd, nullptr);
        manager.SetLayeredWindow(layered);
        manager.SetPaintPause(0);
    }
    ~HostWindow() override {
        if (platform->IsWindow(hwnd)) {
            platform->DestroyWindow(hwnd);
        }
    }

    const wchar_t* GetClassNameW() override { return L"MDialog"; }
    LONG OnControlUpdate(CRect rect, BOOL update, MControl* control) override {
        return static_cast<LONG>(manager.OnControlUpdate(rect, update, control));
    }
    LONG OnBaseMessage(UINT id, UINT code, UINT wParam, LONG lParam) override {
        notes.push_back({id, code, wParam, lParam});
        return 0;
    }

    LRESULT HandleMessage(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (manager.OnWindowMessage(msg, wParam, lParam)) {
            return 0;
        }
        return Platform::Current().DefWindowProc(h, msg, wParam, lParam);
    }

    ProbeControl* Add(UINT id, CRect rect, ARGB colour = 0xFF3366CC) {
        return static_cast<ProbeControl*>(
            manager.AddControl(new ProbeControl(this, id, rect, colour)));
    }
    static ProbeControl* AddChild(MControl* parent, UINT id, CRect rect) {
        return static_cast<ProbeControl*>(parent->AddControl(new ProbeControl(parent, id, rect)));
    }

    void Drain() {
        MSG msg;
        while (platform->PeekMessage(msg, true)) {
            if (msg.message != WM_QUIT && !manager.PreTranslateMessage(&msg)) {
                platform->DispatchMessage(msg);
            }
        }
    }

    struct Note {
        UINT id, code, wParam;
        LONG lParam;
    };
    std::vector<Note> notes;
    HeadlessPlatform* platform = nullptr;
    HWND hwnd = nullptr;
    PaintManager manager;
};

}  // namespace Quorl::Testing
