#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "quorl/platform/HeadlessPlatform.h"
#include "quorl/render/Bitmap.h"
#include "quorl/render/Manager.h"
#include "tests/support/TempFolder.h"

namespace Quorl::Testing {

// A program folder whose skin holds images made by the test, on the headless back end.
class SkinTest : public ::testing::Test {
protected:
    void SetUp() override {
        skins = folder / "skins/theme1";
        std::filesystem::create_directories(skins);
        Manager::SetProgramFolder(CString::FromUtf8(folder.Path()));
        auto headless = std::make_unique<HeadlessPlatform>();
        platform = headless.get();
        Platform::Install(std::move(headless));
    }
    void TearDown() override {
        Platform::Install(nullptr);
        Manager::SetProgramFolder(L"");
    }
    void WriteImage(const std::string& name, const Bitmap& image) {
        const std::filesystem::path path = skins + "/" + name;
        std::filesystem::create_directories(path.parent_path());
        ASSERT_TRUE(image.SavePng(CString::FromUtf8(path.string())));
    }
    void WriteSolid(const std::string& name, int w, int h, ARGB colour) {
        Bitmap b(w, h);
        b.Clear(colour);
        WriteImage(name, b);
    }
    void Drain() {
        MSG msg;
        while (platform->PeekMessage(msg, true)) {
            if (msg.message != WM_QUIT) {
                platform->DispatchMessage(msg);
            }
        }
    }

    TempFolder folder;
    std::string skins;
    HeadlessPlatform* platform = nullptr;
};

}  // namespace Quorl::Testing
