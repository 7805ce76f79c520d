// The two costs of drawing a skinned window: composing a full 1221 x 780 frame of the main
// window from cached control bitmaps and text, and loading the skin images a window asks for.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "quorl/render/Canvas.h"
#include "quorl/render/MRender.h"
#include "quorl/render/Manager.h"
#include "quorl/render/WindowResources.h"

namespace {

using namespace Quorl;

constexpr int kWidth = 1221;
constexpr int kHeight = 780;

// Control caches as the paint manager keeps them: buttons, edits and panels of mixed sizes,
// half of them with soft (non-opaque) edges.
std::vector<Bitmap> MakeControlCaches() {
    std::vector<Bitmap> caches;
    for (int i = 0; i < 60; ++i) {
        const int w = 60 + (i * 37) % 180, h = 24 + (i * 13) % 60;
        Bitmap b(w, h);
        Canvas c(b);
        c.FillGradient(b.Bounds(), Color(0xFF2A3440), Color(0xFF3E556D), true);
        if (i % 2) {
            c.ClearRect(CRect(0, 0, w, 2), Color(0x80FFFFFF));
        }
        caches.push_back(std::move(b));
    }
    return caches;
}

void BM_ComposeMainWindowFrame(benchmark::State& state) {
    const std::vector<Bitmap> caches = MakeControlCaches();
    Bitmap frame(kWidth, kHeight);
    const Font font(L"Open Sans", 14);
    const Font title(L"Open Sans", 18, FontStyleBold);
    for (auto _ : state) {
        Canvas c(frame);
        c.FillSolidRect(frame.Bounds(), RGB(0x1B, 0x20, 0x26));
        for (size_t i = 0; i < caches.size(); ++i) {
            const int x = static_cast<int>(20 + (i % 6) * 200),
                      y = static_cast<int>(60 + (i / 6) * 70);
            c.DrawImage(caches[i], x, y);
        }
        for (int i = 0; i < 40; ++i) {
            const CRect box(20 + (i % 5) * 240, 40 + (i / 5) * 90, 220 + (i % 5) * 240,
                            70 + (i / 5) * 90);
            c.DrawText(i % 8 ? L"DPI level 3: 1600" : L"Button assignment", box,
                       i % 8 ? font : title, Color(0xFFE6E6E6),
                       DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
        }
        benchmark::DoNotOptimize(frame.Bits());
    }
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ComposeMainWindowFrame)->Unit(benchmark::kMillisecond);

struct SkinFolder {
    SkinFolder() {
        char pattern[] = "/tmp/quorl-bench-XXXXXX";
        folder = mkdtemp(pattern);
        const std::string skins = folder + "/skins/theme1";
        std::filesystem::create_directories(skins);
        for (int i = 0; i < 50; ++i) {
            // Four-state strips the size of the program's buttons.
            Bitmap b(4 * (40 + i % 5 * 30), 30 + i % 4 * 10);
            Canvas c(b);
            c.FillGradient(b.Bounds(), Color(0xFF405060), Color(0xC0A0B0C0), false);
            b.SavePng(CString::FromUtf8(skins + "/img_" + std::to_string(i) + ".png"));
        }
        Manager::SetProgramFolder(CString::FromUtf8(folder));
    }
    ~SkinFolder() {
        Manager::SetProgramFolder(L"");
        std::filesystem::remove_all(folder);
    }
    std::string folder;
};

void BM_DecodeAndCacheSkinImages(benchmark::State& state) {
    SkinFolder skins;
    for (auto _ : state) {
        WindowResources cache;
        for (int i = 0; i < 50; ++i) {
            const std::wstring name = L"img_" + std::to_wstring(i) + L".png";
            benchmark::DoNotOptimize(cache.AddImgResInfo(name.c_str(), 4));
        }
    }
    state.counters["images/s"] = benchmark::Counter(static_cast<double>(state.iterations()) * 50,
                                                    benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DecodeAndCacheSkinImages)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
