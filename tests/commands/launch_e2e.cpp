// Starting the set-ups and the notes: the exact command lines the started
// programs receive (program folders with blanks and at a drive root), the log
// file's name, and whether the menu closes and the program ends.
#include <windows.h>
#include <gtest/gtest.h>

#include <fstream>

#include "tests/commands/E2e.h"
#include "tests/harness/CdFolder.h"
#include "tests/harness/Desktop.h"
#include "tests/harness/WineHost.h"
#include "tests/harness/paths.h"

using namespace harness;
using namespace e2e;

namespace {

const char kXmanagerStub[] = "Xmanager\\DISK1\\setup.exe";
const char kKorvaneStub[] = "Korvane6\\DISK1\\setup.exe";

using Launch = SeededMachine;

// Each set-up gets its path and the log switches, the stamp being the local
// date and time of the click; then the menu closes and the program ends.
TEST_F(Launch, SetUpCommandLinesAndLogNames) {
  struct {
    const char* folder;
    int entry;
    bool caption;
    const char* stub;
    const char* tag;
  } rows[] = {
      {"launch", kXmanager, true, kXmanagerStub, "X"},
      {"launch", kKorvane, false, kKorvaneStub, "Q"},
      // Blanks in the folder: the path is passed on unquoted and unchanged.
      {"CD copy", kKorvane, true, kKorvaneStub, "Q"},
      {"CD copy", kXmanager, false, kXmanagerStub, "X"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.folder) + " " + row.tag);
    CdFolder cd(row.folder);
    LauncherProcess app(cd.Launcher());
    ASSERT_NE(app.WaitForMainWindow(), nullptr);
    POINT at = row.caption ? Caption(app, row.entry) : Picture(app, row.entry);
    std::string before = LogStamp();
    ClickAt(at);
    ASSERT_TRUE(app.WaitForExit(8000)) << "the menu stays after a set-up start";
    std::string after = LogStamp();
    EXPECT_EQ(app.ExitCode(), 0u);
    ExpectSetUpLine(WaitForRecord(cd, row.stub), cd.Path() + "\\" + row.stub, row.tag, before, after);
  }
}

// A program "CD.exe" beside the folder "CD copy" is what an unquoted path
// would start; the set-up is started by its exact path instead.
TEST_F(Launch, BlanksInTheFolderCannotStartAnotherProgram) {
  CdFolder cd("CD copy");
  std::string decoy = BuildPath("e2e\\CD.exe");
  ASSERT_TRUE(CopyInto(BuildPath("bin\\stub_setup.exe"), decoy));
  LauncherProcess app(cd.Launcher());
  ASSERT_NE(app.WaitForMainWindow(), nullptr);
  ClickAt(Caption(app, kKorvane));
  EXPECT_TRUE(app.WaitForExit(8000));
  EXPECT_NE(WaitForRecord(cd, kKorvaneStub), "");
  std::ifstream decoyRecord(decoy + ".cmdline");
  EXPECT_FALSE(decoyRecord.good()) << "CD.exe was started";
  decoyRecord.close();
  DeleteFileA(decoy.c_str());
  DeleteFileA((decoy + ".cmdline").c_str());
}

// At the root of a drive the program folder ends in a backslash, so the
// paths hold a doubled one; they are passed on as they are.
TEST_F(Launch, FromTheRootOfADrive) {
  CdFolder cd("drive root", CdLayout{true, true, true, true});
  DriveLetter drive(cd.Path());
  ASSERT_TRUE(drive.Ok()) << "no drive letter for " << cd.Path();
  LauncherProcess app(drive.Root() + "Korvane6Menu.exe");
  ASSERT_NE(app.WaitForMainWindow(), nullptr);

  ClickAt(Caption(app, kHelp));
  EXPECT_EQ(WaitForRecord(cd, "write.exe"), "write.exe \"" + drive.Root() + "\\Korvane6 Installation_eng.rtf\"");
  ASSERT_TRUE(app.Running()) << "Help leaves the menu open";

  std::string before = LogStamp();
  ClickAt(Picture(app, kKorvane));
  ASSERT_TRUE(app.WaitForExit(8000));
  std::string after = LogStamp();
  // "K:\" + "\Korvane6..." = "K:\\Korvane6..."
  ExpectSetUpLine(WaitForRecord(cd, kKorvaneStub), drive.Root() + "\\" + kKorvaneStub, "Q", before, after);
}

// A set-up missing from the CD: no message, the menu stays open and usable.
TEST_F(Launch, MissingSetUpLeavesTheMenuOpen) {
  struct {
    int entry;
    CdLayout layout;
  } rows[] = {
      {kXmanager, CdLayout{false, true, true, true}},
      {kKorvane, CdLayout{true, false, true, true}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.entry);
    CdFolder cd("missing", row.layout);
    LauncherProcess app(cd.Launcher());
    ASSERT_NE(app.WaitForMainWindow(), nullptr);
    ClickAt(Caption(app, row.entry));
    // Help answers only once the click before it has been handled, and
    // only if no box made the menu modal.
    ClickAt(Caption(app, kHelp));
    EXPECT_NE(WaitForRecord(cd, "write.exe"), "") << "the menu does not answer after a missing set-up";
    EXPECT_EQ(FindWindowW(L"#32770", Title().c_str()), nullptr) << "no message for a missing set-up";
    ASSERT_TRUE(app.Running());
    EXPECT_TRUE(IsWindowVisible(app.Window()));
    ClickAt(Picture(app, kExit));
    EXPECT_TRUE(app.WaitForExit(5000));
    EXPECT_EQ(app.ProcessesStarted(), 1) << "the word processor alone";
  }
}

// Returns once the menu has answered a rest on the Exit entry, which the
// input queue gives it after everything before: the clicks before it have
// been handled, and what they started is counted. A rest on the panel then
// puts Exit back at rest, so that the next call waits for a change too.
void AnsweredInputAfterIt(const LauncherProcess& app) {
  const POINT exit = Picture(app, kExit);
  RestPointer(exit, 0);
  EXPECT_TRUE(WaitForPixel(exit, 0x00FFFFFF)) << "the menu did not answer a rest on Exit";
  RestPointer(app.ScreenPoint("picMexplain", 100, 100), 0);
  EXPECT_TRUE(WaitForPixel(exit, 0x00C0C0FF)) << "the menu did not answer a rest on the panel";
}

// A double-click is one command, on the picture and on the caption: the
// second press is the double-click's, which no entry answers.
TEST_F(Launch, ADoubleClickIsOneCommand) {
  CdFolder cd("double", CdLayout{true, true, true, true});
  LauncherProcess app(cd.Launcher());
  ASSERT_NE(app.WaitForMainWindow(), nullptr);
  const std::string one = "write.exe \"" + cd.Path() + "\\Korvane6 Installation_eng.rtf\"";
  DoubleClickAt(Picture(app, kHelp));
  EXPECT_EQ(WaitForRecord(cd, "write.exe"), one);
  AnsweredInputAfterIt(app);
  EXPECT_EQ(app.ProcessesStarted(), 1) << "the picture";
  DoubleClickAt(Caption(app, kHelp));
  AnsweredInputAfterIt(app);
  EXPECT_EQ(app.ProcessesStarted(), 2) << "the caption";
  WaitUntil([&] { return cd.RecordedCommandLines("write.exe") == one + "\n" + one; });
  EXPECT_EQ(cd.RecordedCommandLines("write.exe"), one + "\n" + one);
  EXPECT_TRUE(app.Running());
}

// The box is modal to the menu itself, also when the menu is not the active
// window at the click (here a click that reaches it while another program's
// window is in front): the menu is disabled until OK is pressed.
TEST_F(Launch, TheBoxIsModalToTheMenuEvenWhenAnotherWindowIsActive) {
  seed_.CreateKey(kWinaXe);
  ASSERT_TRUE(seed_.Ok()) << seed_.Failure();
  CdFolder cd("modal");
  LauncherProcess app(cd.Launcher());
  ASSERT_NE(app.WaitForMainWindow(), nullptr);
  HWND front = CreateWindowExA(0, "STATIC", "in front", WS_POPUP | WS_VISIBLE, 10, 10, 100, 50, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  SetForegroundWindow(front);
  Sleep(200);
  HWND entry = app.Control("picM(1)");
  PostMessageA(entry, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(6, 24));
  PostMessageA(entry, WM_LBUTTONUP, 0, MAKELPARAM(6, 24));
  HWND box = WaitForBoxOrExit(app);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(GetWindow(box, GW_OWNER), app.Window());
  EXPECT_FALSE(IsWindowEnabled(app.Window())) << "the menu still takes clicks while the box shows";
  PressOk(box);
  EXPECT_TRUE(app.WaitForExit(5000));
  DestroyWindow(front);
}

// Help any number of times: each click starts the word processor again, the
// menu stays; Exit then ends the program without asking.
TEST_F(Launch, HelpRepeatedThenExit) {
  CdFolder cd("help", CdLayout{true, true, true, true});
  LauncherProcess app(cd.Launcher());
  ASSERT_NE(app.WaitForMainWindow(), nullptr);
  std::string one = "write.exe \"" + cd.Path() + "\\Korvane6 Installation_eng.rtf\"";
  ClickAt(Caption(app, kHelp));
  EXPECT_EQ(WaitForRecord(cd, "write.exe"), one);
  ClickAt(Picture(app, kHelp));
  WaitUntil([&] { return cd.RecordedCommandLines("write.exe") != one; }, 5000);
  EXPECT_EQ(cd.RecordedCommandLines("write.exe"), one + "\n" + one);
  EXPECT_TRUE(app.Running());
  ClickAt(Caption(app, kExit));
  ASSERT_TRUE(app.WaitForExit(5000)) << "Exit ends the program";
  EXPECT_EQ(app.ExitCode(), 0u);
  EXPECT_EQ(app.ProcessesStarted(), 2) << "the word processor twice, and nothing else";
}

// Where write.exe cannot be started, the notes open with the program that the
// system associates with .rtf documents (here a recording stand-in).
TEST_F(Launch, HelpWithoutWordProcessorOpensTheAssociatedProgram) {
  CdFolder cd("no write");
  {
    // Found first by the search, but not a program: the start fails.
    std::ofstream notAProgram(cd.Path() + "\\write.exe", std::ios::binary);
    notAProgram << "not a program";
  }
  ASSERT_TRUE(CopyInto(BuildPath("bin\\stub_setup.exe"), cd.Path() + "\\viewer.exe"));
  // The shell reads the view of the menu's own bitness, which is this program's.
  RegistrySeed classes(HKEY_LOCAL_MACHINE, 0);
  classes.SetString("Software\\Classes\\.rtf", "", "KorvaneTest.Notes");
  classes.SetString("Software\\Classes\\KorvaneTest.Notes\\shell\\open\\command", "",
                    "\"" + cd.Path() + "\\viewer.exe\" \"%1\"");
  ASSERT_TRUE(classes.Ok()) << classes.Failure();

  LauncherProcess app(cd.Launcher());
  ASSERT_NE(app.WaitForMainWindow(), nullptr);
  ClickAt(Caption(app, kHelp));
  EXPECT_EQ(WaitForRecord(cd, "viewer.exe"),
            "\"" + cd.Path() + "\\viewer.exe\" \"" + cd.Path() + "\\Korvane6 Installation_eng.rtf\"");
  EXPECT_TRUE(app.Running()) << "Help leaves the menu open";
}

}  // namespace
