#include "app/lang/LanguageId.h"

#include <atomic>

namespace {
std::atomic<int> g_languageId{kLanguageEnglish};
}

int CurrentLanguageId() {
    return g_languageId.load(std::memory_order_relaxed);
}

void SetCurrentLanguageId(int languageId) {
    g_languageId.store(languageId, std::memory_order_relaxed);
}
