// RAII owners for Win32 handles. Each closes exactly once; copying is deleted,
// moving hands the handle over.
#pragma once
#include <windows.h>

#include <utility>

namespace tk {

template <typename H, typename Closer>
class Owned {
 public:
  Owned() = default;
  explicit Owned(H h) : h_(h) {}
  ~Owned() { reset(); }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  Owned(Owned&& o) noexcept : h_(std::exchange(o.h_, H{})) {}
  Owned& operator=(Owned&& o) noexcept {
    if (this != &o) {
      reset();
      h_ = std::exchange(o.h_, H{});
    }
    return *this;
  }
  H get() const { return h_; }
  explicit operator bool() const { return h_ != H{}; }
  void reset(H h = H{}) {
    if (h_ != H{}) Closer{}(h_);
    h_ = h;
  }

 private:
  H h_{};
};

struct CloseHandleFn {
  void operator()(HANDLE h) const { CloseHandle(h); }
};
struct DeleteObjectFn {
  void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
struct DeleteDCFn {
  void operator()(HDC h) const { DeleteDC(h); }
};
struct DestroyIconFn {
  void operator()(HICON h) const { DestroyIcon(h); }
};

using ScopedHandle = Owned<HANDLE, CloseHandleFn>;
using ScopedBitmap = Owned<HBITMAP, DeleteObjectFn>;
using ScopedFont = Owned<HFONT, DeleteObjectFn>;
using ScopedBrush = Owned<HBRUSH, DeleteObjectFn>;
using ScopedMemDC = Owned<HDC, DeleteDCFn>;
using ScopedIcon = Owned<HICON, DestroyIconFn>;

// A DC from GetDC, given back with ReleaseDC.
class WindowDC {
 public:
  explicit WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ~WindowDC() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// Selects an object into a DC for the lifetime of the guard.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
  ~SelectGuard() { SelectObject(dc_, old_); }
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace tk
