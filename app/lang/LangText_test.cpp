#include "app/lang/LangText.h"

#include <gtest/gtest.h>

#include "app/lang/LanguageId.h"
#include "app/settings/Settings.h"
#include "quorl/core/Utf8.h"
#include "tests/support/TempFolder.h"

namespace {

class LangTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFileText(folder_ / "language/1033.lan",
                      "\xEF\xBB\xBF; texts\r\n[LAN]\r\n61=Profile\r\n351=Custom\r\n545=\" min\"\r\n"
                      "600=" +
                          std::string(300, 'x') + "\r\n");
        WriteFileText(folder_ / "language/1049.lan",
                      "[LAN]\n61=\xD0\x9F\xD1\x80\xD0\xBE\xD1\x84\xD0\xB8\xD0\xBB\xD1\x8C\n");
        SetLanguageFolder(Quorl::Utf8ToWide(folder_ / "language"));
        SetCurrentLanguageId(kLanguageEnglish);
    }
    void TearDown() override {
        SetLanguageChangedHandler({});
        SetLanguageFolder({});
        SetCurrentLanguageId(kLanguageEnglish);
    }
    TempFolder folder_;
};

TEST_F(LangTextTest, LooksUpTheCurrentLanguagesFile) {
    EXPECT_EQ(GetLangText(L"LAN", 61), L"Profile");
    EXPECT_EQ(GetLangText(L"lan", 351), L"Custom") << "sections compare without case";
    EXPECT_EQ(GetLangText(L"LAN", 545), L" min") << "quotes keep a leading blank";
    EXPECT_EQ(GetLangText(L"LAN", 600), std::wstring(259, L'x'));
    EXPECT_EQ(GetLangText(L"LAN", 9999), L"");
    EXPECT_EQ(GetLangText(L"Other", 61), L"");

    SetCurrentLanguageId(kLanguageRussian);
    EXPECT_EQ(GetLangText(L"LAN", 61), L"\u041F\u0440\u043E\u0444\u0438\u043B\u044C");
    EXPECT_EQ(GetLangText(L"LAN", 351), L"") << "no fallback to another language";
    EXPECT_EQ(GetLangText(L"LAN", 61, kLanguageEnglish), L"Profile");

    SetCurrentLanguageId(1041);
    EXPECT_EQ(GetLangText(L"LAN", 61), L"") << "no file for this language";
}

TEST_F(LangTextTest, ParsesEachFileOnceUntilForgotten) {
    EXPECT_EQ(GetLangText(L"LAN", 61), L"Profile");
    WriteFileText(folder_ / "language/1033.lan", "[LAN]\n61=Changed\n");
    EXPECT_EQ(GetLangText(L"LAN", 61), L"Profile");
    ForgetLanguageTexts();
    EXPECT_EQ(GetLangText(L"LAN", 61), L"Changed");
}

TEST_F(LangTextTest, AFileThatAppearsLaterIsRead) {
    SetCurrentLanguageId(1041);
    EXPECT_EQ(GetLangText(L"LAN", 61), L"");
    WriteFileText(folder_ / "language/1041.lan", "[LAN]\n61=Later\n");
    EXPECT_EQ(GetLangText(L"LAN", 61), L"Later");
}

TEST_F(LangTextTest, SetLanguageSwitchesSavesAndTellsTheWindow) {
    ScopedEnv config("XDG_CONFIG_HOME", folder_ / "config");
    ASSERT_EQ(ReadLanguageCode(), 0);  // creates the settings file

    std::vector<std::wstring> seen;
    SetLanguageChangedHandler([&](int languageId) {
        seen.push_back(std::to_wstring(languageId) + L":" + GetLangText(L"LAN", 61));
    });
    SetLanguage(kLanguageRussian);
    EXPECT_EQ(CurrentLanguageId(), kLanguageRussian);
    EXPECT_EQ(ReadLanguageCode(), kLanguageRussian);
    SetLanguage(kLanguageEnglish);
    EXPECT_EQ(ReadLanguageCode(), kLanguageEnglish);
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"1049:\u041F\u0440\u043E\u0444\u0438\u043B\u044C",
                                               L"1033:Profile"}));

    SetLanguageChangedHandler({});
    SetLanguage(kLanguageRussian);
    EXPECT_EQ(seen.size(), 2u);
    EXPECT_EQ(CurrentLanguageId(), kLanguageRussian);
}

}  // namespace
