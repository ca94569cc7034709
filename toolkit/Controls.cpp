#include "toolkit/Controls.h"

#include <windowsx.h>

#include "toolkit/Fatal.h"
#include "toolkit/ScopedWin.h"
#include "toolkit/Units.h"

namespace tk {

namespace {
const char kPictureBoxClass[] = "KorvanePictureBox";
HINSTANCE g_instance = nullptr;
}  // namespace

// ---- Container -------------------------------------------------------------

double Container::ToTwipsX(double v) const { return scale_ == ScaleMode::Twips ? v : v * TwipsPerPixelX(); }
double Container::ToTwipsY(double v) const { return scale_ == ScaleMode::Twips ? v : v * TwipsPerPixelY(); }
double Container::FromTwipsX(double t) const { return scale_ == ScaleMode::Twips ? t : PixelsX(t); }
double Container::FromTwipsY(double t) const { return scale_ == ScaleMode::Twips ? t : PixelsY(t); }

// Whole pixels of a rectangle in twips: each edge rounded on its own, the
// size from the rounded left or top, all in integers (see Units.h).
RECT PixelRectOf(const TwipsRect& r) {
  int left = WholePixelsX(r.left), top = WholePixelsY(r.top);
  return RECT{left, top, left + WholePixelsX(r.width), top + WholePixelsY(r.height)};
}

// ---- Label -----------------------------------------------------------------

Label::Label(PictureBox& container, TwipsRect rect, std::wstring caption, FontSpec font, std::string tag)
    : Placed(container, rect),
      Tag(std::move(tag)),
      box_(container),
      caption_(std::move(caption)),
      font_(std::move(font)) {}

void Label::Changed() { box_.Invalidate(); }
void Label::SetCaption(std::wstring caption) {
  caption_ = std::move(caption);
  box_.CaptionChanged();
  Changed();
}
// Only a change is painted, as for a picture box's colour.
void Label::SetForeColor(COLORREF color) {
  if (color == foreColor_) return;
  foreColor_ = color;
  Changed();
}
void Label::SetFontName(std::wstring name) {
  font_.name = std::move(name);
  FontChanged();
}
void Label::SetFontBold(bool bold) {
  font_.bold = bold;
  FontChanged();
}
void Label::SetFontSize(double points) {
  font_.size = points;
  FontChanged();
}

void Label::FontChanged() {
  gdiFont_.reset();
  Changed();
}

RECT Label::PixelRect() const { return PixelRectOf(rect_); }

void Label::Draw(HDC dc) const {
  // Made once per font change, not per paint: a face that is not installed
  // sends the font mapper on a search each time.
  if (!gdiFont_) {
    int height = -WholePixelsOfPoints(font_.size, GetDeviceCaps(dc, LOGPIXELSY));
    gdiFont_.reset(CreateFontW(height, 0, 0, 0, font_.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                               font_.name.c_str()));
  }
  SelectGuard select(dc, gdiFont_.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ForeColor());
  // One line, cut at the label's right edge: a caption a little too long
  // for its box (a larger DPI, another face) loses its last pixels, never a
  // whole word to a second line that the box cannot show. Downwards only the
  // picture box clips, so descenders survive a font taller than the label.
  RECT r = PixelRect();
  RECT box;
  GetClientRect(box_.hwnd(), &box);
  r.bottom = box.bottom > r.bottom ? box.bottom : r.bottom;
  // "&" marks the access key: DrawText underlines the letter after it.
  DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &r, DT_LEFT | DT_TOP | DT_SINGLELINE);
}

// ---- PictureBox --------------------------------------------------------------

PictureBox::PictureBox(Container& parent, TwipsRect rect, COLORREF backColor, std::string name, int controlId)
    : Placed(parent, rect), parent_(parent), name_(std::move(name)), controlId_(controlId), backColor_(backColor) {
  parent.AddChild(this);
}

HWND PictureBox::hwnd() const {
  if (!hwnd_ && !windowGone_) MakeWindow();
  return hwnd_;
}

void PictureBox::MakeWindow() const {
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (visible_ ? WS_VISIBLE : 0);
  RECT r = PixelRectOf(rect_);
  // WM_NCCREATE stores the box in the window and sets hwnd_.
  HWND made = CreateWindowExA(0, kPictureBoxClass, "", style, r.left, r.top, r.right - r.left, r.bottom - r.top,
                              parent_.hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId_)), g_instance,
                              const_cast<PictureBox*>(this));
  if (!made) ThrowWindowError("the window of picture box " + name_);
  const_cast<PictureBox*>(this)->CaptionChanged();
}

void PictureBox::CaptionChanged() {
  if (!hwnd_ || labels_.empty()) return;
  // Stored as UTF-16 by the default procedure itself: this is an ANSI window
  // (its trackers subclass it with the ANSI calls), and SetWindowTextW would
  // pass the text through the ANSI code page on its way there.
  DefWindowProcW(hwnd_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(labels_.front()->Caption().c_str()));
}

PictureBox::~PictureBox() {
  if (hwnd_) {
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

double PictureBox::ScaleWidth() const { return FromTwipsX(rect_.width); }
double PictureBox::ScaleHeight() const { return FromTwipsY(rect_.height); }

void PictureBox::Moved() {
  if (!hwnd_) return;
  RECT r = PixelRectOf(rect_);
  SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

// Only a change is painted: the hover handlers set every entry's colour at
// each rest, and most of the time nothing is different.
void PictureBox::SetBackColor(COLORREF color) {
  if (color == backColor_) return;
  backColor_ = color;
  Invalidate();
}

void PictureBox::SetPicture(std::shared_ptr<tk::Picture> picture) {
  if (picture == picture_) return;
  picture_ = std::move(picture);
  Invalidate();
}

bool PictureBox::Visible() const { return visible_; }
void PictureBox::SetVisible(bool visible) {
  visible_ = visible;
  if (hwnd_)
    ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
  else if (visible)
    hwnd();
}

Label& PictureBox::AddLabel(TwipsRect rect, std::wstring caption, FontSpec font, std::string tag) {
  labels_.push_back(std::make_unique<Label>(*this, rect, std::move(caption), std::move(font), std::move(tag)));
  CaptionChanged();
  Invalidate();
  return *labels_.back();
}

void PictureBox::Invalidate() {
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void PictureBox::Refresh() {
  if (hwnd_) UpdateWindow(hwnd_);  // paints only what is invalid
}

// Background, picture and captions are put together in memory and reach the
// screen in one step, so nothing shows half drawn.
void PictureBox::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  RECT client;
  GetClientRect(hwnd_, &client);
  ScopedMemDC mem(CreateCompatibleDC(dc));
  ScopedBitmap canvas(CreateCompatibleBitmap(dc, client.right, client.bottom));
  HDC target = mem && canvas ? mem.get() : dc;  // without memory for a canvas, straight to the screen
  {
    SelectGuard select(mem.get(), canvas.get());
    ScopedBrush brush(CreateSolidBrush(backColor_));
    FillRect(target, &client, brush.get());
    if (picture_) picture_->Draw(target, 0, 0);
    for (const auto& label : labels_) label->Draw(target);
    if (target != dc) BitBlt(dc, 0, 0, client.right, client.bottom, mem.get(), 0, 0, SRCCOPY);
  }
  EndPaint(hwnd_, &ps);
}

// A click is a press and a release inside the same control: the label under
// the pointer when the button went down, or else the box itself. The class
// asks for double-clicks, so the second press of one comes as
// WM_LBUTTONDBLCLK and its release raises DblClick: a double-click is one
// Click, not two.
void PictureBox::OnButtonDown(POINT pt, bool secondOfDouble) {
  // Capture first: taking it from another window must not end this press.
  SetCapture(hwnd_);
  pressed_ = kBox;
  pressedDouble_ = secondOfDouble;
  for (int i = static_cast<int>(labels_.size()) - 1; i >= 0; --i) {
    RECT r = labels_[i]->PixelRect();
    if (PtInRect(&r, pt)) {
      pressed_ = i;
      break;
    }
  }
}

// Capture taken away during a press (a consent prompt or another program in
// front, Ctrl+Alt+Del, a mode cancelled): the press is forgotten, so that a
// later release over the box clicks nothing.
void PictureBox::ForgetPress() { pressed_ = kNone; }

void PictureBox::OnButtonUp(POINT pt) {
  int target = pressed_;
  pressed_ = kNone;
  if (GetCapture() == hwnd_) ReleaseCapture();
  RECT client;
  GetClientRect(hwnd_, &client);
  if (target == kNone || !PtInRect(&client, pt)) return;
  std::function<void()> handler;
  if (target == kBox)
    handler = pressedDouble_ ? DblClick : Click;
  else
    handler = pressedDouble_ ? labels_[target]->DblClick : labels_[target]->Click;
  if (handler) handler();  // may close the window and destroy this box
}

LRESULT CALLBACK PictureBox::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    static_cast<PictureBox*>(cs->lpCreateParams)->hwnd_ = hwnd;
  }
  auto* self = reinterpret_cast<PictureBox*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
  return Guarded([&]() -> LRESULT {
    switch (msg) {
      case WM_ERASEBKGND: return 1;  // WM_PAINT fills the background
      case WM_PAINT: self->Paint(); return 0;
      case WM_LBUTTONDOWN: self->OnButtonDown(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}, false); return 0;
      case WM_LBUTTONDBLCLK: self->OnButtonDown(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}, true); return 0;
      case WM_LBUTTONUP: self->OnButtonUp(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}); return 0;
      case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lp) != hwnd) self->ForgetPress();
        return 0;
      case WM_CANCELMODE: self->ForgetPress(); break;  // the default procedure releases the capture
      case WM_NCDESTROY:
        self->hwnd_ = nullptr;
        self->windowGone_ = true;
        break;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
  });
}

void RegisterPictureBoxClass(HINSTANCE instance) {
  g_instance = instance;
  WNDCLASSA wc{};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = PictureBox::WndProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kPictureBoxClass;
  if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    ThrowWindowError(std::string("the window class ") + kPictureBoxClass);
}

void ThrowWindowError(const std::string& what) {
  DWORD code = GetLastError();
  throw WindowError(what + " could not be made (system error " + std::to_string(code) + ")");
}

}  // namespace tk
