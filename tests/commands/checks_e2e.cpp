// Every prerequisite check against real registry contents: one row per
// machine state, with the entry clicked and what must follow: the refusal's
// lines, or the set-up started with no message.
#include <windows.h>
#include <gtest/gtest.h>

#include <functional>

#include "tests/commands/E2e.h"
#include "tests/harness/CdFolder.h"
#include "tests/harness/Desktop.h"
#include "tests/harness/WineHost.h"

using namespace harness;
using namespace e2e;

namespace {

using Seed = std::function<void(RegistrySeed&)>;

struct Row {
  const char* name;
  int entry;
  Seed seed;                 // applied after GoodMachine
  std::vector<int> refusal;  // empty: the check passes
};

const std::vector<int> kWinaXeInstalled = {330, 340};
const std::vector<int> kOs = {250, 290};
const std::vector<int> kIeMissing = {300, 270, 290};
const std::vector<int> kIeOld = {260, 270, 290};
const std::vector<int> kNoAdapter = {280, 290};
const std::vector<int> kPass = {};

Seed Build(const std::string& text) {
  return [text](RegistrySeed& s) { s.SetString(kCurrentVersion, "CurrentBuildNumber", text); };
}
Seed IeBuild(const std::string& text) {
  return [text](RegistrySeed& s) { s.SetString(kIe, "Build", text); };
}

const Row kRows[] = {
    // X server check (Xmanager)
    {"WinaXeInstalled", kXmanager,
     [](RegistrySeed& s) {
       s.SetString(std::string(kWinaXe) + "\\Settings", "Display", ":0");
       s.SetString(kWinaXe, "InstallDir", "C:\\WinaXe");
     },
     kWinaXeInstalled},
    {"WinaXeKeyEmpty", kXmanager, [](RegistrySeed& s) { s.CreateKey(kWinaXe); }, kWinaXeInstalled},
    {"WinaXeMakerKeyOnly", kXmanager, [](RegistrySeed& s) { s.CreateKey(kLabF); }, kPass},
    {"NoWinaXe", kXmanager, [](RegistrySeed&) {}, kPass},
    // Operating system
    {"Build2194", kKorvane, Build("2194"), kOs},
    {"Build2195", kKorvane, Build("2195"), kPass},
    {"Build2600", kKorvane, Build("2600"), kPass},
    {"BuildBeyond16Bits", kKorvane, Build("70000"), kPass},
    {"BuildNegative", kKorvane, Build("-2600"), kOs},
    {"BuildMissing", kKorvane, [](RegistrySeed& s) { s.DeleteValue(kCurrentVersion, "CurrentBuildNumber"); }, kOs},
    {"BuildNotANumber", kKorvane, Build("7601 SP1"), kOs},
    {"BuildEmpty", kKorvane, Build(""), kOs},
    {"BuildAsDword", kKorvane, [](RegistrySeed& s) { s.SetDword(kCurrentVersion, "CurrentBuildNumber", 2600); }, kPass},
    {"BuildAsBinary", kKorvane,
     [](RegistrySeed& s) {
       s.SetValue(kCurrentVersion, "CurrentBuildNumber", REG_BINARY, {0x28, 0x0a});
     },
     kOs},
    // Internet Explorer
    {"IeVersionMissingBuildPresent", kKorvane,
     [](RegistrySeed& s) {
       s.DeleteValue(kIe, "Version");
       s.SetString(kIe, "Build", "62800.1106");
     },
     kIeMissing},
    {"IeBuildMissing", kKorvane, [](RegistrySeed& s) { s.DeleteValue(kIe, "Build"); }, kIeMissing},
    {"IeKeyMissing", kKorvane, [](RegistrySeed& s) { s.DeleteTree(kIe); }, kIeMissing},
    {"IeBuild62800_1106", kKorvane, IeBuild("62800.1106"), kPass},
    {"IeBuild54134", kKorvane, IeBuild("54134"), kPass},
    {"IeBuild52614", kKorvane, IeBuild("52614"), kIeOld},
    {"IeBuild5", kKorvane, IeBuild("5"), kIeOld},
    {"IeBuildLetters", kKorvane, IeBuild("letters"), kPass},
    {"IeBuildEmpty", kKorvane, IeBuild(""), kPass},
    {"IeBuildBeyond32Bits", kKorvane, IeBuild("99999999999.1"), kPass},
    {"IeBuildAsDwordBelow", kKorvane, [](RegistrySeed& s) { s.SetDword(kIe, "Build", 52614); }, kIeOld},
    // Network adapters
    {"NoCardList", kKorvane, [](RegistrySeed& s) { s.DeleteTree(kCards); }, kNoAdapter},
    {"EmptyCardList", kKorvane, [](RegistrySeed& s) { Cards(s, {}); }, kNoAdapter},
    {"CardsWithoutServiceName", kKorvane,
     [](RegistrySeed& s) {
       Cards(s, {"", ""});
     },
     kNoAdapter},
    {"ServiceWithoutTcpip", kKorvane, [](RegistrySeed& s) { Cards(s, {kPlainService}); }, kNoAdapter},
    {"ServiceMissing", kKorvane, [](RegistrySeed& s) { Cards(s, {"KvTestNoSuchService"}); }, kNoAdapter},
    {"ServiceNameNotText", kKorvane,
     [](RegistrySeed& s) {
       Cards(s, {""});
       s.SetValue(std::string(kCards) + "\\1", "ServiceName", REG_MULTI_SZ, {'K', 'v', 0, 0});
     },
     kNoAdapter},
    {"GoodCardFirst", kKorvane,
     [](RegistrySeed& s) {
       Cards(s, {kGoodService, "", kPlainService});
     },
     kPass},
    {"GoodCardLast", kKorvane,
     [](RegistrySeed& s) {
       Cards(s, {"", kPlainService, kGoodService});
     },
     kPass},
    // The order of the checks: the first failing one speaks.
    {"OldWindowsBeforeMissingIe", kKorvane,
     [](RegistrySeed& s) {
       s.SetString(kCurrentVersion, "CurrentBuildNumber", "1381");
       s.DeleteValue(kIe, "Version");
       s.DeleteTree(kCards);
     },
     kOs},
    {"OldIeBeforeMissingAdapter", kKorvane,
     [](RegistrySeed& s) {
       s.SetString(kIe, "Build", "52614");
       s.DeleteTree(kCards);
     },
     kIeOld},
};

void PrintTo(const Row& row, std::ostream* os) { *os << row.name; }

class Checks : public ::testing::TestWithParam<Row> {};

TEST_P(Checks, Outcome) {
  const Row& row = GetParam();
  CdFolder cd("checks");
  RegistrySeed seed;
  GoodMachine(seed);
  row.seed(seed);
  ASSERT_TRUE(seed.Ok()) << seed.Failure();
  ScreenSize screen(1024, 768);  // wide enough: no warning
  ASSERT_TRUE(screen.Ok()) << screen.Failure();

  LauncherProcess app(cd.Launcher());
  ASSERT_NE(app.WaitForMainWindow(), nullptr);
  ClickAt(Picture(app, row.entry));
  HWND box = WaitForBoxOrExit(app);
  const std::string setup = SetUpOf(row.entry);

  if (row.refusal.empty()) {
    EXPECT_EQ(box, nullptr) << "unexpected message: " << Narrow(BoxText(box));
    if (box) PressOk(box);
    EXPECT_TRUE(app.WaitForExit(5000)) << "still running after the set-up start";
    EXPECT_NE(WaitForRecord(cd, setup), "") << "set-up not started";
    return;
  }
  ASSERT_NE(box, nullptr) << "no refusal; set-up recorded: " << cd.RecordedCommandLines(setup);
  EXPECT_EQ(Narrow(BoxText(box)), Narrow(Expected(row.refusal)));
  EXPECT_FALSE(MessageBoxHasIcon(box));
  EXPECT_EQ(MessageBoxButtonCount(box), 1);
  PressOk(box);
  ASSERT_TRUE(app.WaitForExit(5000)) << "a refusal ends the program";
  EXPECT_EQ(app.ExitCode(), 0u);
  EXPECT_EQ(LateSetUpLines(cd, row.entry), "") << "a refused set-up must not start";
}

INSTANTIATE_TEST_SUITE_P(Rows, Checks, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<Row>& p) { return std::string(p.param.name); });

}  // namespace
