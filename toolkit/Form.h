// A top-level window of fixed size, the toolkit's form. Made hidden; Show()
// runs the load handler, keeps the window on the monitor's work area and
// then makes it visible; Unload() runs the unload
// handler and destroys it. When the last form is gone the message loop ends.
#pragma once
#include <windows.h>

#include <string>

#include "toolkit/Controls.h"

namespace tk {

struct FormDefinition {
  std::wstring caption;
  std::string tag;
  TwipsRect client;  // client area: left and top from the screen's corner
  COLORREF backColor;
  int iconId;  // icon group of the window's own icon
};

class Form : public Container {
 public:
  explicit Form(const FormDefinition& def);
  ~Form() override;
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  HWND hwnd() const override { return hwnd_; }
  std::string Tag;

  void Show();
  void Unload();

  std::wstring Caption() const;
  void SetCaption(const std::wstring& caption);
  // Outer size, frame and title bar included, in twips.
  double Width() const;
  double Height() const;
  void SetWidth(double twips);
  void SetHeight(double twips);
  // Client size in the form's ScaleMode.
  double ScaleWidth() const;
  double ScaleHeight() const;

  // Runs the message loop until the last form is gone; returns its exit code.
  static int RunMessageLoop();
  static void RegisterClasses(HINSTANCE instance);

 protected:
  virtual void Form_Load() {}
  virtual void Form_Unload() {}

 private:
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);
  void Paint();
  void KeepOnWorkArea();
  static ScopedIcon LoadWindowIcon(int id, int widthMetric, int heightMetric);

  HWND hwnd_ = nullptr;
  ScopedIcon bigIcon_, smallIcon_;  // outlive the window: ~Form destroys it first
  COLORREF backColor_;
  bool unloaded_ = false;
};

// The end of the program: every window gone, the process ends at once.
[[noreturn]] void End();

}  // namespace tk
