#include <gtest/gtest.h>

#include <filesystem>
#include <thread>
#include <vector>

#include "quorl/render/Manager.h"
#include "quorl/render/WindowResources.h"
#include "tests/support/TempFolder.h"

namespace Quorl {
namespace {

// The animation timer thread and the UI thread ask one window's cache for the same images.
TEST(WindowResourcesThreads, ConcurrentRequestsShareOneEntryPerImage) {
    TempFolder folder;
    const std::string skins = folder / "skins/theme1";
    std::filesystem::create_directories(skins);
    for (int i = 0; i < 4; ++i) {
        Bitmap b(120, 10);  // divisible by every state count the threads ask for
        b.Clear(0xFF000000u | static_cast<ARGB>(i * 40));
        ASSERT_TRUE(b.SavePng(CString::FromUtf8(skins + "/img_" + std::to_string(i) + ".png")));
    }
    Manager::SetProgramFolder(CString::FromUtf8(folder.Path()));

    WindowResources cache;
    constexpr int kThreads = 4;
    std::vector<std::vector<ImgResInfo*>> seen(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < 20; ++round) {
                const std::wstring name = L"img_" + std::to_wstring((round + t) % 4) + L".png";
                seen[t].push_back(cache.AddImgResInfo(name.c_str(), t + 1));
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    Manager::SetProgramFolder(L"");

    EXPECT_EQ(cache.GetImgResInfoCount(), 4);
    for (int i = 0; i < 4; ++i) {
        const std::wstring name = L"img_" + std::to_wstring(i) + L".png";
        ImgResInfo* entry = cache.AddImgResInfo(name.c_str(), 1);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->frameWidth * entry->stateCount, 120);
        for (int t = 0; t < kThreads; ++t) {
            for (int round = 0; round < 20; ++round) {
                if ((round + t) % 4 == i) {
                    EXPECT_EQ(seen[t][round], entry);
                }
            }
        }
    }
}

}  // namespace
}  // namespace Quorl
