// The main window as the user sees it: fixed size and place at 96 and 120
// DPI, closing, and a load that fails. (Title and pictures in every
// language: window_languages_e2e.cpp.)
#include <windows.h>
#include <gtest/gtest.h>

#include <memory>

#include "tests/harness/CdFolder.h"
#include "tests/harness/Desktop.h"
#include "tests/harness/ExeResources.h"
#include "tests/harness/Launcher.h"
#include "tests/harness/PeResources.h"
#include "tests/harness/RegistrySeed.h"

using namespace harness;

namespace {

class Window : public ::testing::Test {
 protected:
  // The pointer off the window: resting on an entry would change the panel.
  void SetUp() override { JumpPointer({5, 5}); }
  CdFolder cd{"window"};
};

TEST_F(Window, FixedSizeAndPlaceAt96Dpi) {
  LauncherProcess app(cd.Launcher());
  HWND w = app.WaitForMainWindow();
  ASSERT_NE(w, nullptr);
  RECT outer, client;
  GetWindowRect(w, &outer);
  GetClientRect(w, &client);
  EXPECT_EQ(outer.right - outer.left, 484);
  EXPECT_EQ(outer.bottom - outer.top, 347);
  EXPECT_EQ(client.right, 478);
  EXPECT_EQ(client.bottom, 322);
  POINT origin = app.ScreenPoint(0, 0);
  EXPECT_EQ(origin.x, 390);  // 5850 twips
  EXPECT_EQ(origin.y, 357);  // 5355 twips

  LONG style = GetWindowLongA(w, GWL_STYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU) << "close box";
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) << "no minimize or maximize button";
  EXPECT_FALSE(style & WS_THICKFRAME) << "not resizable";
  // (The window's icon cannot be read from here: this Wine answers WM_GETICON
  // from another process with 0. The resource tests check the icon itself.)
}

TEST_F(Window, ClosingTheWindowEndsTheProgram) {
  LauncherProcess app(cd.Launcher());
  HWND w = app.WaitForMainWindow();
  ASSERT_NE(w, nullptr);
  PostMessageW(w, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(app.WaitForExit(5000)) << "still running after the close box";
  EXPECT_EQ(app.ExitCode(), 0u);
}

// A launcher whose welcome panel is missing cannot load: it reports the
// failure and ends with a non-zero exit code instead of showing a broken menu.
TEST_F(Window, LoadFailureIsReportedAndEndsTheProgram) {
  std::string broken = cd.Path() + "\\Broken.exe";
  ASSERT_TRUE(CopyInto(cd.Launcher(), broken));
  int missing = 220 + ExpectedLanguageIndex();
  ASSERT_TRUE(RenumberResource(broken, 2 /* RT_BITMAP */, missing, 60000));

  LauncherProcess app(broken);
  HWND box = WaitForMessageBox(L"Korvane6Menu");
  ASSERT_NE(box, nullptr) << "no error report";
  EXPECT_NE(MessageBoxText(box).find(std::to_wstring(missing)), std::wstring::npos) << Narrow(MessageBoxText(box));
  PressOk(box);
  ASSERT_TRUE(app.WaitForExit(5000));
  EXPECT_EQ(app.ExitCode(), 1u);
}

// At 120 DPI the outer size stays 484 x 347 pixels; the taller caption
// leaves a smaller client area, and the place in twips becomes other pixels.
TEST_F(Window, OuterSizeFixedAt120Dpi) {
  auto dpi = std::make_unique<RegistrySeed>(HKEY_CURRENT_USER);
  dpi->SetDword("Control Panel\\Desktop", "LogPixels", 120);
  ASSERT_TRUE(dpi->Ok()) << dpi->Failure();
  LauncherProcess app(cd.Launcher());
  HWND w = app.WaitForMainWindow();
  dpi.reset();  // read once per process: the launcher has it
  ASSERT_NE(w, nullptr);
  RECT outer, client;
  GetWindowRect(w, &outer);
  GetClientRect(w, &client);
  EXPECT_EQ(outer.right - outer.left, 484);
  EXPECT_EQ(outer.bottom - outer.top, 347);
  EXPECT_EQ(client.right, 478);
  EXPECT_LT(client.bottom, 322);
  POINT origin = app.ScreenPoint(0, 0);
  EXPECT_EQ(origin.x, 488);  // 5850 / 12 = 487.5, to the even neighbour
  EXPECT_EQ(origin.y, 446);  // 5355 / 12 = 446.25
}

}  // namespace
