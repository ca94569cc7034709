// Start-up benchmark: from process creation to the window painted on screen,
// for the start menu (its welcome picture) and for a bare Win32 window of the
// same size, alternating, plus the working set of each after start-up. Each
// run also notes when the program's window first exists (everything before
// it: process creation, loading the image and its DLLs, the C runtime, the
// start-up routine) and when it first is visible (after the menu's load
// handler), so the phases can be told apart.
//   startup_bench <menu exe> <bare exe> [runs] [repetitions]
// Prints "key value" lines for scripts/bench.sh; keys of repetition r start
// with "r<r>_".
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/harness/Desktop.h"
#include "tests/harness/ExeResources.h"
#include "tests/harness/Launcher.h"
#include "tests/harness/Timing.h"

using harness::Median;
using harness::Milliseconds;

namespace {

// A pixel of the welcome picture that is not white, in panel coordinates,
// and its colour: seeing it on screen means the picture has been painted.
bool FindProbe(const std::string& exe, POINT* at, COLORREF* colour) {
  HBITMAP bmp = harness::ExeBitmap(exe, 201);
  if (!bmp) return false;
  HDC mem = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(mem, bmp);
  bool found = false;
  for (int y = 20; y < 120 && !found; ++y)
    for (int x = 10; x < 280 && !found; ++x) {
      COLORREF c = GetPixel(mem, x, y);
      if (c != RGB(255, 255, 255) && GetRValue(c) > 0x70 && GetGValue(c) < 0x20) {
        *at = POINT{x, y};
        *colour = c;
        found = true;
      }
    }
  SelectObject(mem, old);
  DeleteDC(mem);
  DeleteObject(bmp);
  return found;
}

struct Run {
  double windowMs = 0;   // its top-level window exists
  double visibleMs = 0;  // ... and is visible
  double paintedMs = 0;  // the probe pixel is on screen
  SIZE_T workingSet = 0;
};

// Starts exe, notes its phases until `colour` is on screen at `at`, then lets
// it settle and reads its working set; ends it.
bool Measure(const std::string& exe, POINT at, COLORREF colour, Run* out) {
  const harness::Screen screen;
  bool seen = false;
  {
    const double start = Milliseconds();
    harness::LauncherProcess program(exe);
    if (!program.Started()) return false;
    *out = Run{};
    HWND window = nullptr;
    while (Milliseconds() - start < 15000) {
      if (!window) {
        window = harness::TopLevelWindow(program.Pid());
        if (window) out->windowMs = Milliseconds() - start;
      }
      if (window && !out->visibleMs && IsWindowVisible(window)) out->visibleMs = Milliseconds() - start;
      if (screen.Pixel(at) == colour) {
        seen = true;
        break;
      }
      Sleep(0);
    }
    out->paintedMs = Milliseconds() - start;
    if (!out->visibleMs) out->visibleMs = out->paintedMs;
    if (!out->windowMs) out->windowMs = out->visibleMs;
    Sleep(500);
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(program.Handle(), &pmc, sizeof pmc);
    out->workingSet = pmc.WorkingSetSize;
  }  // ends the program
  // Wait until the window is gone from the screen before the next run.
  for (int i = 0; i < 200 && screen.Pixel(at) == colour; ++i) Sleep(10);
  return seen;
}

struct Series {
  std::vector<double> window, visible, painted, workingSet;
  void Add(const Run& r) {
    window.push_back(r.windowMs);
    visible.push_back(r.visibleMs);
    painted.push_back(r.paintedMs);
    workingSet.push_back(static_cast<double>(r.workingSet));
  }
};

void Print(const char* prefix, const char* who, const Series& s) {
  std::printf("%s%s_window_ms %.1f\n%s%s_visible_ms %.1f\n%s%s_ms %.1f\n%s%s_ws_kib %.0f\n", prefix, who,
              Median(s.window), prefix, who, Median(s.visible), prefix, who, Median(s.painted), prefix, who,
              Median(s.workingSet) / 1024);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: startup_bench <menu exe> <bare exe> [runs] [repetitions]\n");
    return 2;
  }
  std::string menu = argv[1], bare = argv[2];
  int runs = argc > 3 ? std::atoi(argv[3]) : 25;
  int repetitions = argc > 4 ? std::atoi(argv[4]) : 3;
  POINT probe;
  COLORREF colour;
  if (!FindProbe(menu, &probe, &colour)) {
    std::fprintf(stderr, "no probe pixel in the welcome picture\n");
    return 1;
  }
  // Client area at (390, 357); the panel at (180, 93) in it.
  POINT menuAt{390 + 180 + probe.x, 357 + 93 + probe.y};
  POINT bareAt{390 + 180 + 149, 357 + 93 + 114};
  Run r;
  Measure(menu, menuAt, colour, &r);  // warm the file cache
  Measure(bare, bareAt, RGB(0x80, 0, 0), &r);
  std::printf("runs %d\nrepetitions %d\n", runs, repetitions);
  std::vector<double> ratios, wsRatios;
  for (int rep = 1; rep <= repetitions; ++rep) {
    Series m, b;
    for (int i = 0; i < runs; ++i) {
      if (!Measure(menu, menuAt, colour, &r)) {
        std::fprintf(stderr, "menu run %d: picture never seen\n", i);
        return 1;
      }
      m.Add(r);
      if (!Measure(bare, bareAt, RGB(0x80, 0, 0), &r)) {
        std::fprintf(stderr, "bare run %d: never painted\n", i);
        return 1;
      }
      b.Add(r);
    }
    const std::string prefix = "r" + std::to_string(rep) + "_";
    Print(prefix.c_str(), "menu", m);
    Print(prefix.c_str(), "bare", b);
    ratios.push_back(Median(m.painted) / Median(b.painted));
    wsRatios.push_back(Median(m.workingSet) / Median(b.workingSet));
    std::printf("%sratio %.3f\n%sws_ratio %.3f\n", prefix.c_str(), ratios.back(), prefix.c_str(), wsRatios.back());
    std::fflush(stdout);
  }
  std::printf("ratio %.3f\nws_ratio %.3f\n", Median(ratios), Median(wsRatios));
  return 0;
}
