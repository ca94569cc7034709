// The menu on a screen 800 x 600 pixels large: the warning before the
// Korvane 6 set-up, and the window moved so that it fits.
#include <windows.h>
#include <gtest/gtest.h>

#include "tests/commands/E2e.h"
#include "tests/harness/CdFolder.h"
#include "tests/harness/Desktop.h"
#include "tests/harness/WineHost.h"

using namespace harness;
using namespace e2e;

namespace {

const char kKorvaneStub[] = "Korvane6\\DISK1\\setup.exe";

class NarrowScreen : public SeededMachine {
 protected:
  NarrowScreen() : SeededMachine(800, 600) {}
};

// The warning comes first, in the system's language, and closes the window;
// the set-up starts after it. Without a set-up the program ends all the same.
TEST_F(NarrowScreen, WarnsInTheSystemLanguageThenStartsTheSetUp) {
  for (bool present : {true, false}) {
    SCOPED_TRACE(present ? "set-up present" : "set-up missing");
    CdFolder cd("narrow", CdLayout{true, present, false, true});
    LauncherProcess app(cd.Launcher());
    ASSERT_NE(app.WaitForMainWindow(), nullptr);
    ClickAt(Caption(app, kKorvane));
    HWND box = WaitForBoxOrExit(app);
    ASSERT_NE(box, nullptr) << "no warning at 800 pixels";
    EXPECT_EQ(Narrow(BoxText(box)), Narrow(Expected({310, 320})));
    EXPECT_FALSE(MessageBoxHasIcon(box));
    EXPECT_EQ(MessageBoxButtonCount(box), 1);
    EXPECT_EQ(cd.RecordedCommandLines(kKorvaneStub), "") << "the set-up waits for the warning";
    PressOk(box);
    ASSERT_TRUE(app.WaitForExit(5000)) << "the program ends after the warning";
    EXPECT_EQ(app.ProcessesStarted(), present ? 1 : 0);
    if (present) {
      EXPECT_NE(WaitForRecord(cd, kKorvaneStub), "");
    }
  }
}

// Its fixed place (client area at 390, 357) would put the window's right and
// bottom edges beyond the screen: it moves up and left just enough, at its
// own size.
TEST_F(NarrowScreen, TheWindowMovesUpAndLeftJustEnoughToFit) {
  CdFolder cd("narrow");
  LauncherProcess app(cd.Launcher());
  HWND w = app.WaitForMainWindow();
  ASSERT_NE(w, nullptr);
  RECT outer;
  GetWindowRect(w, &outer);
  EXPECT_EQ(outer.right - outer.left, 484);
  EXPECT_EQ(outer.bottom - outer.top, 347);
  EXPECT_EQ(outer.right, 800);
  EXPECT_EQ(outer.bottom, 600);
}

}  // namespace
