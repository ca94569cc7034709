// A CD folder whose name the ANSI code page cannot hold ("Łódź" has two
// letters outside Windows-1252): the program folder, the set-ups' command
// lines and the notes command keep every character. Run under LC_ALL=C.UTF-8,
// the one locale here in which Wine opens such Unix names (system language
// English).
#include <windows.h>
#include <gtest/gtest.h>

#include "tests/commands/E2e.h"
#include "tests/harness/CdFolder.h"
#include "tests/harness/Desktop.h"
#include "tests/harness/Launcher.h"
#include "tests/harness/WineHost.h"

using namespace harness;
using namespace e2e;

namespace {

const char kName[] = u8"Łódź CD";

class UnicodeFolder : public SeededMachine {
 protected:
  void SetUp() override {
    SeededMachine::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_NE(GetFileAttributesW(Wide(cd_.Launcher().c_str()).c_str()), INVALID_FILE_ATTRIBUTES)
        << "the test could not lay out " << cd_.Path();
  }
  CdFolder cd_{kName, CdLayout{true, true, true, true}};
};

TEST_F(UnicodeFolder, SetUpsGetTheWholeFolderName) {
  const struct {
    Entry entry;
    const char* setup;
    const char* tag;
  } cases[] = {
      {kXmanager, "Xmanager\\DISK1\\setup.exe", "X"},
      {kKorvane, "Korvane6\\DISK1\\setup.exe", "Q"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.setup);
    LauncherProcess app(cd_.Launcher());
    ASSERT_NE(app.WaitForMainWindow(), nullptr);
    const std::string before = LogStamp();
    ClickAt(Caption(app, c.entry));
    ASSERT_TRUE(app.WaitForExit(5000)) << "the set-up did not start: the menu is still open";
    ExpectSetUpLine(WaitForRecord(cd_, c.setup), cd_.Path() + "\\" + c.setup, c.tag, before, LogStamp());
  }
}

TEST_F(UnicodeFolder, HelpGetsTheWholeFolderName) {
  LauncherProcess app(cd_.Launcher());
  ASSERT_NE(app.WaitForMainWindow(), nullptr);
  ClickAt(Caption(app, kHelp));
  EXPECT_EQ(WaitForRecord(cd_, "write.exe"), "write.exe \"" + cd_.Path() + "\\Korvane6 Installation_eng.rtf\"");
  ClickAt(Caption(app, kExit));
  EXPECT_TRUE(app.WaitForExit(5000));
}

}  // namespace
