#include "tests/harness/Desktop.h"

#include <cstring>

namespace harness {

void JumpPointer(POINT p) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = MulDiv(p.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  in.mi.dy = MulDiv(p.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &in, sizeof in);
}

namespace {
void SendButton(DWORD flag) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flag;
  SendInput(1, &in, sizeof in);
}
}  // namespace

void MovePointer(POINT to) {
  POINT from;
  GetCursorPos(&from);
  const int steps = 4;
  for (int i = 1; i <= steps; ++i) {
    POINT p{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps};
    JumpPointer(p);
    Sleep(15);
  }
  SetCursorPos(to.x, to.y);
}

void RestPointer(POINT at, DWORD restMs) {
  MovePointer(at);
  Sleep(restMs);
}

void ClickHere() {
  SendButton(MOUSEEVENTF_LEFTDOWN);
  Sleep(30);
  SendButton(MOUSEEVENTF_LEFTUP);
}

void ClickAt(POINT at) {
  RestPointer(at, 150);
  ClickHere();
}

void DoubleClickAt(POINT at) {
  RestPointer(at, 150);
  ClickHere();
  Sleep(30);
  ClickHere();
}

COLORREF ScreenPixel(POINT at) { return Screen().Pixel(at); }

bool WaitForPixel(POINT at, COLORREF color, DWORD timeoutMs) {
  const Screen screen;
  return WaitUntil([&] { return screen.Pixel(at) == color; }, timeoutMs);
}

HWND WaitForMessageBox(const std::wstring& title, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  do {
    HWND box = FindWindowW(L"#32770", title.c_str());
    if (box && IsWindowVisible(box)) return box;
    Sleep(25);
  } while (GetTickCount() - start < timeoutMs);
  return nullptr;
}

std::wstring MessageBoxText(HWND box) {
  wchar_t text[4096] = {};
  GetDlgItemTextW(box, 0xFFFF, text, 4096);
  return text;
}

namespace {
struct Census {
  int icons = 0;
  int buttons = 0;
};

BOOL CALLBACK CountChildren(HWND child, LPARAM lp) {
  auto* c = reinterpret_cast<Census*>(lp);
  char cls[32] = {};
  GetClassNameA(child, cls, sizeof cls);
  LONG style = GetWindowLongA(child, GWL_STYLE);
  // Wine keeps an empty icon control in a box without icon: count only one
  // that holds an icon.
  if (_stricmp(cls, "Static") == 0 && (style & SS_TYPEMASK) == SS_ICON && IsWindowVisible(child) &&
      SendMessageW(child, STM_GETICON, 0, 0))
    ++c->icons;
  if (_stricmp(cls, "Button") == 0 && IsWindowVisible(child)) ++c->buttons;
  return TRUE;
}
}  // namespace

bool MessageBoxHasIcon(HWND box) {
  Census c;
  EnumChildWindows(box, CountChildren, reinterpret_cast<LPARAM>(&c));
  return c.icons > 0;
}

int MessageBoxButtonCount(HWND box) {
  Census c;
  EnumChildWindows(box, CountChildren, reinterpret_cast<LPARAM>(&c));
  return c.buttons;
}

void PressOk(HWND box) { SendMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0); }

std::wstring Wide(const char* utf8) {
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
  std::wstring w(static_cast<size_t>(n > 0 ? n - 1 : 0), L'\0');
  if (n > 1) MultiByteToWideChar(CP_UTF8, 0, utf8, -1, w.data(), n);
  return w;
}

std::string Narrow(const std::wstring& text) {
  int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n > 0 ? n - 1 : 0), '\0');
  if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, s.data(), n, nullptr, nullptr);
  return s;
}

}  // namespace harness
