#include "app/lang/LangText.h"

#include <map>
#include <memory>
#include <mutex>

#include "app/lang/LanguageId.h"
#include "app/settings/Settings.h"
#include "app/startup/IniFile.h"
#include "app/startup/Paths.h"
#include "quorl/core/Utf8.h"

namespace {

// What the private-profile reader returns at most.
constexpr size_t kMaxTextCharacters = 259;

struct LanguageTexts {
    std::mutex mutex;
    std::wstring folder;  // empty: beside the program
    // Parsed files by language id; a file that could not be read is not kept, so that it is
    // tried again on the next lookup.
    std::map<int, std::shared_ptr<const IniDocument>> files;
    LanguageChangedHandler handler;
};

LanguageTexts& Texts() {
    static LanguageTexts texts;
    return texts;
}

std::wstring FolderLocked(const LanguageTexts& texts) {
    return texts.folder.empty() ? GetModuleFolder() + L"language/" : texts.folder;
}

std::shared_ptr<const IniDocument> LanguageFile(int languageId) {
    LanguageTexts& texts = Texts();
    std::lock_guard lock(texts.mutex);
    auto found = texts.files.find(languageId);
    if (found != texts.files.end()) {
        return found->second;
    }
    const std::wstring path = FolderLocked(texts) + std::to_wstring(languageId) + L".lan";
    std::string contents;
    if (!ReadWholeFile(Quorl::WideToUtf8(path), contents)) {
        return nullptr;
    }
    auto document = std::make_shared<const IniDocument>(IniDocument::Parse(contents));
    texts.files.emplace(languageId, document);
    return document;
}

}  // namespace

std::wstring GetLangText(std::wstring_view section, int id) {
    return GetLangText(section, id, CurrentLanguageId());
}

std::wstring GetLangText(std::wstring_view section, int id, int languageId) {
    const std::shared_ptr<const IniDocument> file = LanguageFile(languageId);
    if (file == nullptr) {
        return {};
    }
    const std::wstring* text = file->Find(section, std::to_wstring(id));
    if (text == nullptr) {
        return {};
    }
    return text->substr(0, kMaxTextCharacters);
}

void SetLanguageFolder(std::wstring folder) {
    LanguageTexts& texts = Texts();
    std::lock_guard lock(texts.mutex);
    if (!folder.empty() && folder.back() != L'/') {
        folder.push_back(L'/');
    }
    texts.folder = std::move(folder);
    texts.files.clear();
}

std::wstring LanguageFolder() {
    LanguageTexts& texts = Texts();
    std::lock_guard lock(texts.mutex);
    return FolderLocked(texts);
}

void ForgetLanguageTexts() {
    LanguageTexts& texts = Texts();
    std::lock_guard lock(texts.mutex);
    texts.files.clear();
}

void SetLanguageChangedHandler(LanguageChangedHandler handler) {
    LanguageTexts& texts = Texts();
    std::lock_guard lock(texts.mutex);
    texts.handler = std::move(handler);
}

void SetLanguage(int languageId) {
    SetCurrentLanguageId(languageId);
    WriteLanguageCode(languageId);
    LanguageChangedHandler handler;
    {
        LanguageTexts& texts = Texts();
        std::lock_guard lock(texts.mutex);
        handler = texts.handler;
    }
    // Outside the lock: the handler looks texts up.
    if (handler) {
        handler(languageId);
    }
}
