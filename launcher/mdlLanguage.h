// The user-interface language, chosen once from the system's default language.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

// 0 German, 1 English, 2 French, 3 Italian, 4 Spanish. Every localized
// resource sits at its base identifier plus this index.
extern std::int16_t LanguageIndex;

// Sets LanguageIndex from GetSystemDefaultLangID.
void SelectLanguage();

// The index for one language identifier: only the five exact identifiers
// count; the same language of another region gets English.
std::int16_t LanguageIndexFor(LANGID id);

// The identifier of a localized resource in the chosen language.
int LocalizedId(int base);

// The text of a window or a caption whose Tag holds the decimal base of its
// localized string.
std::wstring LocalizedText(const std::string& Tag);
