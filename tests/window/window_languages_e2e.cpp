// The main window in the system's language, for every language the menu
// speaks and for two it does not: the title, and the header and welcome
// pictures on the screen.
#include <windows.h>
#include <gtest/gtest.h>

#include "tests/harness/CdFolder.h"
#include "tests/harness/Desktop.h"
#include "tests/harness/ExeResources.h"
#include "tests/harness/Launcher.h"

using namespace harness;

namespace {

const char* const kTitles[] = {
    u8" Installations CD - KORVANE 6",   u8" Installation CD - KORVANE 6", u8" CD d'installation - KORVANE 6",
    u8" CD d'installazione - KORVANE 6", u8" CD instalación - KORVANE 6",
};

std::wstring Title(HWND w) {
  wchar_t text[256] = {};
  GetWindowTextW(w, text, 256);
  return text;
}

class Window : public ::testing::Test {
 protected:
  // The pointer off the window: resting on an entry would change the panel.
  void SetUp() override { JumpPointer({5, 5}); }
  CdFolder cd{"window"};
};

TEST_F(Window, TitleInSystemLanguage) {
  LauncherProcess app(cd.Launcher());
  HWND w = app.WaitForMainWindow();
  ASSERT_NE(w, nullptr) << "no main window appeared";
  EXPECT_EQ(Narrow(Title(w)), kTitles[ExpectedLanguageIndex()]);
}

TEST_F(Window, HeaderAndWelcomePanelOnScreen) {
  LauncherProcess app(cd.Launcher());
  ASSERT_NE(app.WaitForMainWindow(), nullptr);
  std::string diff;
  // The header picture (478 x 87) is cut off at its box of 473 x 81.
  EXPECT_EQ(BitmapDifferences(cd.Launcher(), 100, app.ScreenPoint(0, 0), 473, 81, 9, 7, &diff), 0) << diff;
  EXPECT_EQ(
      BitmapDifferences(cd.Launcher(), 200 + ExpectedLanguageIndex(), app.ScreenPoint(180, 93), 298, 229, 9, 7, &diff),
      0)
      << "welcome panel " << diff;
  // The red bar under the header, across the whole client width.
  EXPECT_EQ(ScreenPixel(app.ScreenPoint(2, 88)), 0x000000FFu);
  EXPECT_EQ(ScreenPixel(app.ScreenPoint(476, 92)), 0x000000FFu);
  // Between the header box (81 high) and the bar (from 87) the white window shows.
  EXPECT_EQ(ScreenPixel(app.ScreenPoint(100, 84)), 0x00FFFFFFu);
}

}  // namespace
