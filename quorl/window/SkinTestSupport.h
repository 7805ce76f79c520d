#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "quorl/platform/PlatformTestFixture.h"
#include "quorl/render/Bitmap.h"
#include "quorl/render/Manager.h"
#include "tests/support/TempFolder.h"

namespace Quorl::Testing {

// A program folder whose skin holds images made by the test, on the headless back end.
class SkinTest : public HeadlessFixture {
protected:
    void SetUp() override {
        skins = folder / "skins/theme1";
        std::filesystem::create_directories(skins);
        Manager::SetProgramFolder(CString::FromUtf8(folder.Path()));
        HeadlessFixture::SetUp();
    }
    void TearDown() override {
        HeadlessFixture::TearDown();
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
    TempFolder folder;
    std::string skins;
};

}  // namespace Quorl::Testing
