// Every refusal of the commands as the user sees it in his language: the
// lines, the window title as the box's title, OK only, no icon. Run in
// several languages. (The narrow-screen warning is in tests/narrow/.)
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

struct Row {
  const char* name;
  int entry;
  std::function<void(RegistrySeed&)> seed;
  std::vector<int> lines;
};

void PrintTo(const Row& row, std::ostream* os) { *os << row.name; }

const Row kRows[] = {
    {"WinaXe", kXmanager, [](RegistrySeed& s) { s.CreateKey(kWinaXe); }, {330, 340}},
    {"OldWindows",
     kKorvane,
     [](RegistrySeed& s) { s.SetString(kCurrentVersion, "CurrentBuildNumber", "1381"); },
     {250, 290}},
    {"NoInternetExplorer", kKorvane, [](RegistrySeed& s) { s.DeleteValue(kIe, "Version"); }, {300, 270, 290}},
    {"OldInternetExplorer", kKorvane, [](RegistrySeed& s) { s.SetString(kIe, "Build", "52614"); }, {260, 270, 290}},
    {"NoAdapter", kKorvane, [](RegistrySeed& s) { Cards(s, {kPlainService}); }, {280, 290}},
};

class CheckMessages : public ::testing::TestWithParam<Row> {};

TEST_P(CheckMessages, InTheSystemLanguage) {
  const Row& row = GetParam();
  CdFolder cd("messages");
  RegistrySeed seed;
  GoodMachine(seed);
  row.seed(seed);
  ASSERT_TRUE(seed.Ok()) << seed.Failure();
  ScreenSize screen(1024, 768);
  ASSERT_TRUE(screen.Ok()) << screen.Failure();

  LauncherProcess app(cd.Launcher());
  ASSERT_NE(app.WaitForMainWindow(), nullptr);
  ClickAt(Caption(app, row.entry));
  HWND box = WaitForBoxOrExit(app);
  ASSERT_NE(box, nullptr) << "no box titled " << Narrow(Title());
  EXPECT_EQ(Narrow(BoxText(box)), Narrow(Expected(row.lines)));
  EXPECT_FALSE(MessageBoxHasIcon(box));
  EXPECT_EQ(MessageBoxButtonCount(box), 1);
  PressOk(box);
  ASSERT_TRUE(app.WaitForExit(5000));
  EXPECT_EQ(LateSetUpLines(cd, row.entry), "") << "a refused set-up must not start";
}

INSTANTIATE_TEST_SUITE_P(Rows, CheckMessages, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<Row>& p) { return std::string(p.param.name); });

}  // namespace
