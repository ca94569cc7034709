// What the hover handlers paint, counted on a real main window in this
// process: a rest that changes nothing on the screen paints nothing, and one
// that does paints only the boxes that change. The hover messages are sent
// straight to the tracked controls, so no pointer is involved.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "hover/mdlPlayWavRes.h"
#include "launcher/MenuColors.h"
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
    NewForm();
  }
  void NewForm() {
    paints_.reset();
    form_.reset();
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

// ---- Colour schemes ----------------------------------------------------------

// WCAG 2's relative luminance and contrast ratio: a measure of legibility
// that knows nothing of the menu.
double Luminance(COLORREF c) {
  auto linear = [](int v) {
    double s = v / 255.0;
    return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(GetRValue(c)) + 0.7152 * linear(GetGValue(c)) + 0.0722 * linear(GetBValue(c));
}
double Contrast(COLORREF a, COLORREF b) {
  double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// An entry as the screen shows it: its most common colour, and the pixels of
// its caption that contrast 4.5:1 or more with that colour.
struct EntryLook {
  COLORREF main = CLR_INVALID;
  int readable = 0;
};
EntryLook LookOf(frmMain& form, int entry) {
  HWND w = form.picM(entry).hwnd();
  RECT client;
  GetClientRect(w, &client);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), client.right, -client.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC screen = GetDC(w);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, dib);
  BitBlt(mem, 0, 0, client.right, client.bottom, screen, 0, 0, SRCCOPY);
  GdiFlush();
  auto pixel = [&](int x, int y) {
    const DWORD bgrx = static_cast<const DWORD*>(bits)[y * client.right + x];
    return RGB((bgrx >> 16) & 0xFF, (bgrx >> 8) & 0xFF, bgrx & 0xFF);
  };
  EntryLook look;
  std::map<COLORREF, int> counts;
  for (int y = 0; y < client.bottom; ++y)
    for (int x = 0; x < client.right; ++x) ++counts[pixel(x, y)];
  look.main =
      std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; })->first;
  const RECT caption = form.lblM(entry).PixelRect();
  for (int y = std::max(0L, caption.top); y < std::min(client.bottom, caption.bottom); ++y)
    for (int x = std::max(0L, caption.left); x < std::min(client.right, caption.right); ++x)
      if (Contrast(pixel(x, y), look.main) >= 4.5) ++look.readable;
  SelectObject(mem, old);
  DeleteObject(dib);
  DeleteDC(mem);
  ReleaseDC(w, screen);
  return look;
}

// The system's colours as High Contrast Black sets them, for the test's
// lifetime.
class HighContrastBlack {
 public:
  HighContrastBlack() {
    for (int i = 0; i < kCount; ++i) saved_[i] = GetSysColor(kElements[i]);
    const COLORREF colors[kCount] = {RGB(0, 0, 0),       RGB(255, 255, 255), RGB(128, 0, 128),
                                     RGB(255, 255, 255), RGB(0, 0, 0),       RGB(255, 255, 255)};
    ok_ = SetSysColors(kCount, kElements, colors) && GetSysColor(COLOR_BTNTEXT) == RGB(255, 255, 255);
  }
  ~HighContrastBlack() { SetSysColors(kCount, kElements, saved_); }
  bool Ok() const { return ok_; }

 private:
  static constexpr int kCount = 6;
  static constexpr INT kElements[kCount] = {COLOR_BTNFACE,       COLOR_BTNTEXT, COLOR_HIGHLIGHT,
                                            COLOR_HIGHLIGHTTEXT, COLOR_WINDOW,  COLOR_WINDOWTEXT};
  COLORREF saved_[kCount];
  bool ok_ = false;
};

// Windows' answer while a contrast theme is on; Wine's is always "off".
BOOL WINAPI ContrastThemeOn(UINT action, UINT, PVOID param, UINT) {
  if (action != SPI_GETHIGHCONTRAST) return FALSE;
  static_cast<HIGHCONTRASTW*>(param)->dwFlags = HCF_HIGHCONTRASTON | HCF_AVAILABLE;
  return TRUE;
}

// In High Contrast Black's colours every caption stays readable, at rest
// and lit: in the program's own colours while Windows says no theme is on,
// and in the system's own pairs while it says one is.
TEST_F(Painting, CaptionsAreReadableInAContrastTheme) {
  HighContrastBlack colors;
  ASSERT_TRUE(colors.Ok()) << "the system's colours could not be set";
  for (bool themeOn : {false, true}) {
    SCOPED_TRACE(themeOn ? "theme on: the system's colours" : "theme off: the program's colours");
    const auto saved = g_systemParametersInfo;
    if (themeOn) g_systemParametersInfo = ContrastThemeOn;
    NewForm();
    g_systemParametersInfo = saved;
    for (int lit : {0, 2}) {
      if (lit) Hover(form_->picM(lit));
      for (int k = 1; k <= 4; ++k) {
        const EntryLook look = LookOf(*form_, k);
        EXPECT_GE(look.readable, 30) << "entry " << k << (k == lit ? " lit" : " at rest");
        if (themeOn) {
          EXPECT_EQ(look.main, GetSysColor(k == lit ? COLOR_HIGHLIGHT : COLOR_BTNFACE)) << "entry " << k;
        }
      }
    }
  }
}

// ---- One sound per visit ------------------------------------------------------

int g_plays = 0;
HWND g_replayedEntry = nullptr;
// A play during which the window gets its messages again, as when a COM call
// of the shell's dispatches them: the same rest reaches the entry once more.
BOOL WINAPI PlayThatDispatches(LPCSTR, UINT) {
  if (++g_plays == 1) SendMessageA(g_replayedEntry, WM_MOUSEHOVER, 0, MAKELPARAM(20, 10));
  return TRUE;
}

TEST_F(Painting, ARestThatComesAgainWhileTheSoundPlaysIsSilent) {
  g_plays = 0;
  g_replayedEntry = form_->picM(2).hwnd();
  mdlPlayWavRes::g_sndPlaySound = PlayThatDispatches;
  Hover(form_->picM(2));
  mdlPlayWavRes::g_sndPlaySound = nullptr;
  EXPECT_EQ(g_plays, 1);
}

}  // namespace
