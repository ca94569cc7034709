// The small window toolkit the launcher is written against: containers with a
// coordinate unit (twips or pixels), picture boxes (child windows with a
// background colour and a picture), windowless labels drawn by their picture
// box, and control arrays indexed like the classic toolkit's.
#pragma once
#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "toolkit/Resources.h"
#include "toolkit/ScopedWin.h"

namespace tk {

enum class ScaleMode { Twips, Pixels };

class PictureBox;

// Anything that holds controls. Positions of its controls are read and
// written in its ScaleMode; they are kept in twips, as the classic toolkit
// does, so fractional pixels survive a round trip.
class Container {
 public:
  virtual ~Container() = default;
  virtual HWND hwnd() const = 0;
  ScaleMode GetScaleMode() const { return scale_; }
  // Picture boxes placed directly on this container, in the order made.
  void AddChild(PictureBox* child) { children_.push_back(child); }
  void SetScaleMode(ScaleMode mode) { scale_ = mode; }
  double ToTwipsX(double v) const;
  double ToTwipsY(double v) const;
  double FromTwipsX(double twips) const;
  double FromTwipsY(double twips) const;

 protected:
  ScaleMode scale_ = ScaleMode::Twips;
  std::vector<PictureBox*> children_;
};

// A rectangle in twips.
struct TwipsRect {
  double left, top, width, height;
};

// Its whole pixels at the screen's DPI: each of left and top rounded on its
// own, width and height added to them, computed exactly (toolkit/Units.h).
RECT PixelRectOf(const TwipsRect& r);

// What labels and picture boxes share: a place kept in twips, read and
// written in the ScaleMode of the container it lies in, so fractional pixels
// survive a round trip.
class Placed {
 public:
  double Left() const { return container_.FromTwipsX(rect_.left); }
  double Top() const { return container_.FromTwipsY(rect_.top); }
  double Width() const { return container_.FromTwipsX(rect_.width); }
  double Height() const { return container_.FromTwipsY(rect_.height); }
  void SetLeft(double v) { Move(rect_.left, container_.ToTwipsX(v)); }
  void SetTop(double v) { Move(rect_.top, container_.ToTwipsY(v)); }
  void SetWidth(double v) { Move(rect_.width, container_.ToTwipsX(v)); }
  void SetHeight(double v) { Move(rect_.height, container_.ToTwipsY(v)); }

 protected:
  Placed(const Container& container, TwipsRect rect) : container_(container), rect_(rect) {}
  ~Placed() = default;
  virtual void Moved() = 0;  // the place changed

  const Container& container_;
  TwipsRect rect_;  // relative to the container's client area

 private:
  void Move(double& edge, double twips) {
    edge = twips;
    Moved();
  }
};

struct FontSpec {
  std::wstring name = L"MS Sans Serif";
  double size = 8.25;  // points
  bool bold = false;
};

// A borderless label with a transparent background, drawn on its picture box.
// It has no window: the pointer over a label is over the picture box.
class Label : public Placed {
 public:
  Label(PictureBox& container, TwipsRect rect, std::wstring caption, FontSpec font, std::string tag);

  std::string Tag;
  // A click is a press and a release on the label; the second press of a
  // double-click and its release raise DblClick instead.
  std::function<void()> Click;
  std::function<void()> DblClick;

  const std::wstring& Caption() const { return caption_; }
  void SetCaption(std::wstring caption);
  const FontSpec& Font() const { return font_; }
  // The caption's colour; until one is set, the system's button text, as
  // the classic toolkit's labels have it.
  COLORREF ForeColor() const { return foreColor_ == CLR_INVALID ? GetSysColor(COLOR_BTNTEXT) : foreColor_; }
  void SetForeColor(COLORREF color);
  void SetFontName(std::wstring name);
  void SetFontBold(bool bold);
  void SetFontSize(double points);

  // Drawn and hit-tested in the container's client pixels.
  RECT PixelRect() const;
  void Draw(HDC dc) const;

 private:
  void Moved() override { Changed(); }
  void Changed();
  void FontChanged();
  PictureBox& box_;
  std::wstring caption_;
  FontSpec font_;
  COLORREF foreColor_ = CLR_INVALID;  // CLR_INVALID: the system's button text
  mutable ScopedFont gdiFont_;
};

// A borderless picture box: a child window that fills itself with its
// background colour and draws its picture from the top-left corner at the
// picture's own size, cut off at its edges. Its interior unit is the twip.
// Tools outside the program find its window by its control id. Its window
// text is what a screen reader says of it: the caption of its first label,
// or nothing; `name` stays inside the program (error reports, tests).
// The window is made when it is first needed (its handle asked for, or the
// box shown): a box that only holds a picture and is never shown needs none,
// which keeps the program's start quick.
class PictureBox : public Container, public Placed {
 public:
  PictureBox(Container& parent, TwipsRect rect, COLORREF backColor, std::string name, int controlId = 0);
  ~PictureBox() override;
  PictureBox(const PictureBox&) = delete;
  PictureBox& operator=(const PictureBox&) = delete;

  HWND hwnd() const override;  // makes the window on first use
  const std::string& Name() const { return name_; }
  std::string Tag;
  // Raised as for a label: Click for a press and release, DblClick for the
  // second press of a double-click and its release.
  std::function<void()> Click;
  std::function<void()> DblClick;

  // Client size in this box's own ScaleMode.
  double ScaleWidth() const;
  double ScaleHeight() const;

  COLORREF BackColor() const { return backColor_; }
  void SetBackColor(COLORREF color);
  const std::shared_ptr<tk::Picture>& Picture() const { return picture_; }
  void SetPicture(std::shared_ptr<tk::Picture> picture);
  bool Visible() const;
  void SetVisible(bool visible);

  Label& AddLabel(TwipsRect rect, std::wstring caption, FontSpec font, std::string tag);
  std::vector<std::unique_ptr<Label>>& Labels() { return labels_; }

  // Paints pending changes now instead of when the message loop gets to it.
  void Refresh();
  void Invalidate();

 private:
  friend void RegisterPictureBoxClass(HINSTANCE instance);
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void Moved() override;  // the window follows
  friend class Label;
  void CaptionChanged();  // the window text follows the first label
  void Paint();
  void OnButtonDown(POINT pt, bool secondOfDouble);
  void OnButtonUp(POINT pt);
  void ForgetPress();

  Container& parent_;
  std::string name_;
  int controlId_;
  void MakeWindow() const;

  mutable HWND hwnd_ = nullptr;
  mutable bool windowGone_ = false;  // destroyed: never made again
  bool visible_ = true;
  COLORREF backColor_;
  std::shared_ptr<tk::Picture> picture_;
  std::vector<std::unique_ptr<Label>> labels_;
  int pressed_ = kNone;         // what the button went down on: a label index, kBox or kNone
  bool pressedDouble_ = false;  // that press was the second of a double-click
  static constexpr int kNone = -2;
  static constexpr int kBox = -1;
};

// Controls sharing one name, addressed by index: picM(1) ... picM(4). The
// array only names the controls; their owner keeps them alive.
template <typename T>
class ControlArray {
 public:
  T& operator()(int index) const { return *items_.at(index); }
  void Set(int index, T& item) { items_[index] = &item; }
  int LBound() const { return items_.begin()->first; }
  int UBound() const { return items_.rbegin()->first; }

 private:
  std::map<int, T*> items_;
};

// A window class that cannot be registered, or a window that cannot be made:
// a fault of the platform, reported at once like a load failure.
struct WindowError : std::runtime_error {
  using std::runtime_error::runtime_error;
};
// Throws WindowError, naming what failed and the system's error code.
[[noreturn]] void ThrowWindowError(const std::string& what);

// Registers the picture box's window class; called once before any window is
// made. Throws WindowError when the class cannot be registered.
void RegisterPictureBoxClass(HINSTANCE instance);

}  // namespace tk
