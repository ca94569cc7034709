#include "toolkit/Fatal.h"

namespace tk {

namespace {
BOOL CALLBACK HideWindow(HWND hwnd, LPARAM) {
  ShowWindow(hwnd, SW_HIDE);
  return TRUE;
}
}  // namespace

void FatalError(const std::string& text) {
  // The box runs a message loop of its own: hidden, the windows get no more
  // pointer input, so no other handler runs into the same fault meanwhile.
  static bool reporting = false;
  if (!reporting) {
    reporting = true;
    EnumThreadWindows(GetCurrentThreadId(), HideWindow, 0);
    MessageBoxA(nullptr, text.c_str(), "Korvane6Menu", MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
  }
  ExitProcess(1);
}

}  // namespace tk
