// MenuLayout on a real main window in this process (the test program carries
// the launcher's resources): the rectangles, the captions in every language,
// the caption geometry and font, the window-level variables and the trackers.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "hover/clsTrackMouse.h"
#include "hover/mdlTrackMouse.h"
#include "launcher/frmMain.h"
#include "launcher/mdlLanguage.h"
#include "tests/harness/CallSite.h"
#include "tests/harness/Desktop.h"
#include "tests/harness/Launcher.h"
#include "tests/harness/RegistrySeed.h"
#include "toolkit/ScopedWin.h"

namespace {

// The unload handler is the window's own; the test calls it directly.
struct TestForm : frmMain {
  using frmMain::Form_Unload;
};

// A main window in that language, not yet shown.
std::unique_ptr<TestForm> NewForm(int language) {
  tk::Form::RegisterClasses(GetModuleHandleA(nullptr));  // a class already there is kept
  LanguageIndex = static_cast<std::int16_t>(language);
  return std::make_unique<TestForm>();
}

std::unique_ptr<TestForm> ShowForm(int language, double fontSize = 0) {
  auto form = NewForm(language);
  if (fontSize > 0)
    for (int i = 1; i <= 4; ++i) form->lblM(i).SetFontSize(fontSize);
  form->Show();
  return form;
}

std::string Entry(int language, int i) {
  return "language " + std::to_string(language) + ", entry " + std::to_string(i);
}

struct Place {
  const char* control;
  int left, top, width, height;
  bool shortened = false;  // takes up what the client lacks in height
};

// Client area 478 x 322 at 96 DPI.
const Place kLayout[] = {
    {"picHeader", 0, 0, 473, 81}, {"picBalken", 0, 87, 478, 6},        {"picM(1)", 0, 93, 180, 28},
    {"picMB(1)", 0, 121, 180, 1}, {"picM(2)", 0, 122, 180, 28},        {"picMB(2)", 0, 150, 180, 1},
    {"picM(3)", 0, 151, 180, 28}, {"picMB(3)", 0, 179, 180, 1},        {"picM(4)", 0, 180, 180, 28},
    {"picMB(4)", 0, 208, 180, 1}, {"picMend", 0, 209, 180, 113, true}, {"picMexplain", 180, 93, 298, 229, true}};

void ExpectPlaces(const frmMain& form, int shorterBy, harness::CallSite at = harness::CallSite::Here()) {
  const ::testing::ScopedTrace caller(at.file, at.line, "called from here");
  for (const Place& p : kLayout) {
    HWND h = GetDlgItem(form.hwnd(), harness::ControlIdOf(p.control));
    ASSERT_NE(h, nullptr) << p.control;
    RECT r;  // in the main window's client pixels
    GetWindowRect(h, &r);
    MapWindowPoints(nullptr, form.hwnd(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, p.left) << p.control;
    EXPECT_EQ(r.top, p.top) << p.control;
    EXPECT_EQ(r.right - r.left, p.width) << p.control;
    EXPECT_EQ(r.bottom - r.top, p.height - (p.shortened ? shorterBy : 0)) << p.control;
    EXPECT_TRUE(IsWindowVisible(h)) << p.control;
  }
}

TEST(MenuLayout, EveryRectangleAt96Dpi) {
  auto form = ShowForm(1);
  RECT client;
  GetClientRect(form->hwnd(), &client);
  ASSERT_EQ(client.right, 478);
  ASSERT_EQ(client.bottom, 322);
  ExpectPlaces(*form, 0);
  for (int k = 0; k <= 4; ++k) EXPECT_FALSE(form->picMex(k).Visible()) << "picMex(" << k << ")";
  EXPECT_EQ(form->picMexplain.BackColor(), 0x00FFFFFFu);
  EXPECT_EQ(form->picMend.BackColor(), 0x00C0C0FFu);
  for (int i = 1; i <= 4; ++i) EXPECT_EQ(form->picMB(i).BackColor(), 0x000000FFu) << i;
}

TEST(MenuLayout, ASmallerClientShortensOnlyThePanelAndTheFiller) {
  auto form = ShowForm(1);
  form->SetHeight(form->Height() - 10 * 15);  // ten pixels less, in twips
  form->MenuLayout(*form);
  ExpectPlaces(*form, 10);
}

const char* const kCaptions[5][4] = {
    {u8"&Xmanager installieren", u8"&KORVANE 6  installieren", u8"&Hilfe", u8"&Beenden"},
    {u8"&Xmanager installation", u8"&KORVANE 6  installation", u8"&Help", u8"&Exit"},
    {u8"&Installation de Xmanager", u8"&Installation de KORVANE 6", u8"&Aide", u8"&Quitter"},
    {u8"&Installazione Xmanager", u8"&Installazione  KORVANE 6", u8"&Guida", u8"&Esci"},
    {u8"&Instalación Xmanager", u8"&Instalación  KORVANE 6", u8"&Ayuda", u8"&Salida"},
};

TEST(MenuLayout, CaptionsInEveryLanguageVerdanaBold) {
  for (int language = 0; language <= 4; ++language) {
    auto form = ShowForm(language);
    for (int i = 1; i <= 4; ++i) {
      SCOPED_TRACE(Entry(language, i));
      const tk::Label& caption = form->lblM(i);
      EXPECT_EQ(harness::Narrow(caption.Caption()), kCaptions[language][i - 1]);
      EXPECT_EQ(harness::Narrow(caption.Font().name), "Verdana");
      EXPECT_TRUE(caption.Font().bold);
      EXPECT_DOUBLE_EQ(caption.Font().size, 8.25);
    }
  }
}

BOOL CALLBACK AddToList(HWND h, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(h);
  return TRUE;
}

// A screen reader says a window's text: an entry's is its caption, and no
// window tells the code's names (the other windows say nothing).
TEST(MenuLayout, WindowTextsAreTheCaptionsNotTheCodesNames) {
  for (int language = 0; language <= 4; ++language) {
    auto form = ShowForm(language);
    std::vector<HWND> children;
    EnumChildWindows(form->hwnd(), AddToList, reinterpret_cast<LPARAM>(&children));
    ASSERT_GE(children.size(), 12u);
    for (HWND h : children) {
      wchar_t text[128] = L"sentinel";
      InternalGetWindowText(h, text, 128);
      const int entry = GetDlgCtrlID(h) - frmMain::kIdM;
      if (entry >= 1 && entry <= 4)
        EXPECT_EQ(harness::Narrow(text), kCaptions[language][entry - 1]) << Entry(language, entry);
      else
        EXPECT_EQ(harness::Narrow(text), "") << language << ", control id " << GetDlgCtrlID(h);
    }
  }
}

// Height: font size + 1, to the even neighbour on halves, times 1.5, read as
// pixels. Positions are in the entry's twips, 15 to the pixel here.
TEST(MenuLayout, CaptionGeometryFollowsTheFontSize) {
  // Heights in twips: 9.25 -> 9 -> 13.5 px, 9.5 -> 10 -> 15 px, 10.5 -> 10 -> 15 px, 11.5 -> 12 -> 18 px,
  // 8.4 -> 8 -> 12 px.
  const struct { double size, height; } cases[] = {{8.25, 202.5}, {8.5, 225}, {9.5, 225}, {10.5, 270}, {7.4, 180}};
  for (const auto& c : cases) {
    auto form = ShowForm(1, c.size);
    for (int i = 1; i <= 4; ++i) {
      SCOPED_TRACE("size " + std::to_string(c.size) + ", entry " + std::to_string(i));
      const tk::Label& caption = form->lblM(i);
      EXPECT_DOUBLE_EQ(caption.Height(), c.height);
      EXPECT_DOUBLE_EQ(caption.Top(), 420 / 2.0 - c.height / 2);
      EXPECT_DOUBLE_EQ(caption.Left(), 240);
      EXPECT_DOUBLE_EQ(caption.Width(), 2700 - 240);
      EXPECT_DOUBLE_EQ(caption.Font().size, c.size) << "the size stays as it was";
    }
  }
}

TEST(MenuLayout, SetsTheWindowVariablesAndArmsElevenTrackers) {
  auto form = NewForm(1);
  form->MenuColor = 0;
  form->SoundStop = true;
  form->Show();
  EXPECT_EQ(form->MenuColor, 0x00C0C0FFu);
  EXPECT_FALSE(form->SoundStop);

  // Only entries and strips answer a MouseOut.
  struct Armed {
    std::shared_ptr<clsTrackMouse>& tracker;
    tk::PictureBox& control;
    bool out;
  } armed[] = {{form->tmPicM1, form->picM(1), true},           {form->tmPicM2, form->picM(2), true},
               {form->tmPicM3, form->picM(3), true},           {form->tmPicM4, form->picM(4), true},
               {form->tmPicMB1, form->picMB(1), true},         {form->tmPicMB2, form->picMB(2), true},
               {form->tmPicMB3, form->picMB(3), true},         {form->tmPicMB4, form->picMB(4), true},
               {form->tmPicBalken, form->picBalken, false},    {form->tmPicMend, form->picMend, false},
               {form->tmPicMexplain, form->picMexplain, false}};
  const LONG_PTR windowProc = reinterpret_cast<LONG_PTR>(&mdlTrackMouse::WindowProc);
  EXPECT_EQ(mdlTrackMouse::Trackers().Keys().size(), 11u);
  for (const auto& a : armed) {
    SCOPED_TRACE("the tracker of " + a.control.Name());
    ASSERT_TRUE(a.tracker);
    EXPECT_EQ(a.tracker->TrackObject(), &a.control);
    EXPECT_TRUE(a.tracker->Tracking());
    EXPECT_EQ(mdlTrackMouse::Trackers().Item(mdlTrackMouse::TrackerKey(a.control.hwnd())), a.tracker);
    EXPECT_EQ(GetWindowLongPtrA(a.control.hwnd(), GWLP_WNDPROC), windowProc);
    EXPECT_TRUE(a.tracker->MouseOver);
    EXPECT_EQ(static_cast<bool>(a.tracker->MouseOut), a.out);
  }
  EXPECT_NE(GetWindowLongPtrA(form->picHeader.hwnd(), GWLP_WNDPROC), windowProc) << "picHeader";

  // Unloading gives every control its own procedure back.
  form->Form_Unload();
  EXPECT_TRUE(mdlTrackMouse::Trackers().Keys().empty());
  for (const auto& a : armed) {
    EXPECT_FALSE(a.tracker) << a.control.Name();
    EXPECT_NE(GetWindowLongPtrA(a.control.hwnd(), GWLP_WNDPROC), windowProc) << a.control.Name();
  }
}

// The ink columns and rows of a rectangle: pixels of another colour than
// the background.
struct Ink {
  std::vector<bool> columns, rows;
};

Ink InkOf(HDC dc, RECT r, COLORREF back) {
  Ink ink{std::vector<bool>(static_cast<size_t>(r.right - r.left)),
          std::vector<bool>(static_cast<size_t>(r.bottom - r.top))};
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      if (GetPixel(dc, x, y) != back) ink.columns[x - r.left] = ink.rows[y - r.top] = true;
  return ink;
}

// The first inked column or row (size() when none), and one past the last (0 when none).
int FirstInk(const std::vector<bool>& v) { return static_cast<int>(std::find(v.begin(), v.end(), true) - v.begin()); }
int EndOfInk(const std::vector<bool>& v) { return static_cast<int>(v.rend() - std::find(v.rbegin(), v.rend(), true)); }

// The captions' 8.25 points in whole pixels, halves to the even neighbour:
// 11 at 96 DPI, 14 at 120.
int CaptionFontPixels(int dpi) { return static_cast<int>(std::nearbyint(8.25 * dpi / 72)); }

// The caption as one whole, uncut line, drawn by this test into a bitmap in
// the designed font (Verdana bold 8.25 points at the process's DPI), and the
// ink columns of the part that falls inside the label. `width` gets the
// line's full width.
std::vector<bool> ReferenceColumns(const std::wstring& caption, RECT label, COLORREF back, int dpi, int* width) {
  tk::ScopedFont font(CreateFontW(-CaptionFontPixels(dpi), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                                  L"Verdana"));
  const int w = 600, h = 60;
  tk::WindowDC screen(nullptr);
  tk::ScopedMemDC dc(CreateCompatibleDC(screen.get()));
  tk::ScopedBitmap bitmap(CreateCompatibleBitmap(screen.get(), w, h));
  tk::SelectGuard keepBitmap(dc.get(), bitmap.get());
  tk::SelectGuard keepFont(dc.get(), font.get());
  RECT all{0, 0, w, h};
  tk::ScopedBrush brush(CreateSolidBrush(back));
  FillRect(dc.get(), &all, brush.get());
  SetBkMode(dc.get(), TRANSPARENT);
  SetTextColor(dc.get(), GetSysColor(COLOR_BTNTEXT));
  DrawTextW(dc.get(), caption.c_str(), static_cast<int>(caption.size()), &all, DT_SINGLELINE | DT_NOCLIP);
  Ink ink = InkOf(dc.get(), all, back);
  *width = EndOfInk(ink.columns);
  ink.columns.resize(static_cast<size_t>(label.right - label.left));
  return ink.columns;
}

// Each caption of each language, as the real label draws it on its entry at
// the DPI this process sees: on one line, and every column of the whole line
// that lies inside the label is there (a caption cut by dropping a word would
// miss that word's columns). At 96 DPI every caption fits whole.
TEST(Captions, ReadableAtThisDpi) {
  const int dpi = GetDeviceCaps(tk::WindowDC(nullptr).get(), LOGPIXELSY);
  if (const char* wanted = std::getenv("KORVANE_CAPTION_DPI")) {
    ASSERT_EQ(dpi, std::atoi(wanted));
  }
  harness::JumpPointer({5, 5});  // no entry lit
  for (int language = 0; language <= 4; ++language) {
    auto form = ShowForm(language);
    for (int i = 1; i <= 4; ++i) {
      SCOPED_TRACE(Entry(language, i));
      tk::PictureBox& entry = form->picM(i);
      const tk::Label& caption = form->lblM(i);
      UpdateWindow(entry.hwnd());
      RECT label = caption.PixelRect();
      RECT client;
      GetClientRect(entry.hwnd(), &client);
      int lineWidth = 0;
      std::vector<bool> expected =
          ReferenceColumns(harness::Wide(kCaptions[language][i - 1]), label, entry.BackColor(), dpi, &lineWidth);
      if (dpi == 96) {
        EXPECT_LE(lineWidth, label.right - label.left) << "whole at 96 DPI: " << harness::Narrow(caption.Caption());
      }

      tk::WindowDC dc(entry.hwnd());
      Ink shown = InkOf(dc.get(), RECT{label.left, 0, label.right, client.bottom}, entry.BackColor());
      Ink beyond = InkOf(dc.get(), RECT{label.right, 0, client.right, client.bottom}, entry.BackColor());
      EXPECT_EQ(shown.columns, expected) << harness::Narrow(caption.Caption());
      EXPECT_EQ(std::count(beyond.columns.begin(), beyond.columns.end(), true), 0) << "cut at the label's edge";
      // One line: no ink further down than one line's height.
      const int firstInk = FirstInk(shown.rows), lastInk = EndOfInk(shown.rows) - 1;
      ASSERT_LT(firstInk, client.bottom) << "no ink";
      ASSERT_GE(firstInk, label.top);
      EXPECT_LT(lastInk - firstInk, CaptionFontPixels(dpi) * 3 / 2) << "more than one line";
    }
  }
}

// The same in a copy of this program that sees 120 DPI (the DPI is read once
// per process).
TEST(Captions, ReadableAt120Dpi) {
  harness::RegistrySeed dpi(HKEY_CURRENT_USER);
  dpi.SetDword("Control Panel\\Desktop", "LogPixels", 120);
  ASSERT_TRUE(dpi.Ok()) << dpi.Failure();
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string line = std::string("\"") + self + "\" --gtest_filter=Captions.ReadableAtThisDpi";
  SetEnvironmentVariableA("KORVANE_CAPTION_DPI", "120");
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  const BOOL started = CreateProcessA(self, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
  SetEnvironmentVariableA("KORVANE_CAPTION_DPI", nullptr);
  ASSERT_TRUE(started);
  tk::ScopedHandle process(pi.hProcess), thread(pi.hThread);
  ASSERT_EQ(WaitForSingleObject(process.get(), 60000), WAIT_OBJECT_0) << "the copy did not end in 60 s";
  DWORD code = 99;
  GetExitCodeProcess(process.get(), &code);
  EXPECT_EQ(code, 0u) << "the captions at 120 DPI (output above)";
}

}  // namespace
