// Look-ups in the program's own resources, by numeric identifier. A missing
// resource is a fault of the build, so it throws ResourceError.
#pragma once
#include <windows.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace tk {

struct ResourceError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// A bitmap resource of the program, drawn straight from the resource's own
// bits in the mapped image: nothing is copied when it is loaded, and its
// pages are read only when it is first drawn. Picture boxes share it.
class Picture {
 public:
  // `info` is the resource: a BITMAPINFOHEADER, its colour table, the bits.
  explicit Picture(const BITMAPINFO* info);
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;
  int Width() const { return width_; }
  int Height() const { return height_; }
  // Draws it at its own size with its top-left corner at (x, y).
  void Draw(HDC dc, int x, int y) const;

 private:
  const BITMAPINFO* info_;
  const void* bits_;
  int width_;
  int height_;  // rows, whether stored bottom-up or top-down
};

std::wstring LoadResString(int id);
std::shared_ptr<Picture> LoadResPicture(int id);
std::vector<unsigned char> LoadResData(int id, const char* type);

// The module whose resources are read: the executable unless set otherwise.
void SetResourceModule(HMODULE module);
HMODULE ResourceModule();

}  // namespace tk
