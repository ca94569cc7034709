// The pieces of the prerequisite checks that need no registry: reading a
// setting by name, the number rules, the resolution threshold and the
// composition of a message from the launcher's own strings.
#include <windows.h>
#include <gtest/gtest.h>

#include "commands/Prerequisites.h"
#include "registry/LxVariant.h"
#include "resources/resource.h"
#include "tests/harness/paths.h"
#include "toolkit/Resources.h"

namespace {

clsLxRegSetting Setting(const std::string& name, const LxVariant& data) {
  clsLxRegSetting s;
  s.SettingName(name);
  s.Setting(data);
  return s;
}

TEST(CheckRules, FindSettingValue) {
  using Settings = std::optional<std::vector<clsLxRegSetting>>;
  const Settings card = std::vector<clsLxRegSetting>{
      Setting("Description", LxVariant::String("eth0")),
      Setting("servicename", LxVariant::String("lower")),
      Setting("ServiceName", LxVariant::String("E100B")),
      Setting("ServiceName", LxVariant::String("second")),
      Setting("Index", LxVariant::Long(7)),
      Setting("Multi", LxVariant::StringArray({"a", "b"})),
      Setting("", LxVariant::String("default")),
  };
  struct {
    const char* name;
    std::optional<std::string> result;
  } rows[] = {
      {"ServiceName", "E100B"},  // the first exact match
      {"servicename", "lower"},  // case-sensitive
      {"SERVICENAME", ""},       // no match: empty
      {"Index", "7"},            // a number as text
      {"Multi", std::nullopt},   // no text form: a failure
      {"", "default"},          {"Missing", ""},
  };
  for (const auto& row : rows) EXPECT_EQ(FindSettingValue(card, row.name), row.result) << row.name;
  EXPECT_EQ(FindSettingValue(std::vector<clsLxRegSetting>{}, "ServiceName"), std::string());
  EXPECT_EQ(FindSettingValue(std::nullopt, "ServiceName"), std::nullopt) << "no collection is a failure";
}

TEST(CheckRules, WholeNumber) {
  const long long kHeld = 1000000000000000000LL;
  struct {
    const char* text;
    std::optional<long long> value;
  } rows[] = {
      {"2195", 2195},
      {"2194", 2194},
      {"7601", 7601},
      {"0", 0},
      {"-5", -5},
      {"+12", 12},
      {"70000", 70000},
      {"4294967296", 4294967296LL},
      {"99999999999999999999999", kHeld},
      {"-99999999999999999999999", -kHeld},
      {"", std::nullopt},
      {"-", std::nullopt},
      {"7601a", std::nullopt},
      {" 2600", std::nullopt},
      {"2600.0", std::nullopt},
      {"&H1000", std::nullopt},
      {"abc", std::nullopt},
      // Around 10^18 and past 64 bits: held, never wrapped to the other sign.
      {"999999999999999999", 999999999999999999LL},
      {"1000000000000000000", kHeld},
      {"9223372036854775807", kHeld},
      {"9223372036854775808", kHeld},
      {"9999999999999999999", kHeld},
      {"-9223372036854775809", -kHeld},
      {"-9999999999999999999", -kHeld},
  };
  for (const auto& row : rows) EXPECT_EQ(WholeNumber(row.text), row.value) << "'" << row.text << "'";
}

TEST(CheckRules, InternetExplorerBuild) {
  struct {
    const char* build;
    const char* lead;
    bool tooOld;
  } rows[] = {
      {"62800.1106", "62800", false},
      {"54134", "54134", false},
      {"54133", "54133", true},
      {"52614", "52614", true},
      {"5", "5", true},
      {"0", "0", true},
      {"letters", "lette", false},
      {"", "", false},
      {"99600", "99600", false},
      {"1234567", "12345", true},
      {"5.5", "5", true},
      {".54134", "", false},
      {"99999999999.1", "99999999999", false},  // too long for 32 bits: passes
      {"-1.2", "-1", false},
      {"5 4134", "5 413", false},
      {"054134", "05413", true},
      {"9999999999999999999.1", "9999999999999999999", false},  // far beyond 64 bits: passes
  };
  for (const auto& row : rows) {
    EXPECT_EQ(BuildLeadingPart(row.build), row.lead) << "'" << row.build << "'";
    EXPECT_EQ(InternetExplorerTooOld(row.build), row.tooOld) << "'" << row.build << "'";
  }
}

TEST(CheckRules, ResolutionWarnsBelow1024Only) {
  struct {
    std::int16_t width;
    bool warns;
  } rows[] = {{640, true}, {800, true}, {1023, true}, {1024, false}, {1280, false}};
  for (const auto& row : rows) {
    auto warning = ResolutionCheck(row.width);
    EXPECT_EQ(warning.has_value(), row.warns) << row.width;
    if (warning) {
      EXPECT_EQ(*warning, (MessageLines{310, 320})) << "the resolution's two lines";
    }
  }
}

// Messages are composed from the launcher's own string table.
class Compose : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadLibraryExA(harness::LauncherExe().c_str(), nullptr,
                             LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module_, nullptr);
    tk::SetResourceModule(module_);
  }
  void TearDown() override {
    tk::SetResourceModule(nullptr);
    if (module_) FreeLibrary(module_);
  }
  HMODULE module_ = nullptr;
};

TEST_F(Compose, LinesJoinedByCrLfWithoutTrailingBreak) {
  EXPECT_EQ(ComposeMessage({IDS_IE_TOO_OLD, IDS_IE_NEWER, IDS_KORV_CANNOT}, 1),
            L"An older Version of MS Internet Explorer is installed on this PC.\r\n"
            L"Please, install first a newer version of IE (IE 5.5 or later).\r\n"
            L"The Korvane installation cannot be executed !!");
  EXPECT_EQ(ComposeMessage({IDS_OS_TOO_OLD, IDS_KORV_CANNOT}, 2),
            L"Syst\u00e8me d'exploitation non conforme (WIN2000 SP2 ou plus).\r\n"
            L"L'installation de Korvane ne peut pas avoir lieu !!");
  EXPECT_EQ(ComposeMessage({IDS_WINAXE_FIRST}, 0), L"Bitte, deinstallieren Sie zuerst den alten X-server WinaXe.");
  EXPECT_EQ(ComposeMessage({}, 0), L"");
}

}  // namespace
