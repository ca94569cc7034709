// The real pointer, the real screen and message boxes, driven from a second
// program in the same Wine prefix, as a user would.
#pragma once
#include <windows.h>

#include <string>

namespace harness {

// One movement of the real pointer, straight to the point: walking there in
// steps would rest on whatever lies between.
void JumpPointer(POINT to);
// Moves the pointer in steps (each step is a real mouse movement), ending at `to`.
void MovePointer(POINT to);
// Moves there and lets it rest, so hover notifications fire and are answered.
void RestPointer(POINT at, DWORD restMs = 250);
// Presses and releases the left button where the pointer is now.
void ClickHere();
void ClickAt(POINT at);
// Two presses and releases in quick succession, well within the double-click time.
void DoubleClickAt(POINT at);

// The colour on screen at a point, 0x00BBGGRR.
COLORREF ScreenPixel(POINT at);
// Polls the point until the screen shows `color` there; false when it still
// does not after timeoutMs.
bool WaitForPixel(POINT at, COLORREF color, DWORD timeoutMs = 10000);
// Polls `done` until it is true; false when it still is not after timeoutMs.
template <typename Done>
bool WaitUntil(Done done, DWORD timeoutMs = 10000) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(10);
  }
  return true;
}

// The screen held open for many reads in a row, as a wait for a colour
// makes them: each read is one GetPixel, with no DC to fetch and release.
class Screen {
 public:
  Screen() : dc_(GetDC(nullptr)) {}
  ~Screen() { ReleaseDC(nullptr, dc_); }
  Screen(const Screen&) = delete;
  Screen& operator=(const Screen&) = delete;

  COLORREF Pixel(POINT at) const { return GetPixel(dc_, at.x, at.y); }

 private:
  HDC dc_;
};

// A message box (dialog class #32770) with this exact title, or nullptr.
HWND WaitForMessageBox(const std::wstring& title, DWORD timeoutMs = 10000);
// Its text, lines joined by "\n" as the dialog shows them.
std::wstring MessageBoxText(HWND box);
// Whether it shows an icon (a static control with SS_ICON).
bool MessageBoxHasIcon(HWND box);
// Number of push buttons on it.
int MessageBoxButtonCount(HWND box);
void PressOk(HWND box);

// UTF-8 to UTF-16, for expected texts written in the tests.
std::wstring Wide(const char* utf8);
std::string Narrow(const std::wstring& text);  // UTF-16 to UTF-8, for messages

}  // namespace harness
