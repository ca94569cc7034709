// Every prerequisite check against real registry contents: one row per
// machine state, with the entry clicked and what must follow: the refusal's
// lines, or the set-up started with no message.
#include <windows.h>
#include <gtest/gtest.h>

#include "tests/commands/E2e.h"

using namespace harness;
using namespace e2e;

namespace {

Seed Build(const std::string& text) {
  return [text](RegistrySeed& s) { s.SetString(kCurrentVersion, "CurrentBuildNumber", text); };
}
Seed IeBuild(const std::string& text) {
  return [text](RegistrySeed& s) { s.SetString(kIe, "Build", text); };
}

const CheckRow kRows[] = {
    // X server check (Xmanager)
    {"WinaXeInstalled", kXmanager,
     [](RegistrySeed& s) {
       s.SetString(std::string(kWinaXe) + "\\Settings", "Display", ":0");
       s.SetString(kWinaXe, "InstallDir", "C:\\WinaXe");
     },
     kWinaXeRefusal},
    {"WinaXeKeyEmpty", kXmanager, [](RegistrySeed& s) { s.CreateKey(kWinaXe); }, kWinaXeRefusal},
    {"WinaXeMakerKeyOnly", kXmanager, [](RegistrySeed& s) { s.CreateKey(kLabF); }, kSetUpStarts},
    {"NoWinaXe", kXmanager, [](RegistrySeed&) {}, kSetUpStarts},
    // Operating system
    {"Build2194", kKorvane, Build("2194"), kOsRefusal},
    {"Build2195", kKorvane, Build("2195"), kSetUpStarts},
    {"Build2600", kKorvane, Build("2600"), kSetUpStarts},
    {"BuildBeyond16Bits", kKorvane, Build("70000"), kSetUpStarts},
    {"BuildNegative", kKorvane, Build("-2600"), kOsRefusal},
    {"BuildMissing", kKorvane, [](RegistrySeed& s) { s.DeleteValue(kCurrentVersion, "CurrentBuildNumber"); },
     kOsRefusal},
    {"BuildNotANumber", kKorvane, Build("7601 SP1"), kOsRefusal},
    {"BuildEmpty", kKorvane, Build(""), kOsRefusal},
    {"BuildAsDword", kKorvane, [](RegistrySeed& s) { s.SetDword(kCurrentVersion, "CurrentBuildNumber", 2600); },
     kSetUpStarts},
    {"BuildAsBinary", kKorvane,
     [](RegistrySeed& s) {
       s.SetValue(kCurrentVersion, "CurrentBuildNumber", REG_BINARY, {0x28, 0x0a});
     },
     kOsRefusal},
    // Internet Explorer
    {"IeVersionMissingBuildPresent", kKorvane,
     [](RegistrySeed& s) {
       s.DeleteValue(kIe, "Version");
       s.SetString(kIe, "Build", "62800.1106");
     },
     kIeMissingRefusal},
    {"IeBuildMissing", kKorvane, [](RegistrySeed& s) { s.DeleteValue(kIe, "Build"); }, kIeMissingRefusal},
    {"IeKeyMissing", kKorvane, [](RegistrySeed& s) { s.DeleteTree(kIe); }, kIeMissingRefusal},
    {"IeBuild62800_1106", kKorvane, IeBuild("62800.1106"), kSetUpStarts},
    {"IeBuild54134", kKorvane, IeBuild("54134"), kSetUpStarts},
    {"IeBuild52614", kKorvane, IeBuild("52614"), kIeOldRefusal},
    {"IeBuild5", kKorvane, IeBuild("5"), kIeOldRefusal},
    {"IeBuildLetters", kKorvane, IeBuild("letters"), kSetUpStarts},
    {"IeBuildEmpty", kKorvane, IeBuild(""), kSetUpStarts},
    {"IeBuildBeyond32Bits", kKorvane, IeBuild("99999999999.1"), kSetUpStarts},
    {"IeBuildAsDwordBelow", kKorvane, [](RegistrySeed& s) { s.SetDword(kIe, "Build", 52614); }, kIeOldRefusal},
    // Network adapters
    {"NoCardList", kKorvane, [](RegistrySeed& s) { s.DeleteTree(kCards); }, kAdapterRefusal},
    {"EmptyCardList", kKorvane, [](RegistrySeed& s) { Cards(s, {}); }, kAdapterRefusal},
    {"CardsWithoutServiceName", kKorvane,
     [](RegistrySeed& s) {
       Cards(s, {"", ""});
     },
     kAdapterRefusal},
    {"ServiceWithoutTcpip", kKorvane, [](RegistrySeed& s) { Cards(s, {kPlainService}); }, kAdapterRefusal},
    {"ServiceMissing", kKorvane, [](RegistrySeed& s) { Cards(s, {"KvTestNoSuchService"}); }, kAdapterRefusal},
    {"ServiceNameNotText", kKorvane,
     [](RegistrySeed& s) {
       Cards(s, {""});
       s.SetValue(std::string(kCards) + "\\1", "ServiceName", REG_MULTI_SZ, {'K', 'v', 0, 0});
     },
     kAdapterRefusal},
    {"GoodCardFirst", kKorvane,
     [](RegistrySeed& s) {
       Cards(s, {kGoodService, "", kPlainService});
     },
     kSetUpStarts},
    {"GoodCardLast", kKorvane,
     [](RegistrySeed& s) {
       Cards(s, {"", kPlainService, kGoodService});
     },
     kSetUpStarts},
    // The order of the checks: the first failing one speaks.
    {"OldWindowsBeforeMissingIe", kKorvane,
     [](RegistrySeed& s) {
       s.SetString(kCurrentVersion, "CurrentBuildNumber", "1381");
       s.DeleteValue(kIe, "Version");
       s.DeleteTree(kCards);
     },
     kOsRefusal},
    {"OldIeBeforeMissingAdapter", kKorvane,
     [](RegistrySeed& s) {
       s.SetString(kIe, "Build", "52614");
       s.DeleteTree(kCards);
     },
     kIeOldRefusal},
};

class Checks : public ::testing::TestWithParam<CheckRow> {};

TEST_P(Checks, Outcome) { RunCheckRow(GetParam(), Picture); }

INSTANTIATE_TEST_SUITE_P(Rows, Checks, ::testing::ValuesIn(kRows), RowName);

}  // namespace
