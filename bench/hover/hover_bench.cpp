// Hover benchmark: from the pointer coming to rest on a menu entry to the
// entry's highlight being on screen. Resting on an entry plays the hover
// sound (synchronous, about 90 ms); coming onto the entry's strip highlights
// it without sound. Equal times for both show that the sound does not delay
// the paint.
//   hover_bench <menu exe> [rounds]
// Prints "key value" lines for scripts/bench.sh.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/harness/Desktop.h"
#include "tests/harness/Launcher.h"
#include "tests/harness/Timing.h"

using harness::JumpPointer;
using harness::Milliseconds;

namespace {

// Moves onto `target` and returns the time until `probe` shows white.
double TimeToHighlight(const harness::Screen& screen, POINT target, POINT probe) {
  double start = Milliseconds();
  JumpPointer(target);
  while (Milliseconds() - start < 3000) {
    if (screen.Pixel(probe) == RGB(255, 255, 255)) return Milliseconds() - start;
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
  harness::LauncherProcess menu(exe);
  HWND window = menu.WaitForMainWindow(10000);
  if (!window) return 1;
  Sleep(500);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  auto at = [&](int x, int y) { return POINT{origin.x + x, origin.y + y}; };
  std::vector<double> withSound, withoutSound;
  {
    const harness::Screen screen;
    for (int r = 0; r < rounds; ++r) {
      for (int i = 1; i <= 4; ++i) {
        int entryTop = 93 + 29 * (i - 1);
        POINT probe = at(175, entryTop + 3);  // right end of the entry, clear of the caption
        // Rest on the bar first: every entry back to its resting colour.
        JumpPointer(at(300, 90));
        Sleep(200);
        double ms = TimeToHighlight(screen, at(100, entryTop + 20), probe);
        if (ms >= 0) withSound.push_back(ms);
        Sleep(250);  // let the sound finish
        JumpPointer(at(300, 90));
        Sleep(200);
        ms = TimeToHighlight(screen, at(100, entryTop + 28), probe);  // the strip under entry i
        if (ms >= 0) withoutSound.push_back(ms);
        Sleep(100);
      }
    }
  }
  PostMessageA(window, WM_CLOSE, 0, 0);
  menu.WaitForExit(5000);
  std::printf("hover_samples %zu\nhover_entry_ms %.1f\nhover_strip_ms %.1f\n", withSound.size(),
              harness::Median(withSound), harness::Median(withoutSound));
  return withSound.empty() || withoutSound.empty() ? 1 : 0;
}
