// What the hover handlers paint, counted on a real main window in this
// process: a rest that changes nothing on the screen paints nothing, and one
// that does paints only the boxes that change. The hover messages are sent
// straight to the tracked controls, so no pointer is involved.
#include <windows.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "launcher/frmMain.h"
#include "launcher/mdlLanguage.h"
#include "tests/harness/Desktop.h"
#include "tests/harness/PaintCounter.h"

namespace {

void Pump() {
  MSG m;
  for (int i = 0; i < 20; ++i) {
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    Sleep(5);
  }
}

class Painting : public ::testing::Test {
 protected:
  void SetUp() override {
    harness::JumpPointer({5, 5});
    static bool registered = false;
    if (!registered) tk::Form::RegisterClasses(GetModuleHandleA(nullptr));
    registered = true;
    LanguageIndex = 1;
    form_ = std::make_unique<frmMain>();
    form_->Show();
    Pump();
    std::vector<HWND> windows;
    for (tk::PictureBox* box : Boxes()) windows.push_back(box->hwnd());
    paints_ = std::make_unique<harness::PaintCounter>(windows);
  }
  void TearDown() override {
    paints_.reset();
    form_.reset();
  }

  std::vector<tk::PictureBox*> Boxes() {
    return {&form_->picM(1), &form_->picM(2), &form_->picM(3), &form_->picM(4), &form_->picMexplain};
  }
  // The boxes that painted since the last call, by name.
  std::string Painted() {
    std::string names;
    for (tk::PictureBox* box : Boxes())
      if (paints_->Paints(box->hwnd()) > 0) names += (names.empty() ? "" : " ") + box->Name();
    paints_->Reset();
    return names;
  }
  void Hover(tk::PictureBox& box) {
    SendMessageA(box.hwnd(), WM_MOUSEHOVER, 0, MAKELPARAM(20, 10));
    Pump();
  }
  std::unique_ptr<frmMain> form_;
  std::unique_ptr<harness::PaintCounter> paints_;
};

TEST_F(Painting, OnlyWhatChangesIsPainted) {
  const struct {
    const char* what;
    tk::PictureBox& (*box)(frmMain&);
    const char* painted;
  } steps[] = {
      {"rest on entry 2", [](frmMain& f) -> tk::PictureBox& { return f.picM(2); }, "picM(2) picMexplain"},
      {"rest on entry 2 again", [](frmMain& f) -> tk::PictureBox& { return f.picM(2); }, ""},
      {"onto its strip", [](frmMain& f) -> tk::PictureBox& { return f.picMB(2); }, ""},
      {"rest on entry 3", [](frmMain& f) -> tk::PictureBox& { return f.picM(3); }, "picM(2) picM(3) picMexplain"},
      {"onto the panel", [](frmMain& f) -> tk::PictureBox& { return f.picMexplain; }, "picM(3) picMexplain"},
      {"onto the bar", [](frmMain& f) -> tk::PictureBox& { return f.picBalken; }, ""},
      {"onto the filler", [](frmMain& f) -> tk::PictureBox& { return f.picMend; }, ""},
  };
  for (const auto& step : steps) {
    Hover(step.box(*form_));
    EXPECT_EQ(Painted(), step.painted) << step.what;
  }
}

}  // namespace
