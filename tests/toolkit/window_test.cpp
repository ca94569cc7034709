// Windows that cannot be made fail at once, with a report that names them,
// and leave the toolkit's count of open forms as it was.
#include <gtest/gtest.h>

#include <string>

#include "toolkit/Form.h"

namespace {

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

tk::FormDefinition Definition() { return {L"Window test", "100", {0, 0, 3000, 2000}, 0x00C0C0FF, 0}; }

// A container whose window is gone: children cannot be made on it.
struct NoWindow : tk::Container {
  HWND hwnd() const override { return nullptr; }
};

// True when WM_QUIT is waiting, which the last form's end posts.
bool QuitPosted() {
  MSG msg;
  return PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
}

TEST(Windows, ClassesRegisterTwiceWithoutComplaint) {
  EXPECT_NO_THROW(tk::Form::RegisterClasses(Instance()));
  EXPECT_NO_THROW(tk::Form::RegisterClasses(Instance()));
}

TEST(Windows, APictureBoxWithoutAParentWindowFailsNamingItself) {
  tk::Form::RegisterClasses(Instance());
  NoWindow parent;
  tk::PictureBox box(parent, {0, 0, 300, 300}, 0x00FFFFFF, "picOrphan");
  try {
    box.hwnd();
    FAIL() << "a child window without a parent was made";
  } catch (const tk::WindowError& e) {
    EXPECT_NE(std::string(e.what()).find("picOrphan"), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("system error"), std::string::npos) << e.what();
  }
}

TEST(Windows, AFormWhoseClassIsGoneFailsAndTheNextFormStillEndsTheLoop) {
  tk::Form::RegisterClasses(Instance());
  ASSERT_TRUE(UnregisterClassW(L"KorvaneForm", Instance()));
  EXPECT_THROW(tk::Form form(Definition()), tk::WindowError);

  tk::Form::RegisterClasses(Instance());
  {
    tk::Form form(Definition());
    ASSERT_NE(form.hwnd(), nullptr);
    EXPECT_FALSE(QuitPosted());
    form.Unload();
  }
  // Only a count that the failed form left untouched reaches zero here.
  EXPECT_TRUE(QuitPosted());
}

// A press and its release click the box. A press whose capture is taken away
// (a consent prompt or another program in front, Ctrl+Alt+Del) is forgotten:
// the release that follows clicks nothing.
TEST(Windows, APressWhoseCaptureIsLostClicksNothing) {
  tk::Form::RegisterClasses(Instance());
  tk::Form form(Definition());
  form.Show();
  {
    tk::PictureBox box(form, {0, 0, 1500, 1500}, 0x00FFFFFF, "picPressed");
    int clicks = 0;
    box.Click = [&] { ++clicks; };
    const struct {
      const char* what;
      void (*between)(HWND box, HWND form);
      int clicks;
    } cases[] = {
        {"press, release", [](HWND, HWND) {}, 1},
        {"press, WM_CANCELMODE, release", [](HWND b, HWND) { SendMessageA(b, WM_CANCELMODE, 0, 0); }, 0},
        {"press, capture to another window, release", [](HWND, HWND f) { SetCapture(f); }, 0},
    };
    for (const auto& c : cases) {
      clicks = 0;
      SendMessageA(box.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
      c.between(box.hwnd(), form.hwnd());
      SendMessageA(box.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
      ReleaseCapture();
      EXPECT_EQ(clicks, c.clicks) << c.what;
    }
  }
  form.Unload();
  QuitPosted();
}

}  // namespace
