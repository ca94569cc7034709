#include "launcher/mdlLanguage.h"

#include "toolkit/Resources.h"

std::int16_t LanguageIndex = 1;

std::int16_t LanguageIndexFor(LANGID id) {
  switch (id) {
    case 1031: return 0;  // German, Germany
    case 1033: return 1;  // English, United States
    case 1036: return 2;  // French, France
    case 1040: return 3;  // Italian, Italy
    case 1034: return 4;  // Spanish, Spain (traditional sort)
    default: return 1;
  }
}

void SelectLanguage() { LanguageIndex = LanguageIndexFor(GetSystemDefaultLangID()); }

int LocalizedId(int base) { return base + LanguageIndex; }

std::wstring LocalizedText(const std::string& Tag) { return tk::LoadResString(LocalizedId(std::stoi(Tag))); }
