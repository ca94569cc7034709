// The release from a real CD drive: the ISO image that the build makes,
// shown to Wine as a read-only CD-ROM drive, and the menu started from the
// drive's root as autorun.inf names it. There the program folder ends in a
// backslash, so the command lines hold the doubled backslash of the design.
#include <windows.h>
#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "tests/commands/E2e.h"
#include "tests/harness/CdFolder.h"
#include "tests/harness/Desktop.h"
#include "tests/harness/Launcher.h"
#include "tests/harness/WineHost.h"
#include "tests/harness/paths.h"

using namespace harness;
using namespace e2e;

namespace {

const wchar_t kDemoSetupTitle[] = L"Demo set-up: command line received";

// Every file below `folder` with its size and last write time.
void List(const std::string& folder, std::map<std::string, std::string>* files) {
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA((folder + "*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      List(folder + name + "\\", files);
    } else {
      (*files)[folder + name] = std::to_string(found.nFileSizeLow) + " " +
                                std::to_string(found.ftLastWriteTime.dwLowDateTime) + " " +
                                std::to_string(found.ftLastWriteTime.dwHighDateTime);
    }
  } while (FindNextFileA(find, &found));
  FindClose(find);
}

// For a failure: the menu's own message box, if it shows one, and whether
// it still runs.
std::string WhatTheMenuShows(LauncherProcess& app) {
  HWND box = FindWindowW(L"#32770", Title().c_str());
  std::string shown = box ? "the menu shows \"" + Narrow(BoxText(box)) + "\"" : "the menu shows no message";
  return shown + (app.Running() ? " and still runs" : " and has ended");
}

class CdDrive : public SeededMachine {
 protected:
  static void SetUpTestSuite() { drive_ = std::make_unique<CdromDrive>(KORVANE_CD_IMAGE, KORVANE_CD_FOLDER); }
  static void TearDownTestSuite() { drive_.reset(); }

  void SetUp() override {
    ASSERT_TRUE(drive_->Ok()) << drive_->Failure();
    SeededMachine::SetUp();
    if (HasFatalFailure()) return;
    List(Root(), &before_);
    ASSERT_FALSE(before_.empty()) << "nothing on the drive";
  }
  void TearDown() override {
    std::map<std::string, std::string> after;
    List(Root(), &after);
    EXPECT_EQ(after, before_) << "something was written on the CD";
  }

  static const std::string& Root() { return drive_->Root(); }
  // The program that autorun.inf opens, as the drive's root names it.
  static std::string AutorunProgram() {
    char open[MAX_PATH] = {};
    GetPrivateProfileStringA("autorun", "open", "", open, MAX_PATH, (Root() + "autorun.inf").c_str());
    return Root() + open;
  }

  static std::unique_ptr<CdromDrive> drive_;
  std::map<std::string, std::string> before_;
};

std::unique_ptr<CdromDrive> CdDrive::drive_;

TEST_F(CdDrive, IsAReadOnlyCdRomWithTheMenuAtItsRoot) {
  EXPECT_EQ(GetDriveTypeA(Root().c_str()), static_cast<UINT>(DRIVE_CDROM));
  EXPECT_EQ(AutorunProgram(), Root() + "Korvane6Menu.exe");
  EXPECT_NE(GetFileAttributesA(AutorunProgram().c_str()), INVALID_FILE_ATTRIBUTES);
  HANDLE file = CreateFileA((Root() + "written.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  EXPECT_EQ(file, INVALID_HANDLE_VALUE) << "a file could be created on the CD";
  if (file != INVALID_HANDLE_VALUE) {
    CloseHandle(file);
    DeleteFileA((Root() + "written.txt").c_str());
  }
}

// Both set-ups, started from the CD as its own demo set-up reports the line
// it received: "D:\\Xmanager\DISK1\setup.exe /v"/l* C:\windows\X....log"".
TEST_F(CdDrive, SetUpsGetTheDoubledBackslashAtTheDriveRoot) {
  const struct {
    Entry entry;
    const char* setup;
    const char* tag;
  } cases[] = {
      {kXmanager, "\\Xmanager\\DISK1\\setup.exe", "X"},
      {kKorvane, "\\Korvane6\\DISK1\\setup.exe", "Q"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.setup);
    LauncherProcess app(AutorunProgram(), Root());
    ASSERT_NE(app.WaitForMainWindow(), nullptr);
    const std::string stampBefore = LogStamp();
    ClickAt(Caption(app, c.entry));
    HWND box = WaitForMessageBox(kDemoSetupTitle);
    const std::string stampAfter = LogStamp();
    ASSERT_NE(box, nullptr) << "the set-up on the CD did not start; " << WhatTheMenuShows(app);
    const std::string got = Narrow(MessageBoxText(box));
    ExpectSetUpLine(got, Root() + c.setup, c.tag, stampBefore, stampAfter);
    EXPECT_EQ(got.substr(0, 4), Root() + "\\") << "the doubled backslash";
    PressOk(box);
    EXPECT_TRUE(app.WaitForExit(5000)) << "the menu ends after the set-up start";
  }
}

// Help opens the notes from the drive's root. The word processor is a
// stand-in that records its command line, found in the current folder, which
// the search for a program looks in right after the program's own folder.
TEST_F(CdDrive, HelpOpensTheNotesWithTheDoubledBackslash) {
  CdFolder scratch("cd-help", CdLayout{false, false, true, false});
  LauncherProcess app(AutorunProgram(), scratch.Path());
  ASSERT_NE(app.WaitForMainWindow(), nullptr);
  ClickAt(Caption(app, kHelp));
  EXPECT_EQ(WaitForRecord(scratch, "write.exe"), "write.exe \"" + Root() + "\\Korvane6 Installation_eng.rtf\"");
  EXPECT_TRUE(app.Running()) << "Help leaves the menu open";
  ClickAt(Caption(app, kExit));
  EXPECT_TRUE(app.WaitForExit(5000));
}

}  // namespace
