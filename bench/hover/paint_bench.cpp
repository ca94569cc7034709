// Paint count benchmark: how many boxes the hover handlers paint, on a real
// main window in this process, when a rest changes what is on the screen
// and when it changes nothing (the pointer drifting inside an entry comes
// to rest again and again, up to ~60 times a second with the 1 ms hover
// time). The hover messages go straight to the tracked controls.
//   paint_bench [rests]
// Prints "key value" lines for scripts/bench.sh.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "launcher/frmMain.h"
#include "launcher/mdlLanguage.h"
#include "tests/harness/PaintCounter.h"

namespace {

void Pump() {
  MSG m;
  for (int i = 0; i < 10; ++i) {
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    Sleep(2);
  }
}

void Rest(tk::PictureBox& box) {
  SendMessageA(box.hwnd(), WM_MOUSEHOVER, 0, MAKELPARAM(20, 10));
  Pump();
}

}  // namespace

int main(int argc, char** argv) {
  const int rests = argc > 1 ? std::atoi(argv[1]) : 60;
  SetCursorPos(5, 5);
  tk::Form::RegisterClasses(GetModuleHandleA(nullptr));
  LanguageIndex = 1;
  frmMain form;
  form.Show();
  Pump();
  harness::PaintCounter paints({form.picHeader.hwnd(), form.picBalken.hwnd(), form.picM(1).hwnd(), form.picM(2).hwnd(),
                                form.picM(3).hwnd(), form.picM(4).hwnd(), form.picMB(1).hwnd(), form.picMB(2).hwnd(),
                                form.picMB(3).hwnd(), form.picMB(4).hwnd(), form.picMend.hwnd(),
                                form.picMexplain.hwnd()});
  Rest(form.picM(2));  // lights entry 2, explains it, plays the sound
  std::printf("paints_lighting_an_entry %d\n", paints.Total());
  paints.Reset();
  for (int i = 0; i < rests; ++i) Rest(form.picM(2));
  std::printf("rests_on_the_lit_entry %d\npaints_for_them %d\n", rests, paints.Total());
  paints.Reset();
  Rest(form.picMexplain);  // back to the welcome panel
  std::printf("paints_resetting %d\n", paints.Total());
  paints.Reset();
  for (int i = 0; i < rests; ++i) Rest(form.picMexplain);
  std::printf("rests_on_the_panel %d\npaints_for_them %d\n", rests, paints.Total());
  return 0;
}
