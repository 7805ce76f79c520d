#pragma once

// The interface language of the process, a Windows language id: 1033 (English) or 1049
// (Russian) once start-up has settled it. Read from any thread.
int CurrentLanguageId();
void SetCurrentLanguageId(int languageId);

constexpr int kLanguageEnglish = 1033;
constexpr int kLanguageRussian = 1049;
