#include <cwchar>
#include <string>

#include "app/store/DeviceDataDB.h"

namespace {

struct ProfileWordRule {
    int languageId;
    const wchar_t* prefixes[4];
    const wchar_t* word;
};

// Default profile names are stored in the language they were created in; each language shows
// a name that begins with another language's profile word in its own.
const ProfileWordRule kRules[] = {
    {1028, {L"Profile", L"\u914D\u7F6E", L"\u30DC\u30BF\u30F3", nullptr}, L"\u914D\u5BD8"},
    {1033,
     {L"\u914D\u7F6E", L"\u914D\u5BD8", L"\u30DC\u30BF\u30F3",
      L"\u041F\u0440\u043E\u0444\u0438\u043B\u044C"},
     L"Profile"},
    {1041, {L"Profile", L"\u914D\u7F6E", L"\u914D\u5BD8", nullptr}, L"\u30DC\u30BF\u30F3"},
    {1049,
     {L"Profile", L"\u914D\u7F6E", L"\u914D\u5BD8", L"\u30DC\u30BF\u30F3"},
     L"\u041F\u0440\u043E\u0444\u0438\u043B\u044C"},
    {2052, {L"Profile", L"\u914D\u5BD8", L"\u30DC\u30BF\u30F3", nullptr}, L"\u914D\u7F6E"},
};

}  // namespace

std::wstring LocaliseProfileName(std::wstring_view stored, int languageId) {
    for (const ProfileWordRule& rule : kRules) {
        if (rule.languageId != languageId) {
            continue;
        }
        for (const wchar_t* prefix : rule.prefixes) {
            if (prefix != nullptr && stored.starts_with(prefix)) {
                // The rest keeps the blank that followed the word: "Profile 3" -> word + "  3".
                std::wstring shown = rule.word;
                shown.push_back(L' ');
                shown.append(stored.substr(std::wcslen(prefix)));
                return shown;
            }
        }
    }
    return std::wstring(stored);
}
