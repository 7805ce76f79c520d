// What one paint of a dialog costs: the whole 1221 x 780 client with 100 cached controls, and
// the repaint that follows when one control changes (only it and what lies above it redraw).
#include <benchmark/benchmark.h>

#include <memory>

#include "quorl/core/MControl.h"
#include "quorl/paint/PaintManager.h"
#include "quorl/platform/HeadlessPlatform.h"
#include "quorl/render/Canvas.h"

namespace {

using namespace Quorl;

constexpr int kWidth = 1221;
constexpr int kHeight = 780;

// A control that draws a gradient with text into its cache, as skinned buttons do.
class BenchControl : public MControl {
public:
    BenchControl(MObject* parent, UINT id, CRect rect)
        : MControl(parent, id, rect, TRUE, TRUE, TRUE) {}
    void DrawControl(Canvas& target, CRect) override {
        if (!GetUpdate()) {
            UpdateMemDC(target, m_rect.Width(), m_rect.Height());
            if (Bitmap* below = target.GetBitmap()) {
                m_memBitmap.CopyFrom(*below, m_rect, 0, 0);
            }
            Canvas c(m_memBitmap);
            c.FillGradient(m_memBitmap.Bounds(), Color(0xC02A3440), Color(0xC03E556D), true);
            c.DrawText(L"Button", m_memBitmap.Bounds(), Font(L"Open Sans", 13), Color(0xFFB8D3EF),
                       DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        }
        target.CopyBitmap(m_memBitmap, m_memBitmap.Bounds(), m_rect.left, m_rect.top);
    }
};

class Host : public WindowProc, public MObject {
public:
    Host() {
        auto headless = std::make_unique<HeadlessPlatform>();
        Platform::Install(std::move(headless));
        WindowDesc desc;
        desc.rect = CRect(0, 0, kWidth, kHeight);
        desc.visible = true;
        hwnd = Platform::Current().CreateWindow(desc, this);
        manager.Init(hwnd, nullptr);
        manager.SetPaintPause(0);
        for (int i = 0; i < 100; ++i) {
            const int x = (i % 10) * 120 + 4, y = (i / 10) * 76 + 4;
            manager.AddControl(new BenchControl(this, 100 + i, CRect(x, y, x + 110, y + 60)));
        }
    }
    ~Host() override { Platform::Current().DestroyWindow(hwnd); }
    LONG OnControlUpdate(CRect rect, BOOL update, MControl* control) override {
        return static_cast<LONG>(manager.OnControlUpdate(rect, update, control));
    }
    LRESULT HandleMessage(HWND h, UINT msg, WPARAM wp, LPARAM lp) override {
        if (manager.OnWindowMessage(msg, wp, lp)) {
            return 0;
        }
        return Platform::Current().DefWindowProc(h, msg, wp, lp);
    }
    HWND hwnd = nullptr;
    PaintManager manager;
};

void Paint(Host& host, const CRect& update) {
    Bitmap window(kWidth, kHeight);
    Canvas target(window);
    PaintContext context{update, &target};
    host.manager.OnPaint(&context);
}

void BM_FullPaintOf100Controls(benchmark::State& state) {
    Host host;
    const CRect client(0, 0, kWidth, kHeight);
    for (auto _ : state) {
        host.manager.OnControlUpdate(client, TRUE, host.manager.GetControls().front());
        for (MControl* c : host.manager.GetControls()) {
            c->SetUpdate(FALSE, 0);
        }
        Paint(host, client);
    }
}
BENCHMARK(BM_FullPaintOf100Controls)->Unit(benchmark::kMillisecond);

void BM_RepaintAfterOneControlChanged(benchmark::State& state) {
    Host host;
    Paint(host, CRect(0, 0, kWidth, kHeight));
    MControl* changed = host.manager.GetControls()[55];
    for (auto _ : state) {
        changed->UpdateControl(TRUE);
        Paint(host, changed->GetRect());
    }
}
BENCHMARK(BM_RepaintAfterOneControlChanged)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
