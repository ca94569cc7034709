// Faults while the menu runs, on copies of the program with a resource
// missing. Nothing that the handlers throw may leave a window procedure (in
// the i686 release it would end the program in std::terminate): a sound that
// cannot be had is simply not played, and any other failure is reported the
// way a load failure is, and the program ends with exit code 1.
#include <windows.h>
#include <gtest/gtest.h>

#include "tests/commands/E2e.h"
#include "tests/harness/CdFolder.h"
#include "tests/harness/Desktop.h"
#include "tests/harness/Launcher.h"
#include "tests/harness/PeResources.h"
#include "tests/harness/SoundCapture.h"

using namespace harness;

namespace {

class Failures : public ::testing::Test {
 protected:
  void SetUp() override {
    JumpPointer({5, 5});
    ASSERT_TRUE(CopyInto(cd_.Launcher(), broken_));
  }
  CdFolder cd_{"failures"};
  std::string broken_ = cd_.Path() + "\\Broken.exe";
};

// Strings 336 to 351 are one block of the string table: without it the
// second line of the WinaXe refusal (340 + language) cannot be loaded, in
// the middle of a click.
TEST_F(Failures, AFailureInAClickIsReportedAndEndsTheProgram) {
  ASSERT_TRUE(RenumberResource(broken_, 6 /* RT_STRING */, 340 / 16 + 1, 4000));
  RegistrySeed seed;
  e2e::GoodMachine(seed);
  seed.CreateKey(e2e::kWinaXe);
  ASSERT_TRUE(seed.Ok()) << seed.Failure();

  LauncherProcess app(broken_);
  ASSERT_NE(app.WaitForMainWindow(), nullptr);
  ClickAt(e2e::Caption(app, e2e::kXmanager));
  HWND box = WaitForMessageBox(L"Korvane6Menu");
  ASSERT_NE(box, nullptr) << "no error report (exit code " << app.ExitCode() << ")";
  const std::wstring text = MessageBoxText(box);
  EXPECT_NE(text.find(L"Run-time error"), std::wstring::npos) << Narrow(text);
  EXPECT_NE(text.find(std::to_wstring(340 + ExpectedLanguageIndex())), std::wstring::npos) << Narrow(text);
  EXPECT_FALSE(IsWindowVisible(app.Window())) << "the menu is put away while the report shows";
  PressOk(box);
  ASSERT_TRUE(app.WaitForExit(5000));
  EXPECT_EQ(app.ExitCode(), 1u);
}

// Without the sound resource an entry still lights up, no sound plays, and
// the menu goes on working.
TEST_F(Failures, AMissingSoundPlaysNothingAndTheMenuGoesOn) {
  ASSERT_TRUE(RenumberResource(broken_, L"WAV", 101, 4000));
  SoundCapture sound;
  ASSERT_TRUE(sound.Available()) << "KORVANE_SOUND_CAPTURE is not set: run through scripts/test.sh";
  LauncherProcess app(broken_);
  ASSERT_NE(app.WaitForMainWindow(), nullptr);
  for (int entry : {1, 2, 3}) {
    const std::string control = "picM(" + std::to_string(entry) + ")";
    RestPointer(app.ScreenPoint(control, 40, 14), 0);
    EXPECT_TRUE(WaitForPixel(app.ScreenPoint(control, 4, 4), 0x00FFFFFFu)) << "entry " << entry << " not lit";
  }
  EXPECT_TRUE(app.Running());
  ClickAt(e2e::Caption(app, e2e::kExit));
  ASSERT_TRUE(app.WaitForExit(5000));
  EXPECT_EQ(app.ExitCode(), 0u);
  EXPECT_EQ(sound.PlaysOfAnEndedProgram(), 0u);
}

}  // namespace
