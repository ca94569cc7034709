// Start-up benchmark: from process creation to the window painted on screen,
// for the start menu (its welcome picture) and for a bare Win32 window of the
// same size, alternating, plus the working set of each after start-up.
//   startup_bench <menu exe> <bare exe> [runs]
// Prints "key value" lines for scripts/bench.sh.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

double Now() {
  static LARGE_INTEGER freq = [] { LARGE_INTEGER f; QueryPerformanceFrequency(&f); return f; }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(freq.QuadPart);
}

// A pixel of the welcome picture that is not white, in panel coordinates,
// and its colour: seeing it on screen means the picture has been painted.
bool FindProbe(const std::string& exe, POINT* at, COLORREF* colour) {
  HMODULE m = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  HANDLE bmp = m ? LoadImageA(m, MAKEINTRESOURCEA(201), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION) : nullptr;
  if (m) FreeLibrary(m);
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
  double ms;
  SIZE_T workingSet;
};

// Starts exe, waits until `colour` is on screen at `at`, then lets it settle
// and reads its working set; ends it.
bool Measure(const std::string& exe, POINT at, COLORREF colour, Run* out) {
  HDC screen = GetDC(nullptr);
  std::string cmd = "\"" + exe + "\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  double start = Now();
  if (!CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    ReleaseDC(nullptr, screen);
    return false;
  }
  bool seen = false;
  while (Now() - start < 15000) {
    if (GetPixel(screen, at.x, at.y) == colour) { seen = true; break; }
    Sleep(0);
  }
  out->ms = Now() - start;
  Sleep(500);
  PROCESS_MEMORY_COUNTERS pmc{};
  pmc.cb = sizeof pmc;
  GetProcessMemoryInfo(pi.hProcess, &pmc, sizeof pmc);
  out->workingSet = pmc.WorkingSetSize;
  TerminateProcess(pi.hProcess, 0);
  WaitForSingleObject(pi.hProcess, 5000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  // Wait until the window is gone from the screen before the next run.
  for (int i = 0; i < 200 && GetPixel(screen, at.x, at.y) == colour; ++i) Sleep(10);
  ReleaseDC(nullptr, screen);
  return seen;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  size_t n = v.size();
  return n == 0 ? 0 : (n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: startup_bench <menu exe> <bare exe> [runs]\n");
    return 2;
  }
  std::string menu = argv[1], bare = argv[2];
  int runs = argc > 3 ? std::atoi(argv[3]) : 21;
  POINT probe;
  COLORREF colour;
  if (!FindProbe(menu, &probe, &colour)) {
    std::fprintf(stderr, "no probe pixel in the welcome picture\n");
    return 1;
  }
  // Client area at (390, 357); the panel at (180, 93) in it.
  POINT menuAt{390 + 180 + probe.x, 357 + 93 + probe.y};
  POINT bareAt{390 + 180 + 149, 357 + 93 + 114};
  std::vector<double> menuMs, bareMs, menuWs, bareWs;
  Run r;
  Measure(menu, menuAt, colour, &r);  // warm the file cache
  Measure(bare, bareAt, RGB(0x80, 0, 0), &r);
  for (int i = 0; i < runs; ++i) {
    if (!Measure(menu, menuAt, colour, &r)) { std::fprintf(stderr, "menu run %d: picture never seen\n", i); return 1; }
    menuMs.push_back(r.ms);
    menuWs.push_back(static_cast<double>(r.workingSet));
    if (!Measure(bare, bareAt, RGB(0x80, 0, 0), &r)) { std::fprintf(stderr, "bare run %d: never painted\n", i); return 1; }
    bareMs.push_back(r.ms);
    bareWs.push_back(static_cast<double>(r.workingSet));
  }
  std::printf("runs %d\n", runs);
  std::printf("menu_ms %.1f\nbare_ms %.1f\nratio %.3f\n", Median(menuMs), Median(bareMs), Median(menuMs) / Median(bareMs));
  std::printf("menu_ws_kib %.0f\nbare_ws_kib %.0f\nws_ratio %.2f\n", Median(menuWs) / 1024, Median(bareWs) / 1024,
              Median(menuWs) / Median(bareWs));
  return 0;
}
