// The device worker looks texts up while the UI thread switches the language.
#include <gtest/gtest.h>

#include <thread>

#include "app/lang/LangText.h"
#include "app/lang/LanguageId.h"
#include "quorl/core/Utf8.h"
#include "tests/support/TempFolder.h"

namespace {

TEST(LangTextThreads, LookupsDuringALanguageSwitchSeeOneFileOrTheOther) {
    TempFolder folder;
    ScopedEnv config("XDG_CONFIG_HOME", folder / "config");
    WriteFileText(folder / "language/1033.lan", "[LAN]\n52=Receiver\n53=Asleep\n");
    WriteFileText(folder / "language/1049.lan", "[LAN]\n52=Priyomnik\n53=Son\n");
    SetLanguageFolder(Quorl::Utf8ToWide(folder / "language"));

    std::thread worker([] {
        for (int i = 0; i < 400; ++i) {
            const std::wstring text = GetLangText(L"LAN", 52 + i % 2);
            EXPECT_TRUE(text == L"Receiver" || text == L"Asleep" || text == L"Priyomnik" ||
                        text == L"Son")
                << Quorl::WideToUtf8(text);
        }
    });
    for (int i = 0; i < 200; ++i) {
        SetLanguage(i % 2 == 0 ? kLanguageRussian : kLanguageEnglish);
        if (i % 50 == 0) {
            ForgetLanguageTexts();
        }
    }
    worker.join();
    EXPECT_EQ(GetLangText(L"LAN", 52), L"Receiver");
    SetLanguageFolder({});
}

}  // namespace
