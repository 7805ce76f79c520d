#include "app/lang/MacroNames.h"

#include <array>

#include "app/lang/LangText.h"
#include "app/lang/LanguageId.h"
#include "app/lang/TextIds.h"

namespace {

// The compiled default words.
constexpr const wchar_t* kCustomEnglish = L"Custom";
constexpr const wchar_t* kCustomSimplified = L"\u81EA\u5B9A\u4E49";      // 自定义
constexpr const wchar_t* kCustomTraditional = L"\u81EA\u5B9A\u7FA9";     // 自定義
constexpr const wchar_t* kCustomJapanese = L"\u30AB\u30B9\u30BF\u30E0";  // カスタム
constexpr const wchar_t* kCustomRussian =
    L"\u041F\u043E\u043B\u044C\u0437\u043E\u0432\u0430\u0442\u0435\u043B\u044C\u0441\u043A\u0438"
    L"\u0439";  // Пользовательский
constexpr const wchar_t* kCustomRussianShort =
    L"\u041F\u043E\u043B\u044C\u0437\u043E\u0432\u0430\u0442";  // Пользоват

constexpr const wchar_t* kCopyEnglish = L"Copy";
constexpr const wchar_t* kCopySimplified = L"\u590D\u5236";   // 复制
constexpr const wchar_t* kCopyTraditional = L"\u8907\u88FD";  // 複製
constexpr const wchar_t* kCopyRussian =
    L"\u041A\u043E\u043F\u0438\u0440\u043E\u0432\u0430\u0442\u044C";  // Копировать

struct MacroNameRule {
    int languageId;
    // Tested in order, first match wins; null ends the list. The full Russian word comes
    // before its short form, so that "Пользовательский 2" does not keep "ельский".
    std::array<const wchar_t*, 5> customPrefixes;
    std::array<const wchar_t*, 3> copyWords;
    const wchar_t* ownCopyWord;
};

const MacroNameRule kRules[] = {
    {2052,
     {kCustomEnglish, kCustomTraditional, kCustomJapanese, kCustomRussian, kCustomRussianShort},
     {kCopyEnglish, kCopyTraditional, kCopyRussian},
     kCopySimplified},
    {1033,
     {kCustomSimplified, kCustomTraditional, kCustomJapanese, kCustomRussian, kCustomRussianShort},
     {kCopySimplified, kCopyTraditional, kCopyRussian},
     kCopyEnglish},
    {1028,
     {kCustomSimplified, kCustomEnglish, kCustomJapanese, kCustomRussian, kCustomRussianShort},
     {kCopySimplified, kCopyEnglish, kCopyRussian},
     kCopyTraditional},
    {1041,
     {kCustomSimplified, kCustomEnglish, kCustomTraditional, kCustomRussian, kCustomRussianShort},
     {kCopySimplified, kCopyEnglish, kCopyRussian},
     kCopyTraditional},
    {1049,
     {kCustomSimplified, kCustomEnglish, kCustomTraditional, kCustomJapanese, nullptr},
     {kCopySimplified, kCopyEnglish, nullptr},
     kCopyRussian},
};

const MacroNameRule kListRules[] = {
    {1033, {kCustomRussian, nullptr}, {kCopyRussian, nullptr}, kCopyEnglish},
    {1049, {kCustomEnglish, nullptr}, {kCopyEnglish, nullptr}, kCopyRussian},
};

std::wstring Apply(const MacroNameRule& rule, std::wstring_view name,
                   std::wstring_view customWord) {
    std::wstring text(name);
    for (const wchar_t* prefix : rule.customPrefixes) {
        if (prefix != nullptr && text.starts_with(prefix)) {
            text = std::wstring(customWord) + text.substr(std::wstring_view(prefix).size());
            break;
        }
    }
    for (const wchar_t* word : rule.copyWords) {
        if (word != nullptr && text.ends_with(word)) {
            // Everything before the word stays, its blank included: "M Copy" -> "M  Копировать".
            // Only the word at the end is replaced, so a name that holds the word earlier as
            // well keeps that part.
            text.resize(text.size() - std::wstring_view(word).size());
            text += L' ';
            text += rule.ownCopyWord;
            break;
        }
    }
    return text;
}

template <size_t N>
std::wstring Localise(const MacroNameRule (&rules)[N], std::wstring_view name, int languageId,
                      std::wstring_view customWord) {
    for (const MacroNameRule& rule : rules) {
        if (rule.languageId == languageId) {
            return Apply(rule, name, customWord);
        }
    }
    return std::wstring(name);
}

}  // namespace

std::wstring LocaliseMacroName(std::wstring_view name, int languageId,
                               std::wstring_view customWord) {
    return Localise(kRules, name, languageId, customWord);
}

std::wstring LocaliseMacroListName(std::wstring_view name, int languageId,
                                   std::wstring_view customWord) {
    return Localise(kListRules, name, languageId, customWord);
}

std::wstring LocaliseMacroName(std::wstring_view name) {
    const int languageId = CurrentLanguageId();
    return LocaliseMacroName(name, languageId,
                             GetLangText(L"LAN", TextId::kCustomName, languageId));
}

std::wstring LocaliseMacroListName(std::wstring_view name) {
    const int languageId = CurrentLanguageId();
    return LocaliseMacroListName(name, languageId,
                                 GetLangText(L"LAN", TextId::kCustomName, languageId));
}
