// The yardstick for the start-up benchmark: a bare Win32 program that opens
// one window of the menu's size at the menu's place and paints it (white,
// with a dark red panel where the menu shows its welcome picture).
#include <windows.h>

namespace {
LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT client;
      GetClientRect(hwnd, &client);
      FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      HBRUSH panel = CreateSolidBrush(RGB(0x80, 0, 0));
      RECT r{180, 93, 180 + 298, 93 + 229};
      FillRect(dc, &r, panel);
      DeleteObject(panel);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_DESTROY: PostQuitMessage(0); return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = "BareWindow";
  RegisterClassA(&wc);
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
  RECT r{390, 357, 390 + 478, 357 + 322};
  AdjustWindowRectEx(&r, style, FALSE, WS_EX_WINDOWEDGE);
  HWND hwnd = CreateWindowExA(WS_EX_WINDOWEDGE, "BareWindow", "Bare window", style, r.left, r.top, 484, 347, nullptr,
                              nullptr, instance, nullptr);
  ShowWindow(hwnd, show);
  UpdateWindow(hwnd);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  return 0;
}
