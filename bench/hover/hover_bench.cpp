// Hover benchmark: from the pointer coming to rest on a menu entry to the
// entry's highlight being on screen. Resting on an entry plays the hover
// sound (synchronous, about 90 ms); coming onto the entry's strip highlights
// it without sound. Equal times for both show that the sound does not delay
// the paint.
//   hover_bench <menu exe> [rounds]
// Prints "key value" lines for scripts/bench.sh.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

double Now() {
  static LARGE_INTEGER freq = [] { LARGE_INTEGER f; QueryPerformanceFrequency(&f); return f; }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(freq.QuadPart);
}

void MoveTo(POINT p) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = MulDiv(p.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  in.mi.dy = MulDiv(p.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &in, sizeof in);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  size_t n = v.size();
  return n == 0 ? 0 : (n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2);
}

// Moves onto `target` and returns the time until `probe` shows white.
double TimeToHighlight(HDC screen, POINT target, POINT probe) {
  double start = Now();
  MoveTo(target);
  while (Now() - start < 3000) {
    if (GetPixel(screen, probe.x, probe.y) == RGB(255, 255, 255)) return Now() - start;
    Sleep(0);
  }
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: hover_bench <menu exe> [rounds]\n");
    return 2;
  }
  std::string exe = argv[1];
  int rounds = argc > 2 ? std::atoi(argv[2]) : 10;
  std::string cmd = "\"" + exe + "\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return 1;
  HWND window = nullptr;
  for (int i = 0; i < 500 && !window; ++i) {
    Sleep(20);
    window = FindWindowA("KorvaneForm", nullptr);
  }
  if (!window) return 1;
  Sleep(500);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  auto at = [&](int x, int y) { return POINT{origin.x + x, origin.y + y}; };
  HDC screen = GetDC(nullptr);
  std::vector<double> withSound, withoutSound;
  for (int r = 0; r < rounds; ++r) {
    for (int i = 1; i <= 4; ++i) {
      int entryTop = 93 + 29 * (i - 1);
      POINT probe = at(175, entryTop + 3);  // right end of the entry, clear of the caption
      // Rest on the bar first: every entry back to its resting colour.
      MoveTo(at(300, 90));
      Sleep(200);
      double ms = TimeToHighlight(screen, at(100, entryTop + 20), probe);
      if (ms >= 0) withSound.push_back(ms);
      Sleep(250);  // let the sound finish
      MoveTo(at(300, 90));
      Sleep(200);
      ms = TimeToHighlight(screen, at(100, entryTop + 28), probe);  // the strip under entry i
      if (ms >= 0) withoutSound.push_back(ms);
      Sleep(100);
    }
  }
  ReleaseDC(nullptr, screen);
  PostMessageA(window, WM_CLOSE, 0, 0);
  WaitForSingleObject(pi.hProcess, 5000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  std::printf("hover_samples %zu\nhover_entry_ms %.1f\nhover_strip_ms %.1f\n", withSound.size(), Median(withSound),
              Median(withoutSound));
  return withSound.empty() || withoutSound.empty() ? 1 : 0;
}
