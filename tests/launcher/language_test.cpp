// The language choice: only the five exact identifiers select a language;
// localized resources are read at their base plus the chosen index.
#include <gtest/gtest.h>

#include <cstdlib>

#include "launcher/mdlLanguage.h"
#include "tests/harness/Launcher.h"

namespace {

struct Case {
  LANGID id;
  std::int16_t index;
  const char* what;
};

const Case kCases[] = {
    {1031, 0, "German, Germany"},
    {1033, 1, "English, United States"},
    {1036, 2, "French, France"},
    {1040, 3, "Italian, Italy"},
    {1034, 4, "Spanish, traditional sort"},
    {3079, 1, "German, Austria"},
    {2055, 1, "German, Switzerland"},
    {3082, 1, "Spanish, modern sort"},
    {3084, 1, "French, Canada"},
    {2060, 1, "French, Belgium"},
    {2064, 1, "Italian, Switzerland"},
    {2057, 1, "English, United Kingdom"},
    {0x0007, 1, "German, neutral sublanguage"},
    {0, 1, "zero"},
    {0xFFFF, 1, "all bits"},
};

TEST(Language, OnlyExactIdentifiersSelectALanguage) {
  for (const Case& c : kCases) EXPECT_EQ(LanguageIndexFor(c.id), c.index) << c.what << " (" << c.id << ")";
}

// Run once per system language (LC_ALL): the language that the locale's name
// says, English for every locale but the five.
TEST(Language, SelectLanguageUsesTheSystemDefault) {
  LanguageIndex = -7;  // sentinel: must be overwritten
  SelectLanguage();
  EXPECT_EQ(LanguageIndex, harness::ExpectedLanguageIndex())
      << "LC_ALL " << (std::getenv("LC_ALL") ? std::getenv("LC_ALL") : "unset") << ", system language "
      << GetSystemDefaultLangID();
}

// The strings come from the resources linked into this test program.
TEST(Language, LocalizedIdAndTextFollowTheChosenLanguage) {
  const std::int16_t chosen = LanguageIndex;
  LanguageIndex = 3;
  EXPECT_EQ(LocalizedId(250), 253);
  LanguageIndex = 2;
  EXPECT_EQ(LocalizedText("230"), L"&Aide");
  LanguageIndex = 0;
  EXPECT_EQ(LocalizedId(100), 100);
  EXPECT_EQ(LocalizedText("100"), L" Installations CD - KORVANE 6");
  LanguageIndex = chosen;
}

}  // namespace
