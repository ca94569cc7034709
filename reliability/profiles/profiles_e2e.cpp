// Odd registry contents that a real machine may hold, each with the outcome
// that the checks give it: a refusal with its lines, or the set-up started.
// Nothing may crash or hang. Every row prints "profile <name> <outcome>
// <milliseconds from the click>" for scripts/reliability.sh.
//   KORVANE_PROFILE_CARDS  network cards of the long card list (default 1000;
//                          the report makes 5,000)
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "tests/commands/E2e.h"
#include "tests/harness/CdFolder.h"
#include "tests/harness/Desktop.h"
#include "tests/harness/WineHost.h"

using namespace harness;
using namespace e2e;

namespace {

const std::string kMegabyteOfDigits(1 << 20, '7');
// A service key with a Unicode name, beyond what the seed (ANSI) can undo.
const wchar_t kUnicodeService[] =
    L"System\\CurrentControlSet\\Services\\KvTest\x0141\x00f3"
    L"d\x017a";

Seed Build(const std::string& text) {
  return [text](RegistrySeed& s) { s.SetString(kCurrentVersion, "CurrentBuildNumber", text); };
}
Seed IeBuild(const std::string& text) {
  return [text](RegistrySeed& s) { s.SetString(kIe, "Build", text); };
}
// One card, the only one, with this ServiceName.
Seed OnlyCard(const std::string& service) {
  return [service](RegistrySeed& s) { Cards(s, {service}); };
}

const CheckRow kRows[] = {
    // The Windows build
    {"BuildAsBinary", kKorvane,
     [](RegistrySeed& s) {
       s.SetValue(kCurrentVersion, "CurrentBuildNumber", REG_BINARY, {'2', '6', '0', '0'});
     },
     kOsRefusal},
    {"BuildAsMultiString", kKorvane,
     [](RegistrySeed& s) {
       s.SetValue(kCurrentVersion, "CurrentBuildNumber", REG_MULTI_SZ, {'2', '6', '0', '0', 0, 0});
     },
     kOsRefusal},
    {"BuildOfAMegabyteOfDigits", kKorvane, Build(kMegabyteOfDigits), kSetUpStarts},  // a huge number: new enough
    {"Build99999999999", kKorvane, Build("99999999999"), kSetUpStarts},
    {"BuildMinusOne", kKorvane, Build("-1"), kOsRefusal},
    // Internet Explorer's Build
    {"IeBuildOfAMegabyteOfDigits", kKorvane, IeBuild(kMegabyteOfDigits), kSetUpStarts},  // leading part "77777"
    {"IeBuild54134x", kKorvane, IeBuild("54134.x"), kSetUpStarts},
    {"IeBuildAsDword", kKorvane, [](RegistrySeed& s) { s.SetDword(kIe, "Build", 52614); }, kIeOldRefusal},
    // Network cards
    {"ManyCardsGoodOneLast", kKorvane,
     [](RegistrySeed& s) {
       const char* wanted = std::getenv("KORVANE_PROFILE_CARDS");
       const int cards = wanted && *wanted ? std::atoi(wanted) : 1000;
       std::vector<std::string> services(static_cast<size_t>(cards > 1 ? cards - 1 : 0), kPlainService);
       services.push_back(kGoodService);
       Cards(s, services);
     },
     kSetUpStarts},
    {"CardNameOf255Characters", kKorvane,
     [](RegistrySeed& s) {
       // The card's key path passes 260 characters, which this Wine's ANSI
       // registry calls refuse (234): the library cannot open the card, and
       // the check passes it over. (The seed's own ANSI calls cannot make
       // the key either; the wide ones can, and the seed's restore of the
       // card list removes it.)
       Cards(s, {});
       const std::wstring card = Wide(kCards) + L"\\" + std::wstring(255, L'c');
       HKEY key = nullptr;
       RegCreateKeyExW(HKEY_LOCAL_MACHINE, card.c_str(), 0, nullptr, 0, KEY_WRITE | KEY_WOW64_32KEY, nullptr, &key,
                       nullptr);
       const std::wstring service = Wide(kGoodService);
       RegSetValueExW(key, L"ServiceName", 0, REG_SZ, reinterpret_cast<const BYTE*>(service.c_str()),
                      static_cast<DWORD>((service.size() + 1) * sizeof(wchar_t)));
       RegCloseKey(key);
     },
     kAdapterRefusal},
    {"ServiceNameOf1000Characters", kKorvane, OnlyCard(std::string(1000, 's')), kAdapterRefusal},
    {"ServiceNameWithBackslashes", kKorvane, OnlyCard(std::string(kGoodService) + "\\Parameters\\Tcpip"),
     kAdapterRefusal},
    {"ServiceNameClimbingUp", kKorvane, OnlyCard("..\\..\\Services\\" + std::string(kGoodService)), kAdapterRefusal},
    {"ServiceNameOutsideTheAnsiCodePage", kKorvane,
     [](RegistrySeed& s) {
       // Read through the ANSI calls the name loses its two letters outside
       // Windows-1252, so the service, which exists, is not found.
       Cards(s, {"placeholder"});
       HKEY key = nullptr;
       const std::wstring card = Wide(kCards) + L"\\1";
       RegOpenKeyExW(HKEY_LOCAL_MACHINE, card.c_str(), 0, KEY_SET_VALUE | KEY_WOW64_32KEY, &key);
       const std::wstring name = std::wstring(kUnicodeService).substr(std::wstring(kUnicodeService).rfind(L'\\') + 1);
       RegSetValueExW(key, L"ServiceName", 0, REG_SZ, reinterpret_cast<const BYTE*>(name.c_str()),
                      static_cast<DWORD>((name.size() + 1) * sizeof(wchar_t)));
       RegCloseKey(key);
       HKEY tcpip = nullptr;
       RegCreateKeyExW(HKEY_LOCAL_MACHINE, (std::wstring(kUnicodeService) + L"\\Parameters\\Tcpip").c_str(), 0, nullptr,
                       0, KEY_WRITE, nullptr, &tcpip, nullptr);
       RegCloseKey(tcpip);
     },
     kAdapterRefusal},
    {"TcpipIsAValue", kKorvane,
     [](RegistrySeed& s) {
       s.DeleteTree(std::string(kServices) + "KvTestValue");
       s.SetString(std::string(kServices) + "KvTestValue\\Parameters", "Tcpip", "not a key");
       Cards(s, {"KvTestValue"});
     },
     kAdapterRefusal},
};

class Profiles : public ::testing::TestWithParam<CheckRow> {
 protected:
  void TearDown() override { RegDeleteTreeW(HKEY_LOCAL_MACHINE, kUnicodeService); }
};

TEST_P(Profiles, DefinedOutcome) {
  const CheckRow& row = GetParam();
  const DWORD took = RunCheckRow(row, Picture, 60000);
  if (row.refusal.empty())
    std::printf("profile %s set-up-started %lu\n", row.name, static_cast<unsigned long>(took));
  else
    std::printf("profile %s refusal-%d %lu\n", row.name, row.refusal.front(), static_cast<unsigned long>(took));
}

INSTANTIATE_TEST_SUITE_P(Rows, Profiles, ::testing::ValuesIn(kRows), RowName);

}  // namespace
