#include "app/startup/Startup.h"

#include <cstdlib>
#include <cstring>

#include "app/lang/LanguageId.h"
#include "app/settings/Settings.h"
#include "app/startup/Paths.h"

namespace {

struct LocaleLanguage {
    const char* prefix;  // language, or language_territory
    int languageId;
};

// Territory-specific entries first.
const LocaleLanguage kLocaleLanguages[] = {
    {"zh_TW", 1028}, {"zh_HK", 3076}, {"zh", 2052}, {"ru", 1049}, {"en", 1033}, {"ja", 1041},
    {"de", 1031},    {"fr", 1036},    {"es", 3082}, {"it", 1040}, {"ko", 1042}, {"uk", 1058},
};

int LanguageOfLocale(std::string_view locale) {
    for (const LocaleLanguage& entry : kLocaleLanguages) {
        const std::string_view prefix = entry.prefix;
        if (locale.starts_with(prefix) &&
            (locale.size() == prefix.size() || std::strchr("_.@-", locale[prefix.size()]))) {
            return entry.languageId;
        }
    }
    return 1033;
}

}  // namespace

int UserInterfaceLanguage() {
    for (const char* variable : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value == nullptr || value[0] == '\0') {
            continue;
        }
        std::string_view locale = value;
        locale = locale.substr(0, locale.find(':'));  // LANGUAGE is a list; its first entry counts
        if (locale.empty()) {
            continue;
        }
        if (locale == "C" || locale == "POSIX" || locale.starts_with("C.")) {
            return 0;
        }
        return LanguageOfLocale(locale);
    }
    return 0;
}

int SupportedLanguage(int languageId) {
    return languageId == kLanguageRussian ? kLanguageRussian : kLanguageEnglish;
}

int SettleLanguage() {
    int code = ReadLanguageCode();
    if (code == 0) {
        code = UserInterfaceLanguage();
    }
    code = SupportedLanguage(code);
    SetCurrentLanguageId(code);
    WriteLanguageCode(code);
    return code;
}

void CreateDataFolders() {
    CreateFolderPath(GetDataFolder() + L"db");
}

bool HasHideSwitch(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strstr(argv[i], "-hide") != nullptr) {
            return true;
        }
    }
    return false;
}
