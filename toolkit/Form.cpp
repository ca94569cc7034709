#include "toolkit/Form.h"

#include "toolkit/Fatal.h"
#include "toolkit/ScopedWin.h"
#include "toolkit/Units.h"

namespace tk {

namespace {
const wchar_t kFormClass[] = L"KorvaneForm";
HINSTANCE g_instance = nullptr;
int g_openForms = 0;

// Fixed single border: thin frame, caption, close box; no minimize/maximize.
const DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
const DWORD kExStyle = WS_EX_WINDOWEDGE;
}  // namespace

void Form::RegisterClasses(HINSTANCE instance) {
  g_instance = instance;
  // A Unicode window, so titles in every language survive whatever the ANSI code page.
  WNDCLASSW wc{};
  wc.lpfnWndProc = Form::WndProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kFormClass;
  if (!RegisterClassW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    ThrowWindowError("the window class KorvaneForm");
  RegisterPictureBoxClass(instance);
}

Form::Form(const FormDefinition& def) : Tag(def.tag), backColor_(def.backColor) {
  RECT r = PixelRectOf(def.client);
  AdjustWindowRectEx(&r, kStyle, FALSE, kExStyle);
  hwnd_ = CreateWindowExW(kExStyle, kFormClass, def.caption.c_str(), kStyle, r.left, r.top, r.right - r.left,
                          r.bottom - r.top, nullptr, nullptr, g_instance, this);
  if (!hwnd_) ThrowWindowError("the main window");
  if (def.iconId) {
    // The window does not own the icons it is given: the form does.
    bigIcon_ = LoadWindowIcon(def.iconId, SM_CXICON, SM_CYICON);
    smallIcon_ = LoadWindowIcon(def.iconId, SM_CXSMICON, SM_CYSMICON);
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
  }
}

ScopedIcon Form::LoadWindowIcon(int id, int widthMetric, int heightMetric) {
  return ScopedIcon(static_cast<HICON>(LoadImageA(g_instance, MAKEINTRESOURCEA(id), IMAGE_ICON,
                                                  GetSystemMetrics(widthMetric), GetSystemMetrics(heightMetric), 0)));
}

Form::~Form() {
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

void Form::Show() {
  Form_Load();
  KeepOnWorkArea();
  for (PictureBox* child : children_)
    if (child->Visible()) child->hwnd();  // the shown boxes get their windows now
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  UpdateWindow(hwnd_);
}

void Form::Unload() {
  if (unloaded_ || !hwnd_) return;
  unloaded_ = true;
  Form_Unload();
  DestroyWindow(hwnd_);
}

// The window stands at a fixed place; where that place would put part of it
// beyond the monitor's work area (a small screen, or large display scaling,
// which shrinks the logical screen), it moves up and left just enough to
// fit, and never beyond the work area's top-left corner.
void Form::KeepOnWorkArea() {
  RECT r;
  GetWindowRect(hwnd_, &r);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (!GetMonitorInfoA(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &monitor)) return;
  const RECT& work = monitor.rcWork;
  LONG dx = work.right < r.right ? work.right - r.right : 0;
  LONG dy = work.bottom < r.bottom ? work.bottom - r.bottom : 0;
  if (r.left + dx < work.left) dx = work.left - r.left;
  if (r.top + dy < work.top) dy = work.top - r.top;
  if (dx || dy) SetWindowPos(hwnd_, nullptr, r.left + dx, r.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::wstring Form::Caption() const {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd_)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd_, text.data(), static_cast<int>(text.size()))));
  return text;
}

void Form::SetCaption(const std::wstring& caption) { SetWindowTextW(hwnd_, caption.c_str()); }

double Form::Width() const {
  RECT r;
  GetWindowRect(hwnd_, &r);
  return (r.right - r.left) * TwipsPerPixelX();
}

double Form::Height() const {
  RECT r;
  GetWindowRect(hwnd_, &r);
  return (r.bottom - r.top) * TwipsPerPixelY();
}

void Form::SetWidth(double twips) {
  SetWindowPos(hwnd_, nullptr, 0, 0, WholePixelsX(twips), WholePixelsY(Height()),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::SetHeight(double twips) {
  SetWindowPos(hwnd_, nullptr, 0, 0, WholePixelsX(Width()), WholePixelsY(twips),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

double Form::ScaleWidth() const {
  RECT r;
  GetClientRect(hwnd_, &r);
  return FromTwipsX(r.right * TwipsPerPixelX());
}

double Form::ScaleHeight() const {
  RECT r;
  GetClientRect(hwnd_, &r);
  return FromTwipsY(r.bottom * TwipsPerPixelY());
}

void Form::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  ScopedBrush brush(CreateSolidBrush(backColor_));
  FillRect(dc, &ps.rcPaint, brush.get());
  EndPaint(hwnd_, &ps);
}

LRESULT Form::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: Paint(); return 0;
    case WM_CLOSE: Unload(); return 0;  // the close box runs the same unload as a command
    case WM_NCDESTROY:
      hwnd_ = nullptr;
      if (--g_openForms == 0) PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT CALLBACK Form::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* self = reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_NCCREATE) {  // CreateWindow has not returned yet
    self->hwnd_ = hwnd;
    ++g_openForms;  // counted with the window, so a failed creation's WM_NCDESTROY evens out
  }
  return Guarded([&] { return self->OnMessage(msg, wp, lp); });
}

int Form::RunMessageLoop() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

void End() { ExitProcess(0); }

}  // namespace tk
