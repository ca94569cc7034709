// Counts the WM_PAINT messages of windows of this process: a window
// procedure put in front of whatever the window has, taken out again when
// the counter goes. (A tracker that re-arms on WM_MOUSEMOVE would unhook
// it: drive such windows with hover messages only.)
#pragma once
#include <windows.h>

#include <map>
#include <vector>

namespace harness {

class PaintCounter {
 public:
  explicit PaintCounter(const std::vector<HWND>& windows);
  ~PaintCounter();
  PaintCounter(const PaintCounter&) = delete;
  PaintCounter& operator=(const PaintCounter&) = delete;

  // Paints of the window since the last Reset().
  int Paints(HWND window) const;
  int Total() const;
  void Reset();
};

}  // namespace harness
