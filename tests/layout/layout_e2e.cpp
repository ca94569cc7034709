// The menu layout of the real program at 96 and 120 DPI. At 120 the entries
// keep their pixel sizes, but start under the bar, whose design place is in
// twips (1305 + 90 twips: 116.25 pixels, so 116); the taller title bar
// shortens the panel and the filler; the caption indent of 240 twips becomes
// 20 pixels instead of 16.
#include <windows.h>
#include <gtest/gtest.h>

#include <memory>
#include <ostream>

#include "tests/harness/CdFolder.h"
#include "tests/harness/Desktop.h"
#include "tests/harness/Launcher.h"
#include "tests/harness/RegistrySeed.h"

using namespace harness;

namespace {

// The first column, from the entry's left edge, where the caption has ink:
// a pixel of neither the entry's colour nor white. The top rows are left
// out: at 120 DPI the bar (in twips) reaches a pixel into the first entry.
int FirstInkColumn(const LauncherProcess& app, const char* entry) {
  for (int x = 0; x < 120; ++x)
    for (int y = 3; y < 26; ++y) {
      COLORREF c = ScreenPixel(app.ScreenPoint(entry, x, y));
      if (c != 0x00C0C0FF && c != 0x00FFFFFF) return x;
    }
  return -1;
}

struct Dpi {
  DWORD logPixels;                    // 0: the default of 96
  int clientHeight, indent, menuTop;  // pixels; the menu starts under the bar
};

// "120 DPI: client 317 high, indent 20, menu at 116" instead of the raw bytes.
void PrintTo(const Dpi& dpi, std::ostream* os) {
  *os << (dpi.logPixels ? dpi.logPixels : 96) << " DPI: client " << dpi.clientHeight << " high, indent " << dpi.indent
      << ", menu at " << dpi.menuTop;
}

class LayoutAtDpi : public ::testing::TestWithParam<Dpi> {};

TEST_P(LayoutAtDpi, EntriesKeepTheirPixelsAndTheCaptionIndentScales) {
  const Dpi dpi = GetParam();
  CdFolder cd("layout");
  MovePointer({5, 5});  // off the window: no entry lit
  auto seed = std::make_unique<RegistrySeed>(HKEY_CURRENT_USER);
  if (dpi.logPixels) seed->SetDword("Control Panel\\Desktop", "LogPixels", dpi.logPixels);
  ASSERT_TRUE(seed->Ok()) << seed->Failure();
  LauncherProcess app(cd.Launcher());
  HWND w = app.WaitForMainWindow();
  seed.reset();  // read once per process: the launcher has it
  ASSERT_NE(w, nullptr);
  RECT client;
  GetClientRect(w, &client);
  ASSERT_EQ(client.bottom, dpi.clientHeight);

  const struct {
    const char* control;
    int left, top, width, height;  // height 0: down to the client's bottom
  } places[] = {{"picM(1)", 0, 0, 180, 28},     {"picMB(1)", 0, 28, 180, 1},  {"picM(2)", 0, 29, 180, 28},
                {"picMB(2)", 0, 57, 180, 1},    {"picM(3)", 0, 58, 180, 28},  {"picMB(3)", 0, 86, 180, 1},
                {"picM(4)", 0, 87, 180, 28},    {"picMB(4)", 0, 115, 180, 1}, {"picMend", 0, 116, 180, 0},
                {"picMexplain", 180, 0, 298, 0}};
  for (const auto& p : places) {
    HWND h = app.Control(p.control);
    ASSERT_NE(h, nullptr) << p.control;
    RECT r;  // in the main window's client pixels
    GetWindowRect(h, &r);
    MapWindowPoints(nullptr, w, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, p.left) << p.control;
    EXPECT_EQ(r.top, dpi.menuTop + p.top) << p.control;
    EXPECT_EQ(r.right - r.left, p.width) << p.control;
    EXPECT_EQ(r.bottom - r.top, p.height ? p.height : dpi.clientHeight - dpi.menuTop - p.top) << p.control;
  }
  // The caption's first letter starts at the indent, give or take the
  // letter's own side bearing.
  for (const char* entry : {"picM(1)", "picM(2)", "picM(3)", "picM(4)"}) {
    int ink = FirstInkColumn(app, entry);
    EXPECT_GE(ink, dpi.indent) << entry;
    EXPECT_LE(ink, dpi.indent + 2) << entry;
  }
}

INSTANTIATE_TEST_SUITE_P(Dpi, LayoutAtDpi, ::testing::Values(Dpi{0, 322, 16, 93}, Dpi{120, 317, 20, 116}),
                         [](const ::testing::TestParamInfo<Dpi>& p) { return p.param.logPixels ? "At120" : "At96"; });

}  // namespace
