#include "app/lang/MacroNames.h"

#include <gtest/gtest.h>

#include "app/lang/LangText.h"
#include "app/lang/LanguageId.h"
#include "quorl/core/Utf8.h"
#include "tests/support/TempFolder.h"

namespace {

// Text 351 of each language as the shipped files have it.
const std::wstring kCustom = L"Custom";
const std::wstring kRussianCustom =
    L"\u041F\u043E\u043B\u044C\u0437\u043E\u0432\u0430\u0442\u0435\u043B\u044C\u0441\u043A\u0438"
    L"\u0439";  // Пользовательский
const std::wstring kRussianCopy =
    L"\u041A\u043E\u043F\u0438\u0440\u043E\u0432\u0430\u0442\u044C";  // Копировать
const std::wstring kMacro = L"\u041C\u0430\u043A\u0440\u043E\u0441";  // Макрос

struct Case {
    std::wstring name;
    int language;
    std::wstring customWord;
    std::wstring shown;      // LocaliseMacroName
    std::wstring listShown;  // LocaliseMacroListName
};

std::string Describe(const Case& c) {
    return Quorl::WideToUtf8(c.name) + " in " + std::to_string(c.language);
}

TEST(MacroNames, EachLanguageShowsTheOthersDefaultWordsInItsOwn) {
    const std::wstring ru = kRussianCustom;
    const Case cases[] = {
        // The macro list in Russian shows an English default name with the Russian word.
        {L"Custom 3", kLanguageRussian, ru, ru + L" 3", ru + L" 3"},
        // The text before the copy word keeps its blank.
        {kMacro + L" " + kRussianCopy, kLanguageEnglish, kCustom, kMacro + L"  Copy",
         kMacro + L"  Copy"},
        {L"Custom 1 Copy", kLanguageRussian, ru, ru + L" 1  " + kRussianCopy,
         ru + L" 1  " + kRussianCopy},
        // A language's own words are left alone.
        {L"Custom 1", kLanguageEnglish, kCustom, L"Custom 1", L"Custom 1"},
        {L"Custom 1 Copy", kLanguageEnglish, kCustom, L"Custom 1 Copy", L"Custom 1 Copy"},
        {ru + L" 2 " + kRussianCopy, kLanguageRussian, ru, ru + L" 2 " + kRussianCopy,
         ru + L" 2 " + kRussianCopy},
        // The Russian default word as a whole, not only its first nine letters.
        {ru + L" 2", kLanguageEnglish, kCustom, L"Custom 2", L"Custom 2"},
        {ru + L" 2 " + kRussianCopy, kLanguageEnglish, kCustom, L"Custom 2  Copy",
         L"Custom 2  Copy"},
        {L"\u041F\u043E\u043B\u044C\u0437\u043E\u0432\u0430\u0442 4", kLanguageEnglish, kCustom,
         L"Custom 4", L"\u041F\u043E\u043B\u044C\u0437\u043E\u0432\u0430\u0442 4"},
        // Chinese and Japanese words: only the wider rule knows them.
        {L"\u81EA\u5B9A\u4E49 5", kLanguageEnglish, kCustom, L"Custom 5", L"\u81EA\u5B9A\u4E49 5"},
        {L"\u30AB\u30B9\u30BF\u30E0 6 \u590D\u5236", kLanguageRussian, ru,
         ru + L" 6  " + kRussianCopy, L"\u30AB\u30B9\u30BF\u30E0 6 \u590D\u5236"},
        {L"Custom 7 \u8907\u88FD", 2052, L"\u81EA\u5B9A\u4E49",
         L"\u81EA\u5B9A\u4E49 7  \u590D\u5236", L"Custom 7 \u8907\u88FD"},
        {L"Custom 8 Copy", 1041, L"\u30AB\u30B9\u30BF\u30E0",
         L"\u30AB\u30B9\u30BF\u30E0 8  \u8907\u88FD", L"Custom 8 Copy"},
        {L"\u81EA\u5B9A\u7FA9 9", 1028, L"\u81EA\u5B9A\u7FA9", L"\u81EA\u5B9A\u7FA9 9",
         L"\u81EA\u5B9A\u7FA9 9"},
        // Only the word at the end is replaced; a name holding it earlier keeps that part.
        {L"Copy of mine Copy", kLanguageRussian, ru, L"Copy of mine  " + kRussianCopy,
         L"Copy of mine  " + kRussianCopy},
        // Case matters, the word must be at the very start or end, other languages change nothing.
        {L"custom 1 copy", kLanguageRussian, ru, L"custom 1 copy", L"custom 1 copy"},
        {L"My Custom Copy ", kLanguageRussian, ru, L"My Custom Copy ", L"My Custom Copy "},
        {L"Custom 1 Copy", 1031, kCustom, L"Custom 1 Copy", L"Custom 1 Copy"},
        {L"", kLanguageRussian, ru, L"", L""},
        {L"Copy", kLanguageRussian, ru, L" " + kRussianCopy, L" " + kRussianCopy},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LocaliseMacroName(c.name, c.language, c.customWord), c.shown) << Describe(c);
        EXPECT_EQ(LocaliseMacroListName(c.name, c.language, c.customWord), c.listShown)
            << Describe(c);
    }
}

TEST(MacroNames, TheCurrentLanguageSuppliesText351) {
    TempFolder folder;
    WriteFileText(folder / "1049.lan", "[LAN]\n351=" + Quorl::WideToUtf8(kRussianCustom) + "\n");
    SetLanguageFolder(Quorl::Utf8ToWide(folder.Path()));
    SetCurrentLanguageId(kLanguageRussian);
    EXPECT_EQ(LocaliseMacroName(L"Custom 3"), kRussianCustom + L" 3");
    EXPECT_EQ(LocaliseMacroListName(L"Custom 3 Copy"), kRussianCustom + L" 3  " + kRussianCopy);
    SetCurrentLanguageId(kLanguageEnglish);  // no file: the word is empty
    EXPECT_EQ(LocaliseMacroName(kRussianCustom + L" 3"), L" 3");
    SetLanguageFolder({});
}

}  // namespace
